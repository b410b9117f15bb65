// The scores of a whole record: one analysis per position (the score from the first
// player's view, the best move and the engine's line), the marks 疑問手 / 悪手 of the moves
// that lose more than a threshold, the scores other programs store in comments
// ("*#評価値=123"), and the analysis written into the record tree as comments and as a
// variation for each 悪手.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/game_record.h"
#include "rules/record_tree.h"

namespace shogi {

struct UsiInfo;  // players/usi_engine.h

// A score from the first player's view: centipawns, or a mate (plies to it when known, 0
// when the engine did not say) won by the first player or by the second.
struct FirstScore {
  enum class Kind { kNone, kCp, kMate };
  Kind Type = Kind::kNone;
  int Cp = 0;
  int MatePlies = 0;
  bool FirstMates = false;
  friend bool operator==(const FirstScore&, const FirstScore&) = default;
};
// The score of an engine's info (the mover's view) for the first player.
FirstScore FirstScoreOf(const UsiInfo& info, bool first_to_move);
// For tools: "cp 123", "mate 7" (the first player mates in 7 plies), "mate -7", "mate +",
// "mate -"; "" for none.
std::string UsiScoreText(const FirstScore& score);
// For the window (UTF-8): "+123", "-40", "先手勝ち 7手詰", "後手勝ち 詰み"; "" for none.
std::string JapaneseScoreText(const FirstScore& score);
// The score as centipawns held within +-kScoreCap; a mate counts as the cap.
constexpr int kScoreCap = 3000;
int CappedCp(const FirstScore& score);

// The analysis of one position of the record.
struct PlyAnalysis {
  FirstScore Score;
  std::string Best;             // USI move, "resign", "win", or "" (none)
  std::vector<std::string> Pv;  // USI moves from the position, Best first
  int Depth = 0;
  bool FromComment = false;  // read from a comment, not analysed
};

// The analyses by ply (index: the plies played before the position).
struct RecordScores {
  std::vector<PlyAnalysis> ByPly;
  bool Has(int ply) const {
    return ply >= 0 && ply < static_cast<int>(ByPly.size()) &&
           ByPly[static_cast<std::size_t>(ply)].Score.Type != FirstScore::Kind::kNone;
  }
  const PlyAnalysis& At(int ply) const { return ByPly[static_cast<std::size_t>(ply)]; }
  // Room for `ply`, then its entry.
  PlyAnalysis& Set(int ply);
  bool Empty() const;
};

enum class MoveMark { kNone, kDoubtful, kBad };  // 疑問手, 悪手
struct MarkThresholds {
  int Doubtful = 300;  // centipawns lost by the mover
  int Bad = 600;
  // Whether the two make sense together: 0 < Doubtful <= Bad <= kScoreCap.
  bool Valid() const { return Doubtful > 0 && Bad >= Doubtful && Bad <= kScoreCap; }
};
// "300,600" (疑問手 then 悪手) into `thresholds`; false, leaving them, for anything else or
// thresholds that are not Valid(). MarkThresholdsText writes that form.
bool ParseMarkThresholds(std::string_view text, MarkThresholds& thresholds);
std::string MarkThresholdsText(const MarkThresholds& thresholds);
// The centipawns the mover of move `ply` (the move from position `ply` to `ply` + 1) lost by
// it: the score before it less the score after it, both held within the cap, from the
// mover's view. -1 when either position has no score.
int LossOfMove(const RecordScores& scores, int ply);
MoveMark MarkOfMove(const RecordScores& scores, int ply, const MarkThresholds& thresholds);
// "疑問手", "悪手" or "" (UTF-8).
const char* MarkText(MoveMark mark);

// The score of a comment line "#評価値=123" (the "*" of the file gone): centipawns from the
// first player's view, or "+詰7" / "-詰" for a mate. False for any other line.
bool ParseScoreComment(const std::string& cp932_line, FirstScore& score);
// The scores the comments of the tree's main line hold, by ply (`record`'s moves).
RecordScores ScoresFromComments(const RecordTree& tree, const GameRecord& record);

// Writes the analysis into `tree` (made the main line of `record` first when empty): each
// analysed position's comment gets the lines "#評価値=", "#最善手=" and "#読み筋=" (earlier ones
// of those replaced), a marked move's position the mark, and each 悪手 a variation of the
// engine's line from the position before it (its legal moves only). False when the tree
// was full (what fitted is kept).
bool AnnotateTree(RecordTree& tree, const GameRecord& record, const RecordScores& scores,
                  const MarkThresholds& thresholds);

// The tooltip of move `ply` (UTF-8): the engine's best move and score there, the mark.
std::string MoveAnalysisText(const GameRecord& record, const RecordScores& scores, int ply,
                             const MarkThresholds& thresholds);

}  // namespace shogi
