// Whole games of the thinking library through the game driver, from the standard position to
// their end, with every answer of the library checked against the program's own rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>

#include "players/inprocess_player.h"
#include "players/library_binding.h"
#include "rules/move_rules.h"
#include "shell/board_clicks.h"
#include "shell/navigation.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/sanitizer.h"

namespace shogi {
namespace {

// A fixed pseudo-random sequence, the same on every platform, to vary the games.
class Sequence {
 public:
  explicit Sequence(std::uint64_t seed) : x_(seed * 2654435761u + 1) {}
  int Below(int n) {
    x_ = x_ * 6364136223846793005u + 1442695040888963407u;
    return static_cast<int>((x_ >> 33) % static_cast<std::uint64_t>(n));
  }

 private:
  std::uint64_t x_;
};

// Plays a random legal move of the shown position into `answer`; 0 when there is none.
int RandomLegalMove(const ProgramState& state, Sequence& sequence, ComputerAnswer& answer) {
  static LegalMoveList moves;
  const int n = LegalMoves(state.Record, state.Shown, moves);
  if (n == 0) return 0;
  const int pick = sequence.Below(n);
  answer.Origin[0] = moves.origin[pick];
  answer.Destination[0] = moves.destination[pick];
  answer.Promote[0] = moves.promote[pick];
  return n;
}

// The library's side of the test games: plays the scripted opening (random legal moves for
// the first plies), then hands over to the bound library and checks each of its answers
// against LegalMoves. It passes the game's start and end on to the library as they come.
class CheckedLibrary : public ComputerPlayer {
 public:
  CheckedLibrary(ComputerPlayer& library, const ProgramState& state)
      : library_(library), state_(state) {}

  void Reset(int opening_plies, std::uint64_t seed) {
    opening_plies_ = opening_plies;
    sequence_ = Sequence(seed);
    begins = ends = answers = resignations = 0;
  }

  void BeginGame(int* abort_flag) override {
    ++begins;
    library_.BeginGame(abort_flag);
  }
  void EndGame() override {
    ++ends;
    library_.EndGame();
  }
  int Think(const ThinkRequest& request, ComputerAnswer& answer) override {
    if (request.PlyCount < opening_plies_) return RandomLegalMove(state_, sequence_, answer);
    const int result = library_.Think(request, answer);
    if (result <= 0) {
      ++resignations;
      return result;
    }
    ++answers;
    static LegalMoveList moves;
    const int n = LegalMoves(state_.Record, request.Shown, moves);
    bool legal = false;
    for (int i = 0; i < n && !legal; ++i) {
      legal = moves.origin[i] == answer.Origin[0] &&
              moves.destination[i] == answer.Destination[0] &&
              moves.promote[i] == answer.Promote[0];
    }
    EXPECT_TRUE(legal) << "ply " << request.PlyCount << ": the library answered from "
                       << answer.Origin[0] << " to " << answer.Destination[0] << " promote "
                       << answer.Promote[0];
    return result;
  }
  bool Offered() const override { return library_.Offered(); }

  int begins = 0, ends = 0, answers = 0, resignations = 0;

 private:
  ComputerPlayer& library_;
  const ProgramState& state_;
  int opening_plies_ = 0;
  Sequence sequence_{0};
};

// The in-process side of the mixed games: any legal move, at random.
class RandomComputer : public ComputerPlayer {
 public:
  explicit RandomComputer(const ProgramState& state) : state_(state) {}
  void PrepareGame(int) override {}
  int Think(const ThinkRequest&, ComputerAnswer& answer) override {
    return RandomLegalMove(state_, sequence_, answer);
  }
  Sequence sequence_{0};

