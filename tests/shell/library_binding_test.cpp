// The thinking library's binding: the program folder, the flags and stubs, and the moments
// and arguments of the three calls, seen from inside a stand-in library.
#include "players/library_binding.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

#include "shell/game_clock.h"
#include "tests/shell/fake_libraries/fake_sikou.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

using test::ScriptedComputer;
using test::ScriptedUserInterface;
using test::TempFolder;

std::string FakeFolder(const char* name) {
  return std::string(SHOGI_FAKE_LIBRARIES) + "/" + name + "/";
}
std::string RealFolder() {
  return std::string(SHOGI_BIN_DIR) + "/";
}

TEST(ProgramFolder, SeparatorAppendedExceptAfterARoot) {
  const std::string longest = "/" + std::string(kProgramFolderMaxLength - 1, 'd');
  struct Case {
    std::string directory;
    char separator;
    std::string folder;
  } cases[] = {
      {"C:\\", '\\', "C:\\"},
      {"C:\\Shogi", '\\', "C:\\Shogi\\"},
      // 表 in cp932 ends in the byte of the separator; the directory still needs one.
      {"C:\\\x95\x5C", '\\', "C:\\\x95\x5C\\"},
      {"/", '/', "/"},
      {"/ab", '/', "/ab/"},  // three characters, but no drive root
      {"/home/shogi", '/', "/home/shogi/"},
      {longest, '/', longest + "/"},
      // Longer than the limit, or unknown: the same directory by a relative name, never a
      // cut-off name that could be another directory.
      {longest + "d", '/', "./"},
      {"", '/', "./"},
      {"", '\\', ".\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramFolderFrom(c.directory, c.separator), c.folder) << c.directory;
  }
  EXPECT_EQ(LibraryPathIn("/opt/shogi/"), std::string("/opt/shogi/sikou") + kSharedLibrarySuffix);
}

TEST(ProgramFolder, WorkingDirectoryAndABareLibraryNameGoTogether) {
  const std::filesystem::path before = std::filesystem::current_path();
  ASSERT_EQ(chdir(FakeFolder("ini_only").c_str()), 0);
  const std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(CurrentProgramFolder(), cwd + "/");
  // A bare file name is the file in the working directory, not one on the library path.
  LibraryBinding binding;
  EXPECT_EQ(binding.BindFile(std::string("sikou") + kSharedLibrarySuffix), kBoundSikouIni)
      << binding.LoadMessage();
  std::filesystem::current_path(before);
}

class LibraryBindingTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    ctx.Library = &binding.Player();
  }
  void TearDown() override {
    if (set_handler_) set_handler_(nullptr, nullptr);
  }

  // Binds the forwarding stand-in and routes its calls to OnCall.
  void BindForwarding() {
    ASSERT_EQ(binding.Bind(FakeFolder("forwarding")), kBoundSikouIni | kBoundSikou | kBoundSikouEnd)
        << binding.LoadMessage();
    // A second load of the same file reaches the same library and its handler slot.
    std::string message;
    ASSERT_EQ(control_.Load(LibraryPathIn(FakeFolder("forwarding")), message), 0) << message;
    set_handler_ = reinterpret_cast<fake_sikou_set_handler_function>(
        control_.Symbol("fake_sikou_set_handler"));
    ASSERT_NE(set_handler_, nullptr);
    set_handler_(&LibraryBindingTest::Handle, this);
  }

  // What the library saw at each call, and the program's state at that moment.
  struct Call {
    std::string Name;
    fake_sikou_call Arguments;
    int PlyCount;
    int InteractionState;
    int RunningSide;
  };

  static std::int32_t Handle(void* context, const fake_sikou_call* call) {
    return static_cast<LibraryBindingTest*>(context)->OnCall(*call);
  }
  std::int32_t OnCall(const fake_sikou_call& call) {
    calls.push_back(
        {call.name, call, state.Record.PlyCount, state.InteractionState, state.Clock.RunningSide});
    if (calls.back().Name != "sikou") return 0;
    if (replies.empty()) {
      ADD_FAILURE() << "sikou called without a scripted reply";
      return 0;
    }
    ScriptedComputer::Reply reply = replies.front();
    replies.pop_front();
    if (reply.Result > 0) {
      *call.from = reply.Origin;
      *call.to = reply.Destination;
      *call.promote = reply.Promote;
    }
    if (reply.During) reply.During();
    return reply.Result;
  }

  // The calls as "ini sikou0 sikou2 end" (sikou with its move count).
  std::string CallSequence() const {
    std::string out;
    for (const Call& c : calls) {
      if (!out.empty()) out += ' ';
      if (c.Name == "sikou_ini") out += "ini";
      if (c.Name == "sikou") out += "sikou" + std::to_string(c.Arguments.move_count);
      if (c.Name == "sikou_end") out += "end";
    }
    return out;
  }

  // What every call must receive: sikou_ini the address of AbortFlag once the clock runs;
  // sikou the ply, the record's own move list, the mover's clock and three answer slots.
  void ExpectArgumentsOfEveryCall() {
    for (const Call& c : calls) {
      SCOPED_TRACE(c.Name);
      if (c.Name == "sikou_ini") {
        EXPECT_EQ(c.Arguments.abort_flag, &state.AbortFlag);
        EXPECT_EQ(c.RunningSide, SideOfPly(c.PlyCount));
      } else if (c.Name == "sikou") {
        const fake_sikou_call& a = c.Arguments;
        EXPECT_EQ(a.move_count, c.PlyCount);
        EXPECT_EQ(a.moves, reinterpret_cast<const unsigned char*>(state.Record.MoveList));
        EXPECT_EQ(a.elapsed_seconds, &state.Record.Clocks[SideOfPly(c.PlyCount)]);
        EXPECT_TRUE(a.from && a.to && a.promote && a.from != a.to && a.to != a.promote &&
                    a.from != a.promote);
        EXPECT_EQ(c.InteractionState, kStateThinking);
      }
    }
  }

  LibraryBinding binding;
  std::vector<Call> calls;
  std::deque<ScriptedComputer::Reply> replies;

 private:
  DynamicLibrary control_;
  fake_sikou_set_handler_function set_handler_ = nullptr;
};

