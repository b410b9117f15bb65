// Fuzz target of the foreign record readers. The first byte picks the reader, so that one
// target shares the fuzzing time of the build among all of them and one corpus covers
// them; the rest of the input is the file. A record read must pass the common checks and,
// for the formats that are also written, survive a round trip through their own writer.
//
// The Akafuji database is laid out from the input: after the picking byte, one byte picks
// the game, then 1 024 bytes are move block 1, 3 x 256 bytes the beginnings of the three
// string tables, and the rest the index.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "records/akafuji.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {

using namespace shogi;

void CheckWriteBack(RecordFormat format, const GameRecord& record) {
  const GameRecord& again = fuzz::CheckRoundTrip(format, record);
  SHOGI_FUZZ_CHECK(again.ResultCode == record.ResultCode);
  for (int i = 0; i < kMaxMoves; ++i) SHOGI_FUZZ_CHECK(again.MoveTimes[i] == record.MoveTimes[i]);
}

void CheckMorita(const GameRecord& record) {
  CheckWriteBack(RecordFormat::kMorita, record);
}

void CheckEisei(const GameRecord& record) {
  CheckWriteBack(RecordFormat::kEisei, record);
}

void CheckAkafuji(std::string_view input) {
  constexpr std::size_t kImageBytes = 538624, kBlock = 1024, kTablePart = 256;
  constexpr std::size_t kTables[3] = {512000, 516096, 523264};
  constexpr std::size_t kIndex = 530432, kIndexBytes = 8192;
  static std::string image(kImageBytes, '\0');
  std::memset(image.data(), 0, image.size());
  if (input.empty()) return;
  const int number = static_cast<unsigned char>(input[0]);
  input.remove_prefix(1);
  auto take = [&input](std::size_t offset, std::size_t size) {
    const std::size_t n = std::min(size, input.size());
    std::memcpy(image.data() + offset, input.data(), n);
    input.remove_prefix(n);
  };
  take(0, kBlock);
  for (std::size_t table : kTables) take(table, kTablePart);
  take(kIndex, kIndexBytes);

  MemoryAkafujiSource source(image);
  std::string header, message;
  std::vector<std::string> rows;
  if (ListAkafuji(source, header, rows, message) == 0) SHOGI_FUZZ_CHECK(!rows.empty());
  static GameRecord record;
  record = fuzz::Sentinel();
  message.clear();
  const int rc = ReadAkafuji(source, number, record, message);
  fuzz::CheckRead(rc, message, record, kAkafujiMoveLimit, RecordFormat::kAkafuji, true);
  if (rc != 0) return;
  SHOGI_FUZZ_CHECK(number >= 1 && number <= static_cast<int>(rows.size()));
  SHOGI_FUZZ_CHECK(fuzz::IsSaneRecord(record));
  const int again = fuzz::CheckRoundTrip(RecordFormat::kKif, record).ResultCode;
  SHOGI_FUZZ_CHECK(again == record.ResultCode || fuzz::SideToMoveWon(record));
}

struct Target {
  RecordFormat format;
  fuzz::FormatCheck check;
  bool header_fields;
};
// The readers by the picking byte (modulo their count, Akafuji's being 0), new readers
// added at the end so that the saved inputs keep their reader.
const Target kTargets[] = {
    {RecordFormat::kMorita, CheckMorita, true}, {RecordFormat::kEisei, CheckEisei, false},
    {RecordFormat::kShotest, nullptr, false},   {RecordFormat::kS1Log, nullptr, false},
    {RecordFormat::kFuku, nullptr, false},      {RecordFormat::kKitaihei, nullptr, false},
    {RecordFormat::kMaruyama, nullptr, false},  {RecordFormat::kNazoteki, nullptr, false},
};
constexpr std::size_t kChoices = std::size(kTargets) + 1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t choice = data[0] % kChoices;
  if (choice == 0) {
    CheckAkafuji(file);
  } else {
    const Target& t = kTargets[choice - 1];
    fuzz::CheckFormat(t.format, file, t.check, t.header_fields);
  }
  return 0;
}
