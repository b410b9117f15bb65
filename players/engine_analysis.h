// 検討: one outside engine searching the shown position with "go infinite" while the window
// polls its output from a timer; moving to another position restarts it there. What the
// panel shows (score from the first player's view, depth, nodes, the principal variation in
// Japanese) is built here, free of the window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "players/engine_list.h"
#include "rules/game_record.h"

namespace shogi {

// A score from the first player's view for tools: "cp 123", "cp -40", "mate 7" (the first
// player mates in 7 plies), "mate -7" (the second does), "mate +" or "mate -" without a
// count; "" when the engine gave no score.
std::string UsiScoreForFirst(const UsiInfo& info, bool first_to_move);
// The same for the panel (UTF-8): "+123", "-40", "先手勝ち 7手詰", "後手勝ち 詰み".
std::string JapaneseScoreForFirst(const UsiInfo& info, bool first_to_move);
// The first `max_moves` moves of `pv` played from the position after `ply` plies of `record`
// in KI2 notation with side marks ("▲７六歩 △３四歩"), UTF-8. It stops at the first move
// that is not legal there (the engine's output is not trusted).
std::string JapanesePv(const GameRecord& record, int ply, const std::vector<std::string>& pv,
                       int max_moves);

// The panel's lines (UTF-8).
struct AnalysisView {
  std::string Engine;
  std::string Position;  // "N手目 先手番"
  std::string Score;
  int Depth = 0, SelDepth = 0;
  long long Nodes = 0, Nps = 0;
  std::string Pv;
};

class EngineAnalysis {
 public:
  void SetLimits(const UsiEngine::Limits& limits) { limits_ = limits; }
  // Starts `entry`'s engine with its options. Nonzero with a message when it does not start.
  [[nodiscard]] int Start(const EngineEntry& entry, std::string& message);
  bool Running() const { return engine_.Started(); }
  // Stops a running search (its "bestmove" read), then "position" of the first `ply` plies
  // of `record` and "go infinite". Nonzero with a message when the engine failed (it
  // is then ended).
  [[nodiscard]] int Analyse(const GameRecord& record, int ply, std::string& message);
  // Takes what the engine has sent without waiting. Nonzero with a message when it
  // failed (ended, or answered nothing to "stop"); it is then ended.
  [[nodiscard]] int Poll(std::string& message);
  // "stop", its "bestmove", "quit".
  void Finish();
  // The analysed ply (-1 before the first Analyse).
  int Ply() const { return ply_; }
  const Position& AnalysedPosition() const { return position_; }
  // The running search's last info.
  const UsiInfo& Info() const { return engine_.Info(); }
  AnalysisView View() const;

 private:
  // Ends a running search: "stop" and its "bestmove".
  [[nodiscard]] int EndSearch(std::string& message);

  UsiEngine engine_;
  UsiEngine::Limits limits_;
  std::string name_;
  std::unique_ptr<GameRecord> record_ = std::make_unique<GameRecord>();
  int ply_ = -1;
  Position position_{};
};

}  // namespace shogi
