// The conversions between the two database formats and the lists written after them.
#include "database/conversion.h"

#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "database/stored_game.h"
#include "database_files/kisen.h"
#include "database_files/tarvel.h"
#include "platform/buffered_replacing_file.h"
#include "platform/byte_stream.h"
#include "platform/file_path.h"
#include "platform/replacing_file.h"

namespace shogi {
namespace {

// Kisen registration and conversion keep tournament and opening numbers up to 30.
constexpr int kHighestKisenListNumber = 30;
constexpr int kHighestKisenPlayer = 999;
constexpr std::size_t kPlayerNameColumn = 6;

template <class Layout>
Layout LayoutOf(const std::uint8_t* bytes) {
  Layout layout;
  std::memcpy(&layout, bytes, sizeof layout);
  return layout;
}

// 棋泉->Tarvel: the players' names from the Kisen list; the other fields copied as they are.
void KisenToTarvelIndex(const std::uint8_t* from, const DatabaseNames& kisen_names,
                        int handicap_code, std::uint8_t* to) {
  const auto k = LayoutOf<KisenIndexRecord>(from);
  TarvelIndexRecord t{};
  SetTarvelName(t.FirstName, kisen_names.PlayerTable[k.FirstPlayer.Get()]);
  SetTarvelName(t.SecondName, kisen_names.PlayerTable[k.SecondPlayer.Get()]);
  t.GameNumber = k.GameNumber;
  t.Handicap.Set(handicap_code);
  t.Year = k.Year;
  t.Month = k.Month;
  t.Day = k.Day;
  t.Result = k.Result;
  t.Tournament = k.Tournament;
  t.Opening = k.Opening;
  std::memcpy(to, &t, sizeof t);
}

// Tarvel->棋泉: the players looked up in the Kisen list; tournament and opening numbers above
// 30 become 0, as the Kisen lists hold no more; the Tarvel handicap code is kept, also above 7.
void TarvelToKisenIndex(const std::uint8_t* from, const DatabaseNames& kisen_names,
                        int handicap_code, std::uint8_t* to) {
  const auto t = LayoutOf<TarvelIndexRecord>(from);
  static const DatabaseNames kNoNames;
  const IndexFields fields = TarvelIndexFields(t, kNoNames);
  KisenIndexRecord k{};
  k.FirstPlayer.Set(KisenNameLookup(kisen_names.Players, fields.FirstPlayer, kHighestKisenPlayer));
  k.SecondPlayer.Set(
      KisenNameLookup(kisen_names.Players, fields.SecondPlayer, kHighestKisenPlayer));
  k.Tournament.Set(t.Tournament.Get() > kHighestKisenListNumber ? 0 : t.Tournament.Get());
  k.GameNumber = t.GameNumber;
  k.Year = t.Year;
  k.Month = t.Month;
  k.Day = t.Day;
  k.Opening.Set(t.Opening.Get() > kHighestKisenListNumber ? 0 : t.Opening.Get());
  k.Result = t.Result;
  k.Handicap.Set(handicap_code);
  std::memcpy(to, &k, sizeof k);
}

// The bytes of a list file, bounded as the list reader bounds them; empty when it is not
// there.
std::string ListBytes(const std::string& path) {
  constexpr std::size_t kMaxListBytes = 16u << 20;
  std::string bytes;
  FileByteStream stream;
  if (!stream.Open(path)) return bytes;
  char buffer[4096];
  std::size_t n;
  while (bytes.size() < kMaxListBytes && (n = stream.Read(buffer, sizeof buffer)) > 0)
    bytes.append(buffer, n);
  return bytes;
}

// The new list's bytes from the Kisen list's.
std::string ConvertedListBytes(const ConvertedList& list, const std::string& folder) {
  std::string out;
  const std::string source = NameListPath(folder, list.Source);
  if (list.Target == NameList::kTarvelPlayers) {
    std::vector<std::string> lines;
    if (!ReadListLines(source, kListLineBytes, lines)) return out;
    for (const std::string& line : lines) {
      if (line.size() <= kPlayerNameColumn) continue;
      const std::string name = TrimRight(std::string_view(line).substr(kPlayerNameColumn));
      if (!name.empty()) out += name + "\r\n";
    }
    return out;
  }
  // Tournaments and openings: the lines themselves, line ends and all.
  const std::string bytes = ListBytes(source);
  const bool skip_plus = list.Target == NameList::kTarvelTournaments;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find('\n', at);
    end = end == std::string::npos ? bytes.size() : end + 1;
    if (!(skip_plus && bytes[at] == '+')) out.append(bytes, at, end - at);
    at = end;
  }
  return out;
}

}  // namespace

