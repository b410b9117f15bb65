// The table of record formats and its lookups.
#include "records/record_format.h"

#include "records/ai_shogi.h"
#include "records/akafuji.h"
#include "records/amano.h"
#include "records/csa.h"
#include "records/eisei.h"
#include "records/fuku.h"
#include "records/hshogi.h"
#include "records/jkf.h"
#include "records/kanna.h"
#include "records/kaya.h"
#include "records/ki2.h"
#include "records/kif.h"
#include "records/kitaihei.h"
#include "records/maruyama.h"
#include "records/morita.h"
#include "records/nazoteki.h"
#include "records/om1.h"
#include "records/otsuki.h"
#include "records/palm.h"
#include "records/record_text.h"
#include "records/s1_1996.h"
#include "records/s1_log.h"
#include "records/sekita.h"
#include "records/shokidoki.h"
#include "records/shotest.h"
#include "records/super_shogi.h"
#include "records/usi_text.h"

namespace shogi {
namespace {

int FormatKifBytes(const GameRecord& record, bool store_times, std::string& bytes,
                   std::string& /*message*/) {
  bytes = FormatKif(record, store_times);
  return 0;
}

int FormatMoritaBytes(const GameRecord& record, bool store_times, std::string& bytes,
                      std::string& /*message*/) {
  bytes = FormatMorita(record, store_times);
  return 0;
}

int FormatEiseiBytes(const GameRecord& record, bool store_times, std::string& bytes,
                     std::string& /*message*/) {
  bytes = FormatEisei(record, store_times);
  return 0;
}

int ListAkafujiPath(const std::string& path, std::string& header, std::vector<std::string>& rows,
                    std::string& message) {
  return ListAkafuji(path, header, rows, message);
}

int ReadAkafujiPath(const std::string& path, int number, GameRecord& record, std::string& message) {
  return ReadAkafuji(path, number, record, message);
}

constexpr RecordCollection kAkafujiCollection = {
    kAkafujiListTitle, ListAkafujiPath, ReadAkafujiPath, nullptr, nullptr, nullptr, true};
int FormatKayaBytes(const GameRecord& record, bool /*store_times*/, std::string& bytes,
                    std::string& message) {
  return FormatKaya(record, bytes, message);
}

constexpr RecordCollection kKayaCollection = {
    kKayaListTitle,       ListKayaRecords, ReadKayaRecord, HasKayaFirstLine,
    kKayaNotKayaQuestion, WriteKaya,       false};

int FormatKifNotes(const GameRecord& record, const RecordTree& tree, bool store_times,
                   std::string& bytes, std::string& /*message*/) {
  bytes = FormatKif(record, tree, store_times);
  return 0;
}

int FormatKi2Notes(const GameRecord& record, const RecordTree& tree, bool /*store_times*/,
                   std::string& bytes, std::string& /*message*/) {
  bytes = FormatKi2(record, tree);
  return 0;
}

int FormatKi2Bytes(const GameRecord& record, bool store_times, std::string& bytes,
                   std::string& message) {
  return FormatKi2Notes(record, RecordTree{}, store_times, bytes, message);
}

int WriteKi2(const std::string& path, const GameRecord& record, bool /*store_times*/,
             std::string& message) {
  return WriteRecordFile(path, FormatKi2(record, RecordTree{}), message);
}

int FormatJkfNotes(const GameRecord& record, const RecordTree& tree, bool store_times,
                   std::string& bytes, std::string& /*message*/) {
  bytes = FormatJkf(record, tree, store_times);
  return 0;
}

int FormatJkfBytes(const GameRecord& record, bool store_times, std::string& bytes,
                   std::string& message) {
  return FormatJkfNotes(record, RecordTree{}, store_times, bytes, message);
}

constexpr RecordNotes kKifNotes = {ReadKif, ReadKifUrl, FormatKifNotes, true};
constexpr RecordNotes kKi2Notes = {ReadKi2, nullptr, FormatKi2Notes, true};
constexpr RecordNotes kCsaNotes = {ReadCsa, ReadCsaUrl, FormatCsa, false};
constexpr RecordNotes kJkfNotes = {ReadJkf, ReadJkf, FormatJkfNotes, true};

// The foreign formats' readers keep 500 moves unless their own limit is lower.
constexpr int kForeignMoveLimit = 500;
// The readers of KI2-like moves keep 256, as the KI2 reader does.
constexpr int kKi2LikeMoveLimit = 256;

using F = RecordFormat;
// clang-format off
constexpr RecordFormatRow kFormats[] = {
//  format          tool       list text                 open   save   ext    moves              read     stream   URL         write     bytes  collection
  {F::kMorita,      "morita",  "森田将棋・Ostel",         true,  true,  "",    kMoritaMoveLimit,  ReadMorita, ReadMorita, nullptr, WriteMorita, FormatMoritaBytes, nullptr, nullptr, ""},
  {F::kKif,         "kif",     "柿木将棋",                true,  true,  "kif", kKifMoveLimit,     ReadKif, ReadKif, ReadKifUrl, WriteKif, FormatKifBytes, nullptr, &kKifNotes, ""},
  {F::kKi2,         "ki2",     nullptr,                   false, false, "ki2", kKi2MoveLimit,     ReadKi2, ReadKi2, nullptr,    WriteKi2, FormatKi2Bytes, nullptr, &kKi2Notes, ""},
  {F::kEisei,       "eisei",   "永世名人",                true,  true,  "kif", kEiseiMoveLimit,   ReadEisei, ReadEisei, nullptr, WriteEisei, FormatEiseiBytes, nullptr, nullptr, ""},
  {F::kKaya,        "kaya",    "かや",                    true,  true,  "",    kKayaMoveLimit,    ReadKaya, ReadKaya, nullptr,   WriteKayaFile, FormatKayaBytes, &kKayaCollection, nullptr, ""},
  {F::kAkafuji,     "akafuji", "赤富士",                  true,  false, "sin", kAkafujiMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, &kAkafujiCollection, nullptr, ""},
  {F::kCsa,         "csa",     "ＣＳＡ",                  true,  true,  "csa", kCsaMoveLimit,     ReadCsa, ReadCsa, ReadCsaUrl, WriteCsa, FormatCsa,      nullptr, &kCsaNotes, ""},
  {F::kShotest,     "shotest", "Shotest,SPEAR,Shocky",    true,  false, "",    kForeignMoveLimit, ReadShotest, ReadShotest, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kS1Log,       "s1n",     "野下研(S1.n)",            true,  false, "",    kForeignMoveLimit, ReadS1Log, ReadS1Log, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kFuku,        "fuku",    "福将棋",                  true,  false, "",    kForeignMoveLimit, ReadFuku, ReadFuku, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kKitaihei,    "kitaihei", "棋太平（平手のみ）",      true,  false, "",    kKi2LikeMoveLimit,               ReadKitaihei, ReadKitaihei, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kMaruyama,    "maruyama", "丸山将棋（平手のみ）",    true,  false, "",    kForeignMoveLimit, ReadMaruyama, ReadMaruyama, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kOtsuki,      "otsuki",  "大槻将棋（平手のみ）",    true,  false, "",    kForeignMoveLimit, ReadOtsuki, ReadOtsuki, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kNazoteki,    "nazoteki", "謎的電棋（平手のみ）",    true,  false, "",    kKi2LikeMoveLimit,               ReadNazoteki, ReadNazoteki, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kShokidoki,   "shokidoki", "Shokidoki（平手のみ）",   true,  false, "",    kForeignMoveLimit, ReadShokidoki, ReadShokidoki, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kHShogi,      "hshogi",  "Ｈ将棋",                  true,  false, "",    kForeignMoveLimit, ReadHShogi, ReadHShogi, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kAmano,       "amano",   "天野将棋1994,1996",       true,  false, "",    kForeignMoveLimit, ReadAmano, ReadAmano, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kAiShogi,     "aishogi", "AI Shogi V.150",          true,  false, "",    kForeignMoveLimit, ReadAiShogi, ReadAiShogi, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kKanna,       "kanna",   "神無 無段",               true,  false, "",    kForeignMoveLimit, ReadKanna, ReadKanna, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kOm1,         "om1",     "ＯＭ－１",                true,  false, "",    kForeignMoveLimit, ReadOm1, ReadOm1, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kS1Year1996,  "s1-1996", "S1(1996年度)",            true,  false, "",    kForeignMoveLimit, ReadS1Year1996, ReadS1Year1996, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kSuperShogi,  "super",   "スーパー将棋(1996年度)",  true,  false, "",    kForeignMoveLimit, ReadSuperShogi, ReadSuperShogi, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kSekita,      "sekita",  "関田将棋(1994年度)",      true,  false, "",    kForeignMoveLimit, ReadSekita, ReadSekita, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kSfen,        "sfen",    nullptr,                   false, false, "sfen", kUsiMoveLimit,    ReadUsiText, ReadUsiText, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kUsi,         "usi",     nullptr,                   false, false, "sfen", kUsiMoveLimit,    ReadUsiText, ReadUsiText, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
  {F::kPalm,        "palm",    nullptr,                   false, false, "PDB", kBlockSlots,       ReadPalmFile, ReadPalmStream, nullptr, WritePalmFile, nullptr, nullptr, nullptr, ""},
  {F::kJkf,         "jkf",     "JSON棋譜(JKF)",           true,  true,  "jkf", kJkfMoveLimit,     ReadJkf, ReadJkf, ReadJkf,    WriteJkf, FormatJkfBytes, nullptr, &kJkfNotes, "json"},
};
// clang-format on

constexpr bool RowsFollowTheEnum() {
  for (std::size_t i = 0; i < std::size(kFormats); ++i)
    if (static_cast<std::size_t>(kFormats[i].Format) != i) return false;
  return true;
}
static_assert(RowsFollowTheEnum());

template <bool RecordFormatRow::*InList>
constexpr int ListSize() {
  int n = 0;
  for (const RecordFormatRow& row : kFormats) n += row.*InList ? 1 : 0;
  return n;
}
// The lists of the dialogs, then JKF at the end of each.
static_assert(ListSize<&RecordFormatRow::InOpenList>() == 23);
static_assert(ListSize<&RecordFormatRow::InSaveList>() == 6);

template <bool RecordFormatRow::*InList>
const RecordFormatRow* ListRow(int index) {
  if (index < 0) return nullptr;
  for (const RecordFormatRow& row : kFormats) {
    if (!(row.*InList)) continue;
    if (index-- == 0) return &row;
  }
  return nullptr;
}

}  // namespace

std::span<const RecordFormatRow> RecordFormats() {
  return kFormats;
}

const RecordFormatRow& RecordFormatRowOf(RecordFormat format) {
  return kFormats[static_cast<int>(format)];
}

const RecordFormatRow* FindRecordFormat(std::string_view name) {
  for (const RecordFormatRow& row : kFormats) {
    if (row.ToolName != nullptr && name == row.ToolName) return &row;
  }
  return nullptr;
}

const RecordFormatRow* OpenListRow(int index) {
  return ListRow<&RecordFormatRow::InOpenList>(index);
}

const RecordFormatRow* SaveListRow(int index) {
  return ListRow<&RecordFormatRow::InSaveList>(index);
}

int OpenListSize() {
  return ListSize<&RecordFormatRow::InOpenList>();
}

int SaveListSize() {
  return ListSize<&RecordFormatRow::InSaveList>();
}

int OpenListIndexForPath(const std::string& path) {
  const std::size_t name = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (name != std::string::npos && dot < name)) return -1;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  for (int i = 0; i < OpenListSize(); ++i) {
    if (HasExtension(*OpenListRow(i), extension)) return i;
  }
  return -1;
}

bool HasExtension(const RecordFormatRow& row, std::string_view extension) {
  return !extension.empty() && (extension == row.Extension || extension == row.OtherExtension);
}

int ReadRecord(RecordFormat format, const std::string& path, GameRecord& record,
               std::string& message) {
  const RecordFormatRow& row = RecordFormatRowOf(format);
  if (row.Read == nullptr) {
    message = kMessageUnsupportedFormat;
    return 1;
  }
  return row.Read(path, record, message);
}

int WriteRecord(RecordFormat format, const std::string& path, const GameRecord& record,
                bool store_times, std::string& message) {
  const RecordFormatRow& row = RecordFormatRowOf(format);
  if (row.Write == nullptr) {
    message = kMessageUnsupportedFormat;
    return 1;
  }
  return row.Write(path, record, store_times, message);
}

int ReadRecord(RecordFormat format, const std::string& path, GameRecord& record, RecordTree& tree,
               std::string& message) {
  const RecordFormatRow& row = RecordFormatRowOf(format);
  if (row.Notes == nullptr) {
    const int failed = ReadRecord(format, path, record, message);
    if (failed == 0) tree.Clear();
    return failed;
  }
  FileByteStream file;
  if (OpenRecordFile(path, file, message) != 0) return 1;
  return row.Notes->Read(file, NameSaysUtf8(path), record, tree, message);
}

int WriteRecord(RecordFormat format, const std::string& path, const GameRecord& record,
                const RecordTree& tree, bool store_times, std::string& message) {
  const RecordFormatRow& row = RecordFormatRowOf(format);
  if (row.Notes == nullptr || row.Notes->Format == nullptr)
    return WriteRecord(format, path, record, store_times, message);
  std::string bytes;
  if (row.Notes->Format(record, tree, store_times, bytes, message) != 0) return 1;
  return WriteRecordFile(path, bytes, message);
}

}  // namespace shogi
