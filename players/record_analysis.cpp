// The scores of a whole record, its marks, and the analysis in comments and variations.
#include "players/record_analysis.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/cp932.h"
#include "platform/profile.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"
#include "players/engine_analysis.h"
#include "players/usi_engine.h"

namespace shogi {
namespace {

// The comment lines the analysis writes (UTF-8 keys; the tree holds cp932).
constexpr const char* kScoreKey = "#評価値=";
constexpr const char* kBestKey = "#最善手=";
constexpr const char* kPvKey = "#読み筋=";
constexpr const char* kMarkKey = "#解析=";
constexpr int kPvMoves = 16;

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// "123", "-40", "+詰7", "-詰", "詰" (UTF-8 after the key); false for anything else.
bool ParseScoreText(const std::string& text, FirstScore& score) {
  if (text.empty() || text.size() > 16) return false;
  std::size_t at = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    at = 1;
  }
  const std::string mate = "詰";
  if (text.compare(at, mate.size(), mate) == 0) {
    const std::string count = text.substr(at + mate.size());
    char* end = nullptr;
    const long plies = count.empty() ? 0 : std::strtol(count.c_str(), &end, 10);
    if (!count.empty() && (*end != '\0' || plies < 0 || plies > 9999)) return false;
    score = FirstScore{FirstScore::Kind::kMate, 0, static_cast<int>(plies), !negative};
    return true;
  }
  const std::string digits = text.substr(at);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  const long cp = std::strtol(digits.c_str(), nullptr, 10);
  if (cp > 1000000) return false;
  score = FirstScore{FirstScore::Kind::kCp, static_cast<int>(negative ? -cp : cp), 0, false};
  return true;
}

std::string ScoreText(const FirstScore& score) {
  if (score.Type == FirstScore::Kind::kCp) return std::to_string(score.Cp);
  return std::string(score.FirstMates ? "+" : "-") + "詰" +
         (score.MatePlies > 0 ? std::to_string(score.MatePlies) : "");
}

// The engine's moves from position `ply` that are legal there, in KI2 notation.
std::string PvText(const GameRecord& record, int ply, const std::vector<std::string>& pv,
                   int max_moves) {
  return JapanesePv(record, ply, pv, max_moves);
}

// Drops the lines the analysis writes from a comment.
void DropAnalysisLines(std::vector<std::string>& comment) {
  const std::string keys[] = {Cp932(kScoreKey), Cp932(kBestKey), Cp932(kPvKey), Cp932(kMarkKey)};
  std::erase_if(comment, [&](const std::string& line) {
    return std::any_of(std::begin(keys), std::end(keys),
                       [&](const std::string& k) { return StartsWith(line, k); });
  });
}

// Adds the engine's line from node `from` (position `ply` of `record`) as moves of the tree,
// as far as they are legal. False when the tree is full.
bool AddEngineLine(RecordTree& tree, const GameRecord& record, int from, int ply,
                   const std::vector<std::string>& pv) {
  auto game = std::make_unique<GameRecord>(record);
  Position pos;
  ReplayTo(*game, pos, ply);
  game->PlyCount = ply;
  game->MoveList[ply] = MoveCode{};
  int node = from;
  for (const std::string& text : pv) {
    MoveCode move;
    if (game->PlyCount + 1 >= kMaxMoves || !ParseUsiMove(text, move) ||
        !IsLegalMove(*game, pos, move)) {
      break;
    }
    node = tree.AddMove(node, move, 0);
    if (node < 0) return false;
    ApplyMove(pos, move, SideOfPly(game->PlyCount));
    game->MoveList[game->PlyCount++] = move;
    game->MoveList[game->PlyCount] = MoveCode{};
  }
  return true;
}

}  // namespace

FirstScore FirstScoreOf(const UsiInfo& info, bool first_to_move) {
  if (!info.HasScore) return {};
  if (!info.Mate) {
    return FirstScore{FirstScore::Kind::kCp, first_to_move ? info.Score : -info.Score, 0, false};
  }
  const bool mover_mates = info.MateSign > 0;
  return FirstScore{FirstScore::Kind::kMate, 0, std::abs(info.Score), mover_mates == first_to_move};
}

std::string UsiScoreText(const FirstScore& score) {
  switch (score.Type) {
    case FirstScore::Kind::kNone:
      return "";
    case FirstScore::Kind::kCp:
      return "cp " + std::to_string(score.Cp);
    case FirstScore::Kind::kMate:
      break;
  }
  if (score.MatePlies == 0) return score.FirstMates ? "mate +" : "mate -";
  return "mate " + std::string(score.FirstMates ? "" : "-") + std::to_string(score.MatePlies);
}

std::string JapaneseScoreText(const FirstScore& score) {
  switch (score.Type) {
    case FirstScore::Kind::kNone:
      return "";
    case FirstScore::Kind::kCp:
      return (score.Cp > 0 ? "+" : "") + std::to_string(score.Cp);
    case FirstScore::Kind::kMate:
      break;
  }
  return std::string(score.FirstMates ? "先手勝ち " : "後手勝ち ") +
         (score.MatePlies == 0 ? std::string("詰み") : std::to_string(score.MatePlies) + "手詰");
}

int CappedCp(const FirstScore& score) {
  if (score.Type == FirstScore::Kind::kMate) return score.FirstMates ? kScoreCap : -kScoreCap;
  return std::clamp(score.Cp, -kScoreCap, kScoreCap);
}

