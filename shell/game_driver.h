// The game driver: starting a game, the person's moves, the computer's turns, the end
// checks, suspension, resignation and the stop request. The only code that appends moves
// while a game runs.
#pragma once

#include <string>

#include "shell/shell_context.h"

namespace shogi {

// The end messages (UTF-8).
inline constexpr const char* kGameCaption = "対局";
inline constexpr const char* kCannotStartMessage = "この局面から対局は出来ません。";
inline constexpr const char* kRestartQuestion = "最初からやりなおしますか？";
inline constexpr const char* kRepetitionMessage = "千日手です。";
inline constexpr const char* kMoveLimitMessage = "手数制限で、これ以上対局出来ません。";
inline constexpr const char* kFirstWonMessage = "先手が勝ちました。";
inline constexpr const char* kSecondWonMessage = "後手が勝ちました。";
inline constexpr const char* kComputerResignsMessage = "参りました。";
inline constexpr const char* kThinkingMessage = "　　考慮中";
inline constexpr const char* kYourTurnMessage = "あなたの番です。";
inline constexpr const char* kBadComputerMoveMessage = "コンピュータの指し手に異常があります。";

// "対局開始" (computer_mode false) and "ｺﾝﾋﾟｭｰﾀ対局" (true); idle only. Checks the position,
// may ask "最初からやりなおしますか？", opens the conditions dialog, starts the clock and lets
// a computer side move.
ViewUpdate StartGame(ShellContext& ctx, bool computer_mode);

// Left button down in a game (state 2): the side to move takes a piece of its own from a
// square or one piece from its own hand.
ViewUpdate GamePickUp(ShellContext& ctx, BoardSpot spot);
// Left button up in a game: a held piece goes back and the move from its origin to `spot`
// is looked up in the legal moves: refused silently, played, or (promotion optional) the
// promotion choice opens. Then the end checks and, if the game goes on, the computer turns.
ViewUpdate GameRelease(ShellContext& ctx, BoardSpot spot);
// Left click in the promotion choice (state 3): plays the move, promoted or not.
ViewUpdate ChoosePromotion(ShellContext& ctx, bool promote);
// Right click in the promotion choice: the move is abandoned.
ViewUpdate CancelPromotion(ShellContext& ctx);

// While the side to move is a computer, asks it for a move and plays it; ends with the
// person to move ("あなたの番です。") or the game over. Does nothing outside state 2.
ViewUpdate RunComputerTurns(ShellContext& ctx);

// "対局中断": the game stops at the shown position, result 0.
ViewUpdate SuspendGame(ShellContext& ctx);
// "投了": the side to move resigns.
ViewUpdate ResignGame(ShellContext& ctx);
// "千日手チェック": toggles the repetition check; in a game the end checks run at once.
ViewUpdate ToggleRepetitionCheck(ShellContext& ctx);
// "対局条件" (computer_mode false: idle or in a game; both sides become persons) and
// "ｺﾝﾋﾟｭｰﾀ対局条件" (true: in a game; then a computer to move plays at once). The start
// position cannot be changed here.
ViewUpdate EditConditions(ShellContext& ctx, bool computer_mode);

// A right click while busy: asks "思考を中断しますか？"; はい sets AbortFlag to 100.
void RequestStop(ShellContext& ctx);
// The main window is closing. While long work runs (a search, the computer's thinking, a
// database command) the close must wait: AbortFlag = -100 stops a search, ClosePending asks
// for the close once the work has ended, and true is returned. False when nothing runs.
[[nodiscard]] bool NotifyClosing(ProgramState& state);

// --- the pieces the navigation commands share ---

// Plays a move at PlyCount for the side to move (no legality check): the shown position,
// the move list, the mover's clock into the move times, the end marker, the other side's
// clock running from -100 ms. False (nothing changed) when the record is full or the move
// does not fit the position record (squares or drop types out of range, a promotion of a
// piece that cannot promote).
[[nodiscard]] bool PlayMove(ProgramState& state, int origin, int destination, int promote);

// The end checks in their order (repetition if the check is on, the ply limit 256, no
// legal move). On an end: result code set, message area cleared, end marker and the clock
// of the side to move stored at PlyCount, state idle; `message` gets the end message.
[[nodiscard]] bool RunEndChecks(ProgramState& state, std::string& message);

// Stops a game at the shown position: result `result_code`, end marker at PlyCount, the
// clock of the side to move stored there, state idle, the message area cleared.
void StopGameHere(ProgramState& state, int result_code);

// Before a command acts on a game: a piece being dragged goes back to its spot and an open
// promotion choice closes (state 2).
void SettleBoard(ProgramState& state, ViewUpdate& update);

// Whether a side of the record's game is the thinking library.
bool LibraryPlays(const GameRecord& record);

// Shows `update` at once and empties it (before anything that blocks).
void FlushUpdate(ShellContext& ctx, ViewUpdate& update);

}  // namespace shogi