TEST_F(LibraryBindingTest, FlagsDecideWhetherTheLibraryIsOffered) {
  TempFolder empty, not_a_library;
  std::ofstream(not_a_library.Path() + "sikou" + kSharedLibrarySuffix) << "not a library\n";
  struct Case {
    const char* name;
    std::string folder;
    int flags;
    bool loaded;
  } cases[] = {
      {"no file", empty.Path(), 0, false},
      {"not a library", not_a_library.Path(), 0, false},
      {"only sikou_ini", FakeFolder("ini_only"), kBoundSikouIni, true},
      {"sikou", RealFolder(), kBoundSikouIni | kBoundSikou | kBoundSikouEnd, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LibraryBinding b;
    EXPECT_EQ(b.Bind(c.folder), c.flags);
    EXPECT_EQ(b.Flags(), c.flags);
    EXPECT_EQ(b.Loaded(), c.loaded);
    EXPECT_EQ(b.LoadMessage().empty(), c.loaded);
    // The conditions dialog of a computer game offers the library or not.
    ctx.Library = &b.Player();
    ui = ScriptedUserInterface{};
    ui.ConditionsAnswers.push_back(ScriptedUserInterface::Cancel());
    StartGame(ctx, true);
    ASSERT_EQ(ui.ConditionsShown.size(), 1u);
    EXPECT_EQ(ui.ConditionsShown[0].LibraryOffered, c.flags != 0);
  }
}

TEST_F(LibraryBindingTest, LibraryWithoutSikouResignsAtItsFirstMove) {
  ASSERT_EQ(binding.Bind(FakeFolder("ini_only")), kBoundSikouIni);
  for (bool library_first : {true, false}) {
    SCOPED_TRACE(library_first);
    SetUp();
    StartWith(library_first ? kLibraryPlayer : kPersonPlayer,
              library_first ? kPersonPlayer : kLibraryPlayer);
    if (!library_first) PersonMove("7g7f");
    EXPECT_EQ(state.Record.PlyCount, library_first ? 0 : 1);
    EXPECT_EQ(state.Record.ResultCode, library_first ? kResultSecondWins : kResultFirstWins);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(ui.LastMessage(), "参りました。");
  }
}

TEST_F(LibraryBindingTest, UnloadingOrRebindingLeavesOnlyStubs) {
  BindForwarding();
  ThinkRequest request;
  request.MoveList = state.Record.MoveList;
  ComputerAnswer answer;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    if (round == 0) {
      binding.Unload();
      EXPECT_FALSE(binding.Loaded());
    } else {
      TempFolder empty;
      ASSERT_EQ(binding.Bind(FakeFolder("forwarding")), 7);
      EXPECT_EQ(binding.Bind(empty.Path()), 0);  // the old library must not stay bound
    }
    EXPECT_EQ(binding.Flags(), 0);
    EXPECT_FALSE(binding.Player().Offered());
    int abort_flag = 0;
    binding.Player().BeginGame(&abort_flag);
    EXPECT_EQ(binding.Player().Think(request, answer), 0);
    binding.Player().EndGame();
    EXPECT_TRUE(calls.empty());
  }
}