 private:
  const ProgramState& state_;
};

class LibraryGamesTest : public ShellFixture {
 protected:
  LibraryBinding binding;
  CheckedLibrary checked{binding.Player(), state};
  RandomComputer random{state};
};

TEST_F(LibraryGamesTest, GamesEndByTheRulesWithOnlyLegalLibraryMoves) {
  ASSERT_EQ(binding.Bind(std::string(SHOGI_BIN_DIR) + "/"),
            kBoundSikouIni | kBoundSikou | kBoundSikouEnd)
      << binding.LoadMessage();
  ctx.Library = &checked;
  ctx.InProcess = &random;

  // Sixteen games library against library after 0..15 random opening plies, and eight in
  // which the library meets a random mover, on either side (under the sanitizers three and two).
  struct Game {
    int first, second;
    int opening;
  };
  std::vector<Game> games;
  for (int opening = 0; opening < (test::kSanitized ? 3 : 16); ++opening)
    games.push_back({-1, -1, opening});
  for (int i = 0; i < (test::kSanitized ? 2 : 8); ++i) games.push_back(i % 2 ? Game{1, -1, 0} : Game{-1, 1, 0});

  std::map<std::string, int> endings;
  int total_answers = 0;
  for (std::size_t g = 0; g < games.size(); ++g) {
    SCOPED_TRACE("game " + std::to_string(g));
    SetUp();
    checked.Reset(games[g].opening, g + 1);
    random.sequence_ = Sequence(1000 + g);
    StartWith(games[g].first, games[g].second);

    // The driver played the game to its end in one go.
    const GameRecord& r = state.Record;
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_LE(r.PlyCount, kGamePlyLimit);
    EXPECT_EQ(checked.begins, 1);
    EXPECT_EQ(checked.ends, 1);
    ASSERT_FALSE(ui.Messages.empty());
    const std::string end = ui.LastMessage();
    LegalMoveList moves;
    const int left = LegalMoves(r, state.Shown, moves);
    if (end == kComputerResignsMessage) {
      EXPECT_EQ(checked.resignations, 1);
      EXPECT_EQ(r.ResultCode, SideToMove(state) == kFirst ? kResultSecondWins : kResultFirstWins);
      endings["resignation"]++;
    } else if (end == kFirstWonMessage || end == kSecondWonMessage) {
      EXPECT_EQ(left, 0);
      endings["mate"]++;
    } else if (end == kRepetitionMessage) {
      EXPECT_EQ(r.ResultCode, kResultRepetition);
      endings["repetition"]++;
    } else {
      EXPECT_EQ(end, kMoveLimitMessage);
      EXPECT_EQ(r.PlyCount, kGamePlyLimit);
      endings["ply limit"]++;
    }
    total_answers += checked.answers;
  }
  EXPECT_GE(total_answers, 200);
  std::string summary;
  for (const auto& [ending, count] : endings) summary += " " + ending + " " + std::to_string(count);
  std::printf("%zu games, %d library answers checked; endings:%s\n", games.size(), total_answers,
              summary.c_str());
}

}  // namespace
}  // namespace shogi

namespace shogi {
namespace {

// Every way a person's move can end hands the turn to the computer, a level and the library
// alike.
TEST_F(LibraryGamesTest, EveryWayAPersonMovesHandsOverToTheComputer) {
  ASSERT_EQ(binding.Bind(std::string(SHOGI_BIN_DIR) + "/"),
            kBoundSikouIni | kBoundSikou | kBoundSikouEnd);
  InProcessPlayer level(&state.AbortFlag);
  level.SetBudgetCap(0.05);
  enum Way { kDrag, kClicks, kDrop, kPromote, kKeep };
  const struct {
    Way way;
    const char* before;  // the persons' moves before the game against the computer
    const char* move;
  } cases[] = {
      {kDrag, "", "7g7f"},
      {kClicks, "", "2g2f"},
      {kDrop, "7g7f 3c3d 8h2b+ 3a2b", "B*5e"},
      {kPromote, "7g7f 3c3d", "8h2b+"},
      {kKeep, "7g7f 3c3d", "8h2b"},
  };
  for (const int kind : {1, kLibraryPlayer}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.move) + " against " + std::to_string(kind));
      SetUp();
      ctx.InProcess = &level;
      ctx.Library = &binding.Player();
      LoadSfen("startpos", c.before);
      ToLastPosition(state);
      if (*c.before) ui.MessageAnswers.push_back(MessageAnswer::kNo);  // 最初からやりなおしますか？
      StartWith(kPersonPlayer, kind);
      const int ply = state.Record.PlyCount;
      const MoveCode m = test::UsiMove(c.move);
      if (c.way == kClicks) {
        for (const int square : {int{m.from}, DestinationOf(m)}) {
          PressSpot(ctx, {BoardArea::kBoard, square});
          ReleaseSpot(ctx, {BoardArea::kBoard, square});
        }
      } else {
        PersonMove(std::string(c.move).substr(0, 4));
      }
      if (c.way == kPromote || c.way == kKeep) ChoosePromotion(ctx, c.way == kPromote);
      ASSERT_EQ(state.Record.PlyCount, ply + 2) << Moves();
      EXPECT_EQ(state.Record.MoveList[ply], m);
      EXPECT_EQ(state.InteractionState, kStateGame);
      SuspendGame(ctx);
    }
  }
}

}  // namespace
}  // namespace shogi
