// 検討 with an outside engine.
#include "players/engine_analysis.h"

#include "platform/cp932.h"
#include "records/ki2_notation.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"
#include "players/record_analysis.h"

namespace shogi {
namespace {

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

std::string UsiScoreForFirst(const UsiInfo& info, bool first_to_move) {
  return UsiScoreText(FirstScoreOf(info, first_to_move));
}

std::string JapaneseScoreForFirst(const UsiInfo& info, bool first_to_move) {
  return JapaneseScoreText(FirstScoreOf(info, first_to_move));
}

std::string JapanesePv(const GameRecord& record, int ply, const std::vector<std::string>& pv,
                       int max_moves) {
  auto game = std::make_unique<GameRecord>(record);
  if (ply < game->StartIndex || ply >= kMaxMoves) return "";
  Position pos;
  ReplayTo(*game, pos, ply);
  game->PlyCount = ply;
  game->MoveList[ply] = MoveCode{};
  int previous = ply > game->StartIndex ? DestinationOf(game->MoveList[ply - 1]) : 0;
  std::string marks[2];
  if (!Utf8ToCp932("▲", marks[0]) || !Utf8ToCp932("△", marks[1])) return "";
  std::string text;
  for (int i = 0; i < static_cast<int>(pv.size()) && i < max_moves; ++i) {
    MoveCode move;
    if (game->PlyCount + 1 >= kMaxMoves || !ParseUsiMove(pv[i], move) ||
        !IsLegalMove(*game, pos, move)) {
      break;
    }
    const Side side = SideOfPly(game->PlyCount);
    if (!text.empty()) text += ' ';
    text += TrimRight(Utf8(FormatKi2Move(move, pos, side, previous, marks[side])));
    ApplyMove(pos, move, side);
    game->MoveList[game->PlyCount++] = move;
    game->MoveList[game->PlyCount] = MoveCode{};
    previous = DestinationOf(move);
  }
  return text;
}

int EngineAnalysis::Start(const EngineEntry& entry, std::string& message) {
  Finish();
  engine_.SetLimits(limits_);
  name_ = entry.Name;
  ply_ = -1;
  return engine_.Start(entry.Command, EngineStartOptions(entry), message);
}

int EngineAnalysis::EndSearch(std::string& message) {
  if (!engine_.Searching()) return 0;
  engine_.Stop();
  MoveCode move;
  UsiEngine::Answer a;
  while ((a = engine_.Poll(limits_.move_extra, move, message)) == UsiEngine::Answer::kPending) {
  }
  return a != UsiEngine::Answer::kError ? 0 : 1;
}

int EngineAnalysis::Analyse(const GameRecord& record, int ply, std::string& message) {
  if (!engine_.Started()) {
    message = "エンジンが起動していません。";
    return 1;
  }
  if (ply < record.StartIndex || ply >= kMaxMoves || ply > RecordEndPly(record)) {
    message = "棋譜にその局面がありません。";
    return 1;
  }
  UsiGo go;
  go.Kind = UsiGo::Mode::kInfinite;
  *record_ = record;
  ply_ = ply;
  ReplayTo(*record_, position_, ply);
  if (EndSearch(message) != 0 ||
      engine_.BeginGo(
          UsiPositionCommand(record.InitialPosition, record.StartIndex, record.MoveList, ply), go,
          SideOfPly(ply) == kFirst, message) != 0) {
    engine_.Quit();
    return 1;
  }
  return 0;
}

int EngineAnalysis::Poll(std::string& message) {
  if (!engine_.Searching()) return engine_.Started() ? 0 : 1;
  MoveCode move;
  // A "bestmove" without a "stop" (the engine found a mate and ended its search) keeps the
  // last info on show.
  if (engine_.Poll(0, move, message) != UsiEngine::Answer::kError) return 0;
  engine_.Quit();
  return 1;
}

void EngineAnalysis::Finish() {
  std::string ignored;
  (void)EndSearch(ignored);
  engine_.Quit();
}

AnalysisView EngineAnalysis::View() const {
  AnalysisView v;
  v.Engine = name_;
  if (ply_ < 0) return v;
  const bool first = SideOfPly(ply_) == kFirst;
  const UsiInfo& info = engine_.Info();
  v.Position = std::to_string(ply_) + "手目 " + (first ? "先手番" : "後手番");
  v.Score = JapaneseScoreForFirst(info, first);
  v.Depth = info.Depth;
  v.SelDepth = info.SelDepth;
  v.Nodes = info.Nodes;
  v.Nps = info.Nps;
  v.Pv = JapanesePv(*record_, ply_, info.Pv, 16);
  return v;
}

}  // namespace shogi
