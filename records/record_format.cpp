// The table of record formats and its lookups.
#include "records/record_format.h"

#include "records/csa.h"
#include "records/ki2.h"
#include "records/kaya.h"
#include "records/kif.h"
#include "records/palm.h"

namespace shogi {
namespace {

int FormatKifBytes(const GameRecord& record, bool store_times, std::string& bytes,
                   std::string& /*message*/) {
  bytes = FormatKif(record, store_times);
  return 0;
}

int FormatCsaBytes(const GameRecord& record, bool store_times, std::string& bytes,
                   std::string& message) {
  return FormatCsa(record, store_times, bytes, message) ? 0 : 1;
}

int FormatKayaBytes(const GameRecord& record, bool /*store_times*/, std::string& bytes,
                    std::string& message) {
  return FormatKaya(record, bytes, message) ? 0 : 1;
}

constexpr RecordCollection kKayaCollection = {kKayaListTitle, ListKayaRecords, ReadKayaRecord};

// The foreign formats' readers keep 500 moves unless their own limit is lower.
constexpr int kForeignMoveLimit = 500;

using F = RecordFormat;
// clang-format off
constexpr RecordFormatRow kFormats[] = {
//  format          tool       list text                 open   save   ext    moves              read     stream   URL         write     bytes  collection
  {F::kMorita,      "morita",  "森田将棋・Ostel",         true,  true,  "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kKif,         "kif",     "柿木将棋",                true,  true,  "kif", kKifMoveLimit,     ReadKif, ReadKif, ReadKifUrl, WriteKif, FormatKifBytes, nullptr},
  {F::kKi2,         "ki2",     nullptr,                   false, false, "ki2", kKi2MoveLimit,     ReadKi2, ReadKi2, nullptr,    nullptr,  nullptr, nullptr},
  {F::kEisei,       "eisei",   "永世名人",                true,  true,  "kif", kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kKaya,        "kaya",    "かや",                    true,  true,  "",    kKayaMoveLimit,    ReadKaya, ReadKaya, nullptr,   WriteKayaFile, FormatKayaBytes, &kKayaCollection},
  {F::kAkafuji,     "akafuji", "赤富士",                  true,  false, "sin", 256,               nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kCsa,         "csa",     "ＣＳＡ",                  true,  true,  "csa", kCsaMoveLimit,     ReadCsa, ReadCsa, ReadCsaUrl, WriteCsa, FormatCsaBytes, nullptr},
  {F::kShotest,     nullptr,   "Shotest,SPEAR,Shocky",    true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kS1Log,       nullptr,   "野下研(S1.n)",            true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kFuku,        nullptr,   "福将棋",                  true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kKitaihei,    nullptr,   "棋太平（平手のみ）",      true,  false, "",    256,               nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kMaruyama,    nullptr,   "丸山将棋（平手のみ）",    true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kOtsuki,      nullptr,   "大槻将棋（平手のみ）",    true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kNazoteki,    nullptr,   "謎的電棋（平手のみ）",    true,  false, "",    256,               nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kShokidoki,   nullptr,   "Shokidoki（平手のみ）",   true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kHShogi,      nullptr,   "Ｈ将棋",                  true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kAmano,       nullptr,   "天野将棋1994,1996",       true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kAiShogi,     nullptr,   "AI Shogi V.150",          true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kKanna,       nullptr,   "神無 無段",               true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kOm1,         nullptr,   "ＯＭ－１",                true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kS1Year1996,  nullptr,   "S1(1996年度)",            true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kSuperShogi,  nullptr,   "スーパー将棋(1996年度)",  true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kSekita,      nullptr,   "関田将棋(1994年度)",      true,  false, "",    kForeignMoveLimit, nullptr, nullptr, nullptr,    nullptr,  nullptr, nullptr},
  {F::kPalm,        "palm",    nullptr,                   false, false, "PDB", kBlockSlots,       ReadPalmFile, ReadPalmStream, nullptr, WritePalmFile, nullptr, nullptr},
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
static_assert(ListSize<&RecordFormatRow::InOpenList>() == 22);
static_assert(ListSize<&RecordFormatRow::InSaveList>() == 5);

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

}  // namespace shogi
