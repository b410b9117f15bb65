// Building a Bonanza-format book from a Tarvel database ("Tarvel->Book"): which moves of
// which games are taken, how positions are gathered in one allocation, and the file written
// with its moves by count and its frequencies normalised to 65 535.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/progress.h"

namespace shogi {

// JOKEN, "変換条件": which moves of a game are taken.
enum BookCondition : int {
  kBookAllMoves = 0,    // "すべて"
  kBookWinnerOnly = 1,  // "勝ち将棋のみ": the winner's moves; a game without a result none
  kBookLoserBefore100 = 2,  // the winner's, and the loser's while more than 100 plies remain
  kBookNoLoser = 3,         // "負け将棋を除く": the winner's; a game without a result all
};
constexpr int kBookConditionCount = 4;

// The builder dialog's inputs, kept in the profile between runs.
struct BookBuildOptions {
  std::string Input;              // "INPUT": the Tarvel index file (.mix)
  std::string Output;             // "OUTPUT": the book file
  int Plies = 30;                 // "TESU": the ply slots taken from each game's start
  bool ResignRule = false;        // "TORYO": a game without a result was resigned by the side
                                  // to move after its last move
  int Condition = kBookAllMoves;  // "JOKEN"
};

// The "有効手数　：" field: a whole number of plies 0..256 (a game block holds 256 slots).
// Nonzero with "有効手数は0～256の整数で入力してください。".
constexpr int kMaxBookPlies = 256;
[[nodiscard]] int ParseBookPlies(std::string_view text, int& plies, std::string& message);

struct BookBuildResult {
  int Positions = 0;   // records written
  int Collisions = 0;  // positions that met another one's key, and moves left out
};

// The builder's storage is refused beyond this many bytes (a database too large for memory).
constexpr std::uint64_t kBookBuilderMemoryCap = std::uint64_t{4} << 30;

// Builds the book. 0 with the counts; or 1 with "Tarvel形式ファイル名が異常です。" (a name of
// 4 characters or less, or without its 3-letter extension), "Tarvel形式ファイル(%s)が存在
// しません。\n" (the index or the move file is not there), the database's own message when
// the pair is damaged, "メモリが不足しています。" (the positions do not fit `memory_cap`
// bytes or cannot be allocated), "定跡ファイル(%s)が作成できません。" or "中断しました。"
// (`progress`, told of every game read and of the records written, stopped it); the old
// book stays whole on any failure.
[[nodiscard]] int BuildBook(const BookBuildOptions& options, BookBuildResult& result,
                            const LoopProgress& progress, std::string& message,
                            std::uint64_t memory_cap = kBookBuilderMemoryCap);

// "%d局面作成しました。(%d)": the report of a finished build.
std::string BookBuiltMessage(const BookBuildResult& result);

}  // namespace shogi