const DatabaseConversion kKisenToTarvel = {
    &kKisenFormat,        &kTarvelFormat, "棋泉->Tarvel", "棋泉->Tarvel・変換ファイル名の設定",
    kMessageKisenMissing, "棋泉",         true,           KisenToTarvelIndex};

const DatabaseConversion kTarvelToKisen = {
    &kTarvelFormat,        &kKisenFormat, "Tarvel->棋泉", "Tarvel->棋泉・変換ファイル名の設定",
    kMessageTarvelMissing, "Tarvel",      false,          TarvelToKisenIndex};

const DatabaseConversion& ConversionFrom(const DatabaseFormat& format) {
  return format.Kind == kKisenToTarvel.From->Kind ? kKisenToTarvel : kTarvelToKisen;
}

int OpenConversionSource(const DatabaseConversion& conversion, const DatabasePaths& paths,
                         GameDatabase& source, std::string& message) {
  return OpenStoredDatabase(*conversion.From, paths, conversion.MissingMessage, source, message);
}

bool ConversionTargetExists(const DatabaseConversion& conversion, const DatabasePaths& paths) {
  return FileExists(paths.Index(*conversion.To));
}

int ConvertDatabase(const DatabaseConversion& conversion, const GameDatabase& source,
                    const DatabasePaths& paths, const std::string& folder, int& games,
                    const LoopProgress& progress, std::string& message) {
  games = 0;
  DatabaseNames kisen_names;
  LoadDatabaseNames(kKisenFormat, folder, kisen_names);
  const DatabaseFormat& to = *conversion.To;
  BufferedReplacingFile index, moves;
  std::uint8_t header[kMaxIndexRecordBytes] = {};
  Le32 count;
  count.Set(static_cast<std::uint32_t>(source.Count()));
  std::memcpy(header, count.Bytes, sizeof count.Bytes);
  auto bytes = [](const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
  };
  if (!index.Open(paths.Index(to)) || !moves.Open(paths.Moves(to)) ||
      !index.Write(bytes(header, to.IndexRecordBytes))) {
    message = kMessageCannotCreate;
    return 1;
  }
  StoredGame game;
  for (int n = 1; n <= source.Count(); ++n) {
    if (StopRequested(progress, n - 1, source.Count())) {
      message = kMessageStopped;
      return 1;
    }
    if (!ReadStoredGame(source, n, game)) {
      message = kMessageMalformed;
      return 1;
    }
    const int code = HandicapNumber(game.Start, HandicapScheme::kTarvel);
    std::uint8_t record[kMaxIndexRecordBytes] = {}, block[kMoveBlockBytes];
    conversion.ConvertIndex(game.Index, kisen_names, code, record);
    to.EncodeBlock(game.Moves, HandicapOfStoredCode(to.Scheme, code), code, block);
    if (!index.Write(bytes(record, to.IndexRecordBytes)) ||
        !moves.Write(bytes(block, kMoveBlockBytes))) {
      message = kMessageCannotCreate;
      return 1;
    }
  }
  // The move file first: the index is what makes the pair a database.
  if (!moves.Commit() || !index.Commit()) {
    message = kMessageCannotCreate;
    return 1;
  }
  games = source.Count();
  return 0;
}

int WriteConvertedList(const ConvertedList& list, const std::string& folder, std::string& message) {
  if (!WriteFileReplacing(NameListPath(folder, list.Target), ConvertedListBytes(list, folder))) {
    message = kMessageCannotCreate;
    return 1;
  }
  return 0;
}

}  // namespace shogi