PlyAnalysis& RecordScores::Set(int ply) {
  const std::size_t at = static_cast<std::size_t>(std::max(ply, 0));
  if (ByPly.size() <= at) ByPly.resize(at + 1);
  return ByPly[at];
}

bool RecordScores::Empty() const {
  for (int ply = 0; ply < static_cast<int>(ByPly.size()); ++ply) {
    if (Has(ply)) return false;
  }
  return true;
}

int LossOfMove(const RecordScores& scores, int ply) {
  if (!scores.Has(ply) || !scores.Has(ply + 1)) return -1;
  const int before = CappedCp(scores.At(ply).Score), after = CappedCp(scores.At(ply + 1).Score);
  const int loss = SideOfPly(ply) == kFirst ? before - after : after - before;
  return std::max(loss, 0);
}

bool ParseMarkThresholds(std::string_view text, MarkThresholds& thresholds) {
  const std::size_t comma = text.find(',');
  MarkThresholds t;
  if (comma == std::string_view::npos || !ParseProfileInt(text.substr(0, comma), t.Doubtful) ||
      !ParseProfileInt(text.substr(comma + 1), t.Bad) || !t.Valid()) {
    return false;
  }
  thresholds = t;
  return true;
}

std::string MarkThresholdsText(const MarkThresholds& thresholds) {
  return std::to_string(thresholds.Doubtful) + "," + std::to_string(thresholds.Bad);
}

MoveMark MarkOfMove(const RecordScores& scores, int ply, const MarkThresholds& thresholds) {
  const int loss = LossOfMove(scores, ply);
  if (loss >= thresholds.Bad) return MoveMark::kBad;
  if (loss >= thresholds.Doubtful) return MoveMark::kDoubtful;
  return MoveMark::kNone;
}

const char* MarkText(MoveMark mark) {
  switch (mark) {
    case MoveMark::kDoubtful:
      return "疑問手";
    case MoveMark::kBad:
      return "悪手";
    case MoveMark::kNone:
      break;
  }
  return "";
}

bool ParseScoreComment(const std::string& cp932_line, FirstScore& score) {
  const std::string line = Utf8(cp932_line);
  const std::string key = kScoreKey;
  if (!StartsWith(line, key)) return false;
  std::string text = line.substr(key.size());
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return ParseScoreText(text, score);
}

RecordScores ScoresFromComments(const RecordTree& tree, const GameRecord& record) {
  RecordScores scores;
  const std::vector<int> nodes = MainLineNodes(tree, record);
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    for (const std::string& line : tree.Node(nodes[k]).Comment) {
      FirstScore score;
      if (!ParseScoreComment(line, score)) continue;
      PlyAnalysis& a = scores.Set(record.StartIndex + static_cast<int>(k));
      a.Score = score;
      a.FromComment = true;
    }
  }
  return scores;
}

bool AnnotateTree(RecordTree& tree, const GameRecord& record, const RecordScores& scores,
                  const MarkThresholds& thresholds) {
  if (tree.Empty())
    tree.StartFrom(record);
  else
    ConformTree(tree, record, true);
  const std::vector<int> nodes = MainLineNodes(tree, record);
  const int end = record.StartIndex + static_cast<int>(nodes.size()) - 1;
  for (int ply = record.StartIndex; ply <= end; ++ply) {
    if (!scores.Has(ply) || scores.At(ply).FromComment) continue;
    const PlyAnalysis& a = scores.At(ply);
    std::vector<std::string>& comment =
        tree.Node(nodes[static_cast<std::size_t>(ply - record.StartIndex)]).Comment;
    DropAnalysisLines(comment);
    comment.push_back(Cp932(kScoreKey + ScoreText(a.Score)));
    const std::string best =
        PvText(record, ply, a.Pv.empty() ? std::vector<std::string>{a.Best} : a.Pv, 1);
    if (!best.empty()) comment.push_back(Cp932(kBestKey + best));
    const std::string pv = PvText(record, ply, a.Pv, kPvMoves);
    if (!pv.empty()) comment.push_back(Cp932(kPvKey + pv));
  }
  bool room = true;
  for (int ply = record.StartIndex; ply < end; ++ply) {
    const MoveMark mark = MarkOfMove(scores, ply, thresholds);
    if (mark == MoveMark::kNone) continue;
    const std::size_t at = static_cast<std::size_t>(ply - record.StartIndex);
    tree.Node(nodes[at + 1]).Comment.push_back(Cp932(std::string(kMarkKey) + MarkText(mark)));
    if (mark == MoveMark::kBad && !scores.At(ply).Pv.empty())
      room = AddEngineLine(tree, record, nodes[at], ply, scores.At(ply).Pv) && room;
  }
  return room;
}

std::string MoveAnalysisText(const GameRecord& record, const RecordScores& scores, int ply,
                             const MarkThresholds& thresholds) {
  std::string text;
  if (scores.Has(ply + 1)) text = "評価値 " + JapaneseScoreText(scores.At(ply + 1).Score);
  if (scores.Has(ply) && !scores.At(ply).Best.empty()) {
    const PlyAnalysis& before = scores.At(ply);
    const std::string best = PvText(record, ply, {before.Best}, 1);
    if (!best.empty())
      text += (text.empty() ? "" : "\n") + std::string("最善手 ") + best + " (" +
              JapaneseScoreText(before.Score) + ")";
  }
  const MoveMark mark = MarkOfMove(scores, ply, thresholds);
  if (mark != MoveMark::kNone) text += (text.empty() ? "" : "\n") + std::string(MarkText(mark));
  return text;
}

}  // namespace shogi
