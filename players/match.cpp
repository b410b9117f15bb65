// Matches between computer players: their set-up, the openings, the tally and the Elo.
#include "players/match.h"

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/file_path.h"
#include "players/engine_player.h"
#include "players/inprocess_player.h"
#include "players/library_binding.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi {
namespace {

// A USI side of a match: engine 0 of its own list, whatever PlayerKind the driver knows the
// side by.
class MatchEngine : public ComputerPlayer {
 public:
  explicit MatchEngine(const int* abort_flag) : engines_(abort_flag) {}
  EnginePlayer& Engines() { return engines_; }

  void PrepareGame(int start_index) override { engines_.PrepareGame(start_index); }
  int Think(const ThinkRequest& request, ComputerAnswer& answer) override {
    ThinkRequest own = request;
    own.Strength = kFirstEnginePlayer;
    return engines_.Think(own, answer);
  }

 private:
  EnginePlayer engines_;
};

std::string Trimmed(const std::string& s) {
  const std::size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

}  // namespace

std::string MatchPlayer::Label() const {
  switch (Type) {
    case Kind::kLevel:
      return "level:" + std::to_string(Level);
    case Kind::kSikou:
      return "sikou";
    case Kind::kUsi:
      return "usi:" + Command;
  }
  return {};
}

int ParseMatchPlayer(const std::string& text, MatchPlayer& player, std::string& message) {
  player = MatchPlayer{};
  if (text == "sikou") {
    player.Type = MatchPlayer::Kind::kSikou;
    return 0;
  }
  if (text.rfind("level:", 0) == 0) {
    const std::string n = text.substr(6);
    if (n.size() == 1 && n[0] >= '1' && n[0] <= '9') {
      player.Level = n[0] - '0';
      return 0;
    }
    message = "a level is 1..9: '" + text + "'";
    return 1;
  }
  if (text.rfind("usi:", 0) == 0 && text.size() > 4) {
    player.Type = MatchPlayer::Kind::kUsi;
    player.Command = text.substr(4);
    return 0;
  }
  message = "a player is level:N, sikou or usi:COMMAND, not '" + text + "'";
  return 1;
}

int ReadOpenings(const std::string& path, std::vector<OpeningLine>& lines, std::string& message) {
  std::ifstream in(FilePath(path));
  if (!in) {
    message = "cannot read the openings file " + path;
    return 1;
  }
  lines.clear();
  std::string line;
  while (std::getline(in, line)) {
    line = Trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    OpeningLine opening;
    for (std::string w; words >> w;) opening.push_back(w);
    lines.push_back(opening);
  }
  return 0;
}

EloEstimate EstimateElo(const MatchTally& t) {
  EloEstimate e;
  const int n = t.Games();
  if (n == 0) return e;
  const double p = (t.Wins + 0.5 * t.Draws) / n;
  if (p <= 0 || p >= 1) return e;
  auto elo = [](double score) { return -400.0 * std::log10(1.0 / score - 1.0); };
  const double variance =
      (t.Wins * (1 - p) * (1 - p) + t.Draws * (0.5 - p) * (0.5 - p) + t.Losses * p * p) / n;
  const double se = std::sqrt(variance / n);
  const double lo = std::max(p - 1.96 * se, 1e-6), hi = std::min(p + 1.96 * se, 1 - 1e-6);
  e.Defined = true;
  e.Difference = elo(p);
  e.Margin = (elo(hi) - elo(lo)) / 2;
  return e;
}

namespace {

// A match side: its computer player and its PlayerKind.
struct Side_ {
  std::unique_ptr<InProcessPlayer> level;
  std::unique_ptr<LibraryBinding> library;
  std::unique_ptr<MatchEngine> engine;
  ComputerPlayer* player = nullptr;
  int kind = 0;
  const std::string* Error() const { return engine ? &engine->Engines().LastError() : nullptr; }
};

int SetUp(const MatchPlayer& player, const MatchOptions& options, const int* abort_flag,
          Side_& side, std::string& message) {
  switch (player.Type) {
    case MatchPlayer::Kind::kLevel:
      side.level = std::make_unique<InProcessPlayer>(abort_flag);
      side.level->SetBudgetCap(options.Seconds);
      side.level->SetBudgetScale(options.Scale);
      side.player = side.level.get();
      side.kind = player.Level;
      return 0;
    case MatchPlayer::Kind::kSikou:
      side.library = std::make_unique<LibraryBinding>();
      if (side.library->Bind(options.ProgramFolder) == 0) {
        message = "cannot load the thinking library: " + side.library->LoadMessage();
        return 1;
      }
      side.player = &side.library->Player();
      side.kind = kLibraryPlayer;
      return 0;
    case MatchPlayer::Kind::kUsi: {
      // Every move on the same byoyomi: the list's whole seconds, capped at the match's time.
      const int ms = options.Seconds > 0 ? static_cast<int>(options.Seconds * 1000) : 1000;
      EngineEntry entry;
      entry.Name = player.Label();
      entry.Command = player.Command;
      entry.Values = player.Options;
      entry.ByoyomiSeconds = (ms + 999) / 1000;
      side.engine = std::make_unique<MatchEngine>(abort_flag);
      side.engine->Engines().SetList({entry});
      side.engine->Engines().SetByoyomiCap(ms);
      if (side.engine->Engines().Start(0, message) != 0) {
        message = player.Label() + ": " + message;
        return 1;
      }
      side.player = side.engine.get();
      side.kind = kLibraryPlayer;
      return 0;
    }
  }
  return 1;
}

}  // namespace

int RunMatch(const MatchPlayer& a, const MatchPlayer& b, const MatchOptions& options,
             MatchTally& tally, std::string& message) {
  static const int kNoAbort = 0;
  if (!options.PlayGame) {
    message = "no game runner";
    return 1;
  }
  Side_ sa, sb;
  if (SetUp(a, options, &kNoAbort, sa, message) != 0 ||
      SetUp(b, options, &kNoAbort, sb, message) != 0)
    return 1;
  for (int game = 1; game <= options.Games; ++game) {
    const bool a_first = game % 2 == 1;
    const OpeningLine opening = options.Openings.empty()
                                    ? OpeningLine{}
                                    : options.Openings[((game - 1) / 2) % options.Openings.size()];
    Side_& first = a_first ? sa : sb;
    Side_& second = a_first ? sb : sa;
    GameSummary summary;
    summary.Number = game;
    summary.AFirst = a_first;
    if (options.PlayGame(*first.player, first.kind, *second.player, second.kind, opening, summary,
                         message) != 0)
      return 1;
    const int winner = summary.ResultCode == kResultFirstWins    ? 0
                       : summary.ResultCode == kResultSecondWins ? 1
                                                                 : -1;
    if (winner < 0) {
      summary.AScore = 0;
      ++tally.Draws;
    } else if ((winner == 0) == a_first) {
      summary.AScore = 1;
      ++tally.Wins;
    } else {
      summary.AScore = -1;
      ++tally.Losses;
    }
    for (const Side_* s : {&sa, &sb}) {
      if (s->Error() && !s->Error()->empty()) summary.Note = *s->Error();
    }
    if (options.OnGame) options.OnGame(summary);
  }
  return 0;
}

}  // namespace shogi
