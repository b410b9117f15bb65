// The 編集 menu: the record to the clipboard as KIF text, the shown position as SFEN, and a
// record pasted from the clipboard in any format the readers know (KIF, KI2, CSA, SFEN, USI),
// recognised from the text itself.
#pragma once

#include <vector>

#include "shell/command_row.h"

namespace shogi {

inline constexpr const char* kClipboardCaption = "クリップボード";
inline constexpr const char* kClipboardFailed = "クリップボードにコピーできません。";

// The KIF text of the record with its times (and the comments and variations of `tree`), in
// UTF-8 with "\n" line ends.
std::string KifClipboardText(const GameRecord& record, const RecordTree& tree = {});
// The SFEN of the shown position with the side to move and the move number.
std::string SfenClipboardText(const ProgramState& state);

// "棋譜をKIF形式でコピー", "局面をSFEN形式でコピー": the text to the clipboard; a clipboard
// that refuses it is reported captioned "クリップボード".
ViewUpdate CopyKifCommand(ShellContext& ctx);
ViewUpdate CopySfenCommand(ShellContext& ctx);

// "棋譜の貼り付け": the clipboard's text read as a record and shown at its start, like a
// record read from a file; a text that is no record is refused captioned "棋譜読み込み" with
// the record left as it was.
ViewUpdate PasteRecordCommand(ShellContext& ctx);

// The rows of the three commands, for the command table.
void AddClipboardRows(std::vector<CommandRow>& rows);

}  // namespace shogi
