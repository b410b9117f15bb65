// The Kisen and Tarvel descriptors, database paths and the per-database state.
#include "database_files/database_format.h"

#include <cstddef>
#include <cstring>

#include "database_files/kisen.h"
#include "database_files/tarvel.h"

namespace shogi {
namespace {

// A layout struct copied from or to the bytes of the file; the structs have no padding and
// byte alignment, so the copy is the layout.
template <class Layout>
Layout FromBytes(const std::uint8_t* bytes) {
  Layout layout;
  std::memcpy(&layout, bytes, sizeof layout);
  return layout;
}
template <class Layout>
void ToBytes(const Layout& layout, std::uint8_t* bytes) {
  std::memcpy(bytes, &layout, sizeof layout);
}

std::uint32_t KisenCount(const std::uint8_t* header, std::uint64_t index_bytes) {
  return KisenGameCount(FromBytes<KisenHeader>(header), index_bytes);
}
std::uint32_t TarvelCount(const std::uint8_t* header, std::uint64_t) {
  return TarvelGameCount(FromBytes<TarvelHeader>(header));
}

IndexFields ReadKisen(const std::uint8_t* record, const DatabaseNames& names) {
  return KisenIndexFields(FromBytes<KisenIndexRecord>(record), names);
}
IndexFields ReadTarvel(const std::uint8_t* record, const DatabaseNames& names) {
  return TarvelIndexFields(FromBytes<TarvelIndexRecord>(record), names);
}

void WriteKisen(const GameRecord& game, int handicap_code, int result, const DatabaseNames& names,
                std::uint8_t* record) {
  auto index = FromBytes<KisenIndexRecord>(record);
  WriteKisenIndex(game, handicap_code, result, names, index);
  ToBytes(index, record);
}
void WriteTarvel(const GameRecord& game, int handicap_code, int result, const DatabaseNames& names,
                 std::uint8_t* record) {
  auto index = FromBytes<TarvelIndexRecord>(record);
  WriteTarvelIndex(game, handicap_code, result, names, index);
  ToBytes(index, record);
}

int DecodeKisen(const std::uint8_t* block, Handicap start, MoveCode (&moves)[kMaxMoves]) {
  return DecodeKisenBlock(FromBytes<KisenMoveBlock>(block), start, moves);
}
int DecodeTarvel(const std::uint8_t* block, Handicap start, MoveCode (&moves)[kMaxMoves]) {
  return DecodeTarvelBlock(FromBytes<TarvelMoveBlock>(block), start, moves);
}

int EncodeKisen(const MoveCode (&moves)[kMaxMoves], Handicap start, int, std::uint8_t* block) {
  KisenMoveBlock b;
  const int used = EncodeKisenBlock(moves, start, b);
  ToBytes(b, block);
  return used;
}
int EncodeTarvel(const MoveCode (&moves)[kMaxMoves], Handicap start, int handicap_code,
                 std::uint8_t* block) {
  TarvelMoveBlock b;
  const int used = EncodeTarvelBlock(moves, start, handicap_code, b);
  ToBytes(b, block);
  return used;
}

SearchKeys KisenKeys(const std::uint8_t* record) {
  const auto index = FromBytes<KisenIndexRecord>(record);
  SearchKeys keys;
  keys.PlayerNumber[0] = index.FirstPlayer.Get();
  keys.PlayerNumber[1] = index.SecondPlayer.Get();
  ReadSharedKeys(index, keys);
  return keys;
}
SearchKeys TarvelKeys(const std::uint8_t* record) {
  const auto index = FromBytes<TarvelIndexRecord>(record);
  SearchKeys keys;
  // The views must point into the caller's bytes, not into the copy.
  keys.PlayerName[0] =
      TarvelNameOf(reinterpret_cast<const char*>(record + offsetof(TarvelIndexRecord, FirstName)));
  keys.PlayerName[1] =
      TarvelNameOf(reinterpret_cast<const char*>(record + offsetof(TarvelIndexRecord, SecondName)));
  ReadSharedKeys(index, keys);
  return keys;
}

static_assert(sizeof(KisenHeader) == sizeof(KisenIndexRecord));
static_assert(sizeof(TarvelHeader) == sizeof(TarvelIndexRecord));
static_assert(sizeof(TarvelIndexRecord) == kMaxIndexRecordBytes);
static_assert(sizeof(KisenMoveBlock) == kMoveBlockBytes &&
              sizeof(TarvelMoveBlock) == kMoveBlockBytes);

constexpr char ToLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithExtension(std::string_view path, std::string_view upper) {
  if (path.size() < upper.size() + 1 || path[path.size() - upper.size() - 1] != '.') return false;
  const std::string_view tail = path.substr(path.size() - upper.size());
  for (std::size_t i = 0; i < upper.size(); ++i) {
    if (ToLower(tail[i]) != ToLower(upper[i])) return false;
  }
  return true;
}

}  // namespace

const DatabaseFormat kKisenFormat = {
    DatabaseKind::kKisen,
    "棋泉",
    "棋泉ファイル名設定",
    "IDX",
    "KIF",
    "KENSAKU.DAT",
    sizeof(KisenIndexRecord),
    HandicapScheme::kKisen,
    NameList::kKisenPlayers,
    NameList::kKisenTournaments,
    NameList::kKisenOpenings,
    true,
    false,
    KisenCount,
    ReadKisen,
    WriteKisen,
    DecodeKisen,
    EncodeKisen,
    "棋泉ファイルが存在しません。",
    "警告：同一棋譜ファイルを指定すると棋譜ファイルが壊れます。",
    false,
    true,
    {{offsetof(KisenIndexRecord, FirstPlayer), offsetof(KisenIndexRecord, SecondPlayer)}, 999},
    {{offsetof(KisenIndexRecord, Tournament), -1}, 99},
    {{offsetof(KisenIndexRecord, Opening), -1}, 99},
    {-1, -1},
    KisenKeys,
    FindKisenPosition,
    ReplayKisenQuickly,
};

const DatabaseFormat kTarvelFormat = {
    DatabaseKind::kTarvel,
    "Tarvel",
    "Tarvelファイル名設定",
    "MIX",
    "MKF",
    "検索.DAT",
    sizeof(TarvelIndexRecord),
    HandicapScheme::kTarvel,
    NameList::kTarvelPlayers,
    NameList::kTarvelTournaments,
    NameList::kTarvelOpenings,
    false,
    true,
    TarvelCount,
    ReadTarvel,
    WriteTarvel,
    DecodeTarvel,
    EncodeTarvel,
    "Tarvelファイルが存在しません。",
    "警告：同一棋譜%s.MIXを指定すると、棋譜が壊れます。",
    true,
    false,
    {{-1, -1}, 0},
    {{offsetof(TarvelIndexRecord, Tournament), -1}, 99},
    {{offsetof(TarvelIndexRecord, Opening), -1}, 99},
    {offsetof(TarvelIndexRecord, FirstName), offsetof(TarvelIndexRecord, SecondName)},
    TarvelKeys,
    FindTarvelPosition,
    ReplayTarvelQuickly,
};

const DatabaseFormat& FormatOf(DatabaseKind kind) {
  return kind == DatabaseKind::kKisen ? kKisenFormat : kTarvelFormat;
}

const DatabaseFormat* FormatOfIndexPath(std::string_view path) {
  for (const DatabaseFormat* format : {&kKisenFormat, &kTarvelFormat}) {
    if (EndsWithExtension(path, format->IndexExtension)) return format;
  }
  return nullptr;
}

void LoadDatabaseNames(const DatabaseFormat& format, const std::string& folder,
                       DatabaseNames& names) {
  names = DatabaseNames{};
  const bool kisen = format.Kind == DatabaseKind::kKisen;
  // The Tarvel database keeps its players' names in the records.
  if (kisen) (void)ReadNameEntries(folder, format.PlayerList, names.Players);
  (void)ReadNameEntries(folder, format.TournamentList, names.Tournaments);
  (void)ReadNameEntries(folder, format.OpeningList, names.Openings);
  if (kisen) names.PlayerTable = NameTable(names.Players, kKisenPlayerTable);
  names.TournamentTable =
      NameTable(names.Tournaments, kisen ? kKisenTournamentTable : kTarvelTournamentTable);
  names.OpeningTable = NameTable(names.Openings, kisen ? kKisenOpeningTable : kTarvelOpeningTable);
}

std::string DatabasePaths::WithExtension(std::string_view extension) const {
  std::string path = Base + ".";
  for (char c : extension) path += LowerCase ? ToLower(c) : c;
  return path;
}

int DatabasePathsOf(std::string_view chosen, DatabasePaths& paths, std::string& message) {
  paths = DatabasePaths{};
  constexpr std::size_t kExtensionBytes = 4;  // ".IDX"
  if (chosen.size() <= kExtensionBytes || chosen[chosen.size() - kExtensionBytes] != '.') {
    message = kMessageBadFileName;
    return 1;
  }
  const std::string_view extension = chosen.substr(chosen.size() - kExtensionBytes + 1);
  bool lower = false, upper = false;
  for (char c : extension) {
    lower = lower || (c >= 'a' && c <= 'z');
    upper = upper || (c >= 'A' && c <= 'Z');
  }
  paths.Base = std::string(chosen.substr(0, chosen.size() - kExtensionBytes));
  paths.LowerCase = lower && !upper;
  return 0;
}

int ChooseDatabase(std::string_view chosen, DatabaseSelection& selection, std::string& message) {
  selection.CurrentRecordNo = 0;
  selection.SearchCount = 0;
  return DatabasePathsOf(chosen, selection.Paths, message);
}

void NoteRegistered(DatabaseSelection& selection, int number) {
  selection.CurrentRecordNo = number;
  selection.SearchCount = 0;
}

}  // namespace shogi
