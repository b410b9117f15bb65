// The record's comments and variations in the window: the tree kept in step with the record,
// the variations of the shown move and following one, making a line the main line, the shown
// position's comment, a record cut that keeps its old continuation as a variation, and the
// record and tree as a file keeps them.
#pragma once

#include <string>
#include <vector>

#include "shell/shell_context.h"

namespace shogi {

// Forgets the comments and variations (a new record, a new start position).
void ClearNotes(ProgramState& state);
// Takes a read file's tree (empty: the file had none) for the record just installed.
void InstallNotes(ProgramState& state, RecordTree tree);

// Brings the tree up to the record: a record with another start drops it; the record's moves
// become the tree's main line (a move the tree lacks is added; the line past the record's end
// stays as a variation of it while "変化を残す" is on, else it is cut). Every command starts
// with it, so that a cut sees the record as it was.
void SyncNotes(ProgramState& state);

// Cuts the record at the shown position, as a game started there or a result chosen there
// does. With "変化を残す" on, the moves that followed stay as a variation; at the record's
// start nothing of the old record stays (a new game).
void CutShownLine(ProgramState& state);

// The tree's position of the record's ply `ply` (StartIndex .. end), -1 when the tree does
// not reach it. The tree need not be in step: the walk stops where it and the record part.
int NodeOfPly(const ProgramState& state, int ply);
// The moves that reach the shown position's place in the tree: the shown move first among
// them is at `Current`. Fewer than two: the shown move has no variation.
struct ShownVariations {
  std::vector<int> Nodes;
  std::vector<std::string> Texts;  // "▲７六歩", UTF-8
  int Current = -1;
};
// Without `texts`, the nodes only (for the menus' rules).
ShownVariations VariationsOfShownMove(const ProgramState& state, bool texts = true);
// Whether the record's move that reaches ply `ply` has variations (the move list marks it).
bool MoveHasVariations(const ProgramState& state, int ply);

// Follows the variation at index `index` of VariationsOfShownMove: the record takes its line
// (its moves, times and result), the shown move is its move. Idle only; false when there is
// no such variation or it is the one shown.
bool FollowVariation(ProgramState& state, int index);
// ↑ / ↓: the variation before or after the shown one (`step` -1 or 1).
ViewUpdate StepVariation(ProgramState& state, int step);
// Whether the record follows a variation rather than the file's main line.
bool FollowsVariation(const ProgramState& state);
// "本譜にする": the line the record follows becomes the file's main line.
ViewUpdate MakeShownLineMain(ProgramState& state);

// A comment or the main line changed since the record was saved.
void MarkNotesChanged(ProgramState& state);

// The shown position's comment (UTF-8, lines joined by "\n") and its edit.
std::string ShownComment(const ProgramState& state);
void SetShownComment(ProgramState& state, const std::string& utf8);

// The record and the tree as a file keeps them: the file's main line in the record (with its
// result), the tree empty when it holds no comment and no variation. The tree is taken as it
// stands (SyncNotes brings it up to the record).
void FileRecord(const ProgramState& state, GameRecord& record, RecordTree& tree);

// Whether the record differs from the one last read or written in what a file keeps: start
// position, moves, times, result and header (not the shown ply, the clocks or the view).
bool RecordUnsaved(const ProgramState& state);
// The record as it stands counts as read or written.
void MarkRecordSaved(ProgramState& state);

// A database keeps the main line only: once a run, the person is told when the record has
// comments or variations.
inline constexpr const char kNotesNotStoredMessage[] =
    "コメントと変化はデータベースに登録されません。本譜だけを登録します。";
void TellNotesNotStored(ShellContext& ctx, const char* caption);

}  // namespace shogi
