// The outside engines as a computer side.
#include "players/engine_player.h"

#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi {
namespace {

constexpr const char* kNotRegistered = "エンジンが登録されていません。";

}  // namespace

void EnginePlayer::PrepareGame(int start_index) {
  (void)start_index;
  in_game_.clear();
  error_.clear();
}

void EnginePlayer::SetList(const EngineList& list) {
  QuitAll();
  list_ = list;
}

std::vector<std::string> EnginePlayer::Names() const {
  std::vector<std::string> names;
  for (const EngineEntry& e : list_) names.push_back(e.Name);
  return names;
}

void EnginePlayer::QuitAll() {
  running_.clear();  // each engine quits as it goes
  in_game_.clear();
}

std::string EnginePlayer::TakeFailure() {
  std::string failure;
  failure.swap(failure_);
  return failure;
}

void EnginePlayer::Fail(int n, const std::string& detail) {
  const std::string name =
      n >= 0 && n < static_cast<int>(list_.size()) ? list_[n].Name : std::string("?");
  failure_ = std::string(kEngineFailurePrefix) + "\n" + name + ": " + detail;
  error_ = detail;
  running_.erase(n);  // the child is ended
  in_game_.erase(n);
}

UsiEngine* EnginePlayer::Started(int n, std::string& message) {
  std::unique_ptr<UsiEngine>& engine = running_[n];
  if (!engine || !engine->Started()) {
    engine = std::make_unique<UsiEngine>();
    engine->SetLimits(limits_);
    in_game_[n] = false;
    if (engine->Start(list_[n].Command, EngineStartOptions(list_[n]), message) != 0) return nullptr;
  }
  return engine.get();
}

int EnginePlayer::Start(int n, std::string& message) {
  if (n < 0 || n >= static_cast<int>(list_.size())) {
    message = kNotRegistered;
    return 1;
  }
  return Started(n, message) != nullptr ? 0 : 1;
}

UsiEngine* EnginePlayer::EngineFor(int n, std::string& message) {
  UsiEngine* engine = Started(n, message);
  if (!engine) return nullptr;
  if (!in_game_[n]) {
    if (engine->NewGame(message) != 0) return nullptr;
    in_game_[n] = true;
  }
  return engine;
}

int EnginePlayer::Think(const ThinkRequest& request, ComputerAnswer& answer) {
  failure_.clear();
  error_.clear();
  last_info_ = UsiInfo{};
  const int n = request.Strength - kFirstEnginePlayer;
  if (n < 0 || n >= static_cast<int>(list_.size())) {
    Fail(n, kNotRegistered);
    return 0;
  }
  if (!RequestInRange(request)) return 0;
  std::string message;
  UsiEngine* engine = EngineFor(n, message);
  if (!engine) {
    Fail(n, message);
    return 0;
  }
  const std::string position =
      UsiPositionCommand(request.Initial, request.StartIndex, request.MoveList, request.PlyCount);
  // Our clocks count up without a limit: the engine plays on byoyomi alone.
  UsiGo go;
  go.ByoyomiMs = list_[n].ByoyomiSeconds * 1000;
  if (byoyomi_cap_ms_ > 0 && go.ByoyomiMs > byoyomi_cap_ms_) go.ByoyomiMs = byoyomi_cap_ms_;
  const bool first = SideOfPly(request.PlyCount) == kFirst;
  if (engine->BeginGo(position, go, first, message) != 0) {
    Fail(n, message);
    return 0;
  }
  MoveCode move;
  UsiEngine::Answer a;
  bool stopped = false;
  std::int64_t waits = 0;
  while ((a = engine->Poll(poll_seconds_, move, message)) == UsiEngine::Answer::kPending) {
    const bool stop_asked = StopRequested(request.Progress, ++waits);
    if (!stopped && (stop_asked || (abort_flag_ && *abort_flag_ != 0))) {
      engine->Stop();  // its bestmove still comes and is read, then dropped
      stopped = true;
    }
  }
  last_info_ = engine->Info();
  if (a == UsiEngine::Answer::kError) {
    Fail(n, message);
    return 0;
  }
  if (stopped) return 0;  // the driver suspends the game or closes the program
  if (a == UsiEngine::Answer::kResign) return 0;
  if (a == UsiEngine::Answer::kWin) {
    // A declared win (entering kings) is not judged here: the game stops with the claim.
    Fail(n, "エンジンが入玉勝ちを宣言しました（bestmove win）。");
    return 0;
  }
  auto record = std::make_unique<GameRecord>();
  GameOfRequest(request, *record);
  if (!IsLegalMove(*record, request.Shown, move)) {
    Fail(n, "エンジンが反則手 " + FormatUsiMove(move) + " を指しました。");
    return 0;
  }
  answer.Origin[0] = OriginOf(move);
  answer.Destination[0] = DestinationOf(move);
  answer.Promote[0] = IsPromotion(move) ? 1 : 0;
  return 1;
}

}  // namespace shogi