// When each export is called: sikou_ini at the start of a game with a library side, sikou
// at each of its moves, sikou_end at each ending through the driver except a person's
// ending move and a game over at its start.
TEST_F(LibraryBindingTest, CallsComeAtTheDriversMoments) {
  constexpr const char* kMateInOne = "4k4/9/4G4/9/9/9/9/9/4K4 b G 1";  // G*5b mates
  constexpr const char* kMatedAtStart = "4k4/4G4/4G4/9/9/9/9/9/4K4 w - 1";
  // The library's answers, in order.
  using Reply = ScriptedComputer::Reply;
  const std::vector<Reply> none,
      mates = {ScriptedComputer::Move("G*5b")}, opens = {ScriptedComputer::Move("7g7f")},
      resigns = {ScriptedComputer::Resign()},
      stopped = {ScriptedComputer::Move("7g7f", [this] { state.AbortFlag = kAbortStop; })},
      closed = {ScriptedComputer::Move("7g7f", [this] { (void)NotifyClosing(state); })};
  std::vector<Reply> cycle;
  const char* cycle_moves[] = {"5i4h", "5a4b", "4h5i", "4b5a"};
  for (int i = 0; i < 12; ++i) cycle.push_back(ScriptedComputer::Move(cycle_moves[i % 4]));
  // What the person does once the game has started.
  const std::function<void()> nothing = [] {}, opening = [this] { PersonMove("7g7f"); },
                              mating = [this] { PersonMove("G*5b"); },
                              suspend = [this] { SuspendGame(ctx); },
                              resign = [this] { ResignGame(ctx); };
  const std::function<void()> open_and_suspend = [this] {
    PersonMove("7g7f");
    SuspendGame(ctx);
  };
  struct Case {
    const char* name;
    const char* sfen;  // nullptr: the standard position
    int first, second;
    const std::vector<Reply>& replies;
    const std::function<void()>& after;
    const char* calls;
    int result;
    int plies;
    bool program_ended;
  } cases[] = {
      {"the library mates", kMateInOne, -1, 0, mates, nothing, "ini sikou0 end", kResultFirstWins,
       1, false},
      {"the library's move repeats a position for the fourth time", nullptr, -1, -1, cycle, nothing,
       "ini sikou0 sikou1 sikou2 sikou3 sikou4 sikou5 sikou6 sikou7 sikou8 sikou9 sikou10 "
       "sikou11 end",
       kResultRepetition, 12, false},
      {"the library resigns", nullptr, 0, -1, resigns, opening, "ini sikou1 end", kResultFirstWins,
       1, false},
      {"a person mates", kMateInOne, 0, -1, none, mating, "ini", kResultFirstWins, 1, false},
      {"対局中断", nullptr, -1, 0, opens, suspend, "ini sikou0 end", kResultNone, 1, false},
      {"投了", nullptr, -1, 0, opens, resign, "ini sikou0 end", kResultFirstWins, 1, false},
      {"a stop request", nullptr, -1, 0, stopped, nothing, "ini sikou0 end", kResultNone, 0, false},
      {"closing while thinking", nullptr, -1, 0, closed, nothing, "ini sikou0 end", kResultNone, 0,
       true},
      {"over at the start", kMatedAtStart, -1, 0, none, nothing, "", kResultFirstWins, 1, false},
      {"persons only", nullptr, 0, 0, none, open_and_suspend, "", kResultNone, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    calls.clear();
    replies.assign(c.replies.begin(), c.replies.end());
    if (c.sfen) LoadSfen(c.sfen);
    BindForwarding();
    StartWith(c.first, c.second);
    c.after();
    EXPECT_EQ(CallSequence(), c.calls);
    EXPECT_EQ(state.Record.ResultCode, c.result);
    EXPECT_EQ(state.Record.PlyCount, c.plies);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(ui.EndProgramCalls.size(), c.program_ended ? 1u : 0u);
    EXPECT_TRUE(replies.empty());
    ExpectArgumentsOfEveryCall();
  }
}

TEST_F(LibraryBindingTest, AnswersArePlayedAsGivenAndTheClockIsTheMovers) {
  BindForwarding();
  replies.push_back(ScriptedComputer::Move("7g7f", [this] {
    for (int i = 0; i < 30; ++i) GameClockTick(state);  // three seconds of thinking
  }));
  replies.push_back(ScriptedComputer::Move("8h2b+"));
  replies.push_back(ScriptedComputer::Move("B*4e"));
  StartWith(-1, 0);
  PersonMove("3c3d");
  PersonMove("3a2b");
  EXPECT_EQ(Moves(), "7g7f 3c3d 8h2b+ 3a2b B*4e");
  const GameRecord& r = state.Record;
  EXPECT_EQ(r.MoveList[2], (MoveCode{SquareOf(2, 2) + 100, SquareOf(8, 8)}));
  EXPECT_EQ(r.MoveList[4], (MoveCode{SquareOf(4, 5), DropOrigin(kBishop)}));
  EXPECT_EQ(r.MoveTimes[0], 3);
  EXPECT_EQ(CallSequence(), "ini sikou0 sikou2 sikou4");
  ExpectArgumentsOfEveryCall();
  EXPECT_EQ(state.InteractionState, kStateGame);
  SuspendGame(ctx);
  EXPECT_EQ(CallSequence(), "ini sikou0 sikou2 sikou4 end");
}

}  // namespace
}  // namespace shogi
