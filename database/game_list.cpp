// The list of a database's games: entries, paging, lines and loading a listed game.
#include "database/game_list.h"

#include <algorithm>
#include <cstdio>

#include "database/game_database.h"
#include "database/maintenance.h"
#include "database/search_list.h"
#include "platform/cp932.h"
#include "records/ki2_notation.h"

namespace shogi {
namespace {

constexpr const char* kColumnHeaders[kListColumnCount] = {"棋戦　", "戦型　", "指し手", "局　　",
                                                          "勝敗　", "手数　", "手合い", "指し手２"};

// The 勝敗 texts by result code, for an even game and for a handicap game (UTF-8).
constexpr const char* kResultTexts[kResultCodeCount][2] = {
    {"勝敗未登録", "勝敗未登録"},
    {"先手勝ち", "下手勝ち"},
    {"後手勝ち", "上手勝ち"},
    {"千日手", "千日手"},
    {"持将棋", "持将棋"},
    {"以下先手勝ち", "以下下手勝ち"},
    {"以下後手勝ち", "以下上手勝ち"},
    {"以下千日手", "以下千日手"},
    {"以下持将棋", "以下持将棋"},
};

// `text` padded with spaces to `width` bytes, as "%-*s" pads it (a longer text stays whole).
std::string PaddedRight(std::string_view text, std::size_t width) {
  std::string out(text);
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

std::string Formatted(const char* format, int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// The KI2 text of the move at `ply` with the mover's mark, 16 bytes; blanks when the game
// has no move there.
std::string MoveCell(const GameRecord& game, int ply) {
  if (ply < game.StartIndex || ply >= RecordEndPly(game))
    return std::string(kKi2MoveFieldWidth, ' ');
  static const std::string kMarks[2] = {Cp932("▲"), Cp932("△")};
  return FormatKi2Move(game, ply, kMarks[SideOfPly(ply)]);
}

// The cell of `column` for a game (cp932).
std::string Cell(int column, const IndexFields& fields, const GameRecord& game, Handicap start,
                 int shown_ply) {
  switch (column) {
    case kColumnTournament:
      return fields.Tournament;
    case kColumnOpening:
      return fields.Opening;
    case kColumnMove:
      return MoveCell(game, shown_ply);
    case kColumnGameNumber:
      return fields.GameNumber == 0 ? "  " : Formatted("%2d", fields.GameNumber);
    case kColumnResult:
      // A code outside 0..8 (9: a game not finished) shows a blank cell.
      return Cp932(StoredResultText(fields.Result, game.StartIndex == 1));
    case kColumnMoveCount:
      return Formatted("%4d", RecordMoveCount(game));
    case kColumnHandicap:
      return Cp932(HandicapRowOf(start).RecordName);
    case kColumnNextMove:
      return MoveCell(game, shown_ply + 1);
  }
  return "";
}

}  // namespace

const char* StoredResultText(int result, bool handicap) {
  if (result < 0 || result >= kResultCodeCount) return "";
  return kResultTexts[result][handicap ? 1 : 0];
}

const char* ListColumnHeader(int column) {
  return column >= 0 && column < kListColumnCount ? kColumnHeaders[column] : "";
}

void AdvanceListColumn(ListSettings& settings, int which) {
  int& column = settings.Columns[which];
  column = (column + 1) % kListColumnCount;
}

int ShownPly(const GameRecord& game, const PositionPattern& searched) {
  const int ply = SearchedPly(game, searched);
  return ply >= 0 ? ply : game.StartIndex;
}

int GameList::Open(const DatabaseFormat& format, const std::string& folder,
                   DatabaseSelection& selection, std::string& message) {
  format_ = &format;
  paths_ = selection.Paths;
  top_ = 0;
  list_path_ = SearchListPath(format, folder);
  if (selection.SearchCount <= 0 || !CountSearchList(list_path_, selection.SearchCount, count_) ||
      count_ == 0) {
    count_ = 0;
    int count = 0;
    if (DatabaseGameCount(format, paths_, count, message) != 0) return 1;
    if (count <= 0) {
      message = kMessageNoData;
      return 1;
    }
    if (WriteWholeSearchList(list_path_, count, message) != 0) return 1;
    selection.SearchCount = count_ = count;
  }
  LoadDatabaseNames(format, folder, names_);
  count_at_open_ = selection.SearchCount;
  return 0;
}

int GameList::ScrollMax() const {
  return std::max(Count() - kListPageLines, 0);
}

bool GameList::Scroll(ScrollAction action, int thumb) {
  int top = top_;
  switch (action) {
    case ScrollAction::kArrowUp:
      top = std::max(top_ - kListPageLines, 0);
      break;
    case ScrollAction::kArrowDown:
      top = Count() - top_ < 2 * kListPageLines ? ScrollMax() : top_ + kListPageLines;
      break;
    case ScrollAction::kThumbReleased:
      top = std::clamp(thumb, 0, ScrollMax());
      break;
    case ScrollAction::kOther:
      break;
  }
  const bool changed = top != top_;
  top_ = top;
  return changed;
}

std::string GameList::HeaderLine(const ListSettings& settings) const {
  return Cp932(" 番号     先手         後手       対局日  ") +
         PaddedRight(Cp932(ListColumnHeader(settings.Columns[0])), 8) + Cp932(" 　　　　") +
         Cp932(ListColumnHeader(settings.Columns[1]));
}

int GameList::Page(const ListSettings& settings, const PositionPattern& searched,
                   std::vector<Line>& lines, std::string& message) const {
  lines.clear();
  GameDatabase db;
  if (db.Open(*format_, paths_, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) !=
      0)
    return 1;
  // The page's entries lie together in the file, in either order.
  const bool reverse = settings.ReverseOf(*format_);
  const int first = reverse ? std::max(Count() - top_ - kListPageLines, 0) : top_;
  const int shown = std::min(kListPageLines, Count() - top_);
  std::int32_t entries[kListPageLines];
  SearchListReader list;
  if (shown > 0 && (!list.Open(list_path_) || !list.Read(first, shown, entries))) {
    message = kMessageMalformed;
    return 1;
  }
  for (int i = 0; i < shown; ++i) {
    const int n = entries[reverse ? shown - 1 - i : i];
    std::uint8_t index[kMaxIndexRecordBytes], block[kMoveBlockBytes];
    if (!db.ReadIndex(n, index) || !db.ReadBlock(n, block)) continue;
    const IndexFields fields = format_->ReadIndex(index, names_);
    GameRecord game;
    const Handicap start = ApplyIndexFields(fields, format_->Scheme, game);
    format_->DecodeBlock(block, start, game.MoveList);
    const int shown_ply = ShownPly(game, searched);
    char head[64];
    std::snprintf(head, sizeof head, "%6d ", n);
    char date[32];
    std::snprintf(date, sizeof date, " %02d/%2d/%2d ", fields.Year % 100, fields.Month, fields.Day);
    Line line;
    line.RecordNo = n;
    line.Text = head + PaddedRight(fields.FirstPlayer, 12) + " " +
                PaddedRight(fields.SecondPlayer, 12) + date +
                PaddedRight(Cell(settings.Columns[0], fields, game, start, shown_ply), 16) + " " +
                Cell(settings.Columns[1], fields, game, start, shown_ply);
    lines.push_back(std::move(line));
  }
  return 0;
}

std::string GameList::Close(DatabaseSelection& selection) const {
  if (selection.SearchCount == count_at_open_) return "";
  selection.CurrentRecordNo = 0;
  return selection.SearchCount == 0 ? kMessageNoDataLeft : "";
}

int GameList::DeleteListed(int number, const CommandHooks& hooks, DatabaseSelection& selection,
                           std::string& message) {
  if (DeleteGame(*format_, paths_, number, hooks, message) != 0) return 1;
  if (RenumberListAfterDeletion(list_path_, number, count_, top_, message) != 0) {
    count_ = top_ = 0;
    selection.SearchCount = 0;
    return 1;
  }
  selection.SearchCount = count_;
  return 0;
}

int LoadListedGame(const DatabaseFormat& format, const std::string& folder, int number,
                   const PositionPattern& searched, DatabaseSelection& selection,
                   GameRecord& record, std::string& status, std::string& message) {
  const auto shown = [&searched](const GameRecord& game) { return ShownPly(game, searched); };
  return LoadGameShownAt(format, folder, number, shown, selection, record, status, message);
}

int LoadGameShownAt(const DatabaseFormat& format, const std::string& folder, int number,
                    const ShownPlyHook& shown, DatabaseSelection& selection, GameRecord& record,
                    std::string& status, std::string& message) {
  if (ReadGame(format, selection.Paths, folder, number, record, message, shown) != number) return 0;
  selection.CurrentRecordNo = number;
  status = record.PlyCount == RecordEndPly(record) ? ResultText(record) : "";
  return number;
}

}  // namespace shogi
