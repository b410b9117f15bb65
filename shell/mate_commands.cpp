// The mate-solver commands.
#include "shell/mate_commands.h"

#include "analysis/mate_deepening.h"
#include "platform/cp932.h"
#include "shell/game_driver.h"
#include "shell/view_texts.h"

namespace shogi {
namespace {

// How one of the four commands runs.
struct MateRun {
  Side attacker = kFirst;
  int solver = kSolver2;
  int start_depth = 1;
  bool pump = true;
  bool memory_question = true;
  bool in_game = false;  // 実戦詰将棋: announce only, stop on a full table
};

// The notation of the attacker's first move, as the message area shows it ("▲２二金打").
std::string FirstMoveText(const ProgramState& s, Side attacker, MoveCode move) {
  return MoveTextFrom(s.Record, s.Shown, attacker, move);
}

ViewUpdate RunMate(ShellContext& ctx, const MateRun& run) {
  ProgramState& s = ctx.State;
  ViewUpdate u;
  const char* caption = run.in_game ? kMateInGameCaption : kMateCaption;
  std::string message;
  if (CheckMateProblem(s.Shown, run.attacker, message) != 0) {
    ctx.Ui.ShowMessage(caption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return u;
  }
  MateTable& table = MateCommandTable();
  table.Allocate();
  s.AbortFlag = kAbortNone;
  const int idle_state = s.InteractionState;
  s.InteractionState = idle_state + kStateBusy;

  MateDeepening options;
  options.search.solver = run.solver;
  if (run.pump) options.search.progress = WindowProgress(ctx.View);
  options.search.abort_flag = &s.AbortFlag;
  options.search.table = table.Allocated() ? &table : nullptr;
  options.start_depth = run.start_depth;
  options.on_depth = [&](int depth) {
    SetMessage(s.Message, MateSearchingText(depth));
    u.Redraw(kViewMessage);
    FlushUpdate(ctx, u);
  };
  if (run.in_game) {
    options.on_table_full = [](int) { return false; };
  } else if (run.memory_question) {
    options.on_table_full = [&](int) {
      return AskYesNo(ctx.Ui, kMateCaption, kMateMemoryQuestion);
    };
  }
  const MateDeepeningResult found = DeepenMate(s.Shown, run.attacker, options);
  const bool mate_known = found.outcome == MateOutcome::kMate ||
                          (found.outcome == MateOutcome::kStopped && found.depth > 0);
  bool stopped = found.outcome == MateOutcome::kStopped;

  if (mate_known && !run.in_game && s.AbortFlag >= 0) {
    SetMessage(s.Message, kMateFoundMessage);
    u.Redraw(kViewMessage);
    FlushUpdate(ctx, u);
    MateSolution solution;
    if (!stopped) {
      PlayOutMate(s.Shown, run.attacker, found.depth, found.first_move, options.search, solution);
      stopped = solution.stopped;
    } else {
      solution.moves[solution.count++] = found.first_move;  // found before the stop
    }
    if (s.AbortFlag >= 0) {
      // What was found before a stop is kept: the first move at least, as it mates.
      if (WriteMateSolution(s, solution.moves, solution.count)) {
        if (solution.complete && !stopped) {
          s.Record.ResultCode = run.attacker == kFirst ? kResultFirstWins : kResultSecondWins;
        }
      } else {
        ctx.Ui.ShowMessage(kMateCaption, kMateRecordFullMessage, MessageButtons::kOk,
                           MessageIcon::kWarning);
      }
      u.Redraw(kViewEverything);
    }
  }

  s.InteractionState = idle_state;
  if (s.AbortFlag < 0) {
    // The program is closing: give the memory back and end at once.
    table.Free();
    ctx.View.EndProgram(0);
    return u;
  }
  if (stopped) {
    SetMessage(s.Message, kMateStoppedMessage);
  } else {
    switch (found.outcome) {
      case MateOutcome::kMate:
        if (run.in_game) {
          SetMessage(s.Message, FirstMoveText(s, run.attacker, found.first_move),
                     MateInText(found.depth));
        }
        break;
      case MateOutcome::kNoMate:
        SetMessage(s.Message, kNoMateMessage);
        break;
      case MateOutcome::kUndecided:
        SetMessage(s.Message, MateSearchedUpToText(kMaxMateDepth), kMateGiveUpMessage);
        break;
      case MateOutcome::kTableFull:
        if (run.in_game) {
          SetMessage(s.Message, MateSearchedUpToText(found.depth), kMateGiveUpMessage);
        } else {
          ClearMessage(s.Message);  // "いいえ" to the memory question
        }
        break;
      case MateOutcome::kStopped:
        break;
    }
  }
  u.Redraw(kViewMessage);
  return u;
}

}  // namespace

std::string MateSearchingText(int depth) {
  return std::to_string(depth) + "手詰解析中";
}
std::string MateSearchedUpToText(int depth) {
  return std::to_string(depth) + "手詰まで解析。";
}
std::string MateInText(int depth) {
  return std::to_string(depth) + "手で詰みます。";
}

int ParseMateStartDepth(const std::string& text, int& depth, std::string& message) {
  // Digits may come as ASCII or full width ("０".."９", three bytes each in UTF-8).
  int value = 0, digits = 0;
  std::size_t i = text.find_first_not_of(' ');
  const std::size_t end = text.find_last_not_of(' ') + 1;
  for (; i != std::string::npos && i < end && value <= 100; ++digits) {
    if (text[i] >= '0' && text[i] <= '9') {
      value = value * 10 + (text[i] - '0');
      i += 1;
    } else if (text.compare(i, 2, "\xEF\xBC") == 0 && i + 2 < end &&
               static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
               static_cast<unsigned char>(text[i + 2]) <= 0x99) {
      value = value * 10 + (static_cast<unsigned char>(text[i + 2]) - 0x90);
      i += 3;
    } else {
      digits = -1;
      break;
    }
  }
  if (digits <= 0 || value < 1 || value > kMaxMateDepth || value % 2 == 0) {
    message = kMateStartDepthMessage;
    return 1;
  }
  depth = value;
  return 0;
}

bool WriteMateSolution(ProgramState& s, const MoveCode* moves, int count) {
  if (s.Record.PlyCount < 0 || s.Record.PlyCount + count + 1 > kMaxMoves) return false;
  for (int i = 0; i < count; ++i) {
    const MoveCode m = moves[i];
    if (!PlayMove(s, m.from, DestinationOf(m), IsPromotion(m) ? 1 : 0)) return false;
  }
  // Outside a game no clock runs.
  s.Clock.RunningSide = kNoRunningClock;
  s.Clock.SubSecond = 0;
  return true;
}

MateTable& MateCommandTable() {
  static MateTable table;
  return table;
}

bool MateCommandEnabled(const ProgramState& state) {
  return state.InteractionState == kStateIdle;
}

ViewUpdate SolveMateProblem(ShellContext& ctx, int solver) {
  if (!MateCommandEnabled(ctx.State)) return {};
  MateRun run;
  run.attacker = SideToMove(ctx.State);
  run.solver = solver == kSolver1 ? kSolver1 : kSolver2;
  return RunMate(ctx, run);
}

ViewUpdate SolveMateProblemFrom(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  if (!MateCommandEnabled(s)) return {};
  std::string message;
  if (CheckMateProblem(s.Shown, SideToMove(s), message) != 0) {
    ctx.Ui.ShowMessage(kMateCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return {};
  }
  // The dialog checks "開始" itself; should a wrong depth come back all the same, it is
  // refused here with the same message and the dialog opens again with what was entered.
  MateStartSettings settings;
  MateRun run;
  while (true) {
    if (!ctx.Ui.EditMateStart(settings)) return {};
    if (ParseMateStartDepth(settings.StartDepth, run.start_depth, message) == 0) break;
    ctx.Ui.ShowMessage(kMateStartDepthCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
  }
  run.attacker = SideToMove(s);
  run.pump = settings.Multitask;
  run.memory_question = settings.MemoryCheck;
  return RunMate(ctx, run);
}

ViewUpdate FindMateInGame(ShellContext& ctx) {
  if (!MateCommandEnabled(ctx.State)) return {};
  const MateAttackerChoice choice = ctx.Ui.ChooseMateAttacker();
  if (choice == MateAttackerChoice::kCancel) return {};
  MateRun run;
  run.attacker = choice == MateAttackerChoice::kFirstPlayer ? kFirst : kSecond;
  run.memory_question = false;
  run.in_game = true;
  return RunMate(ctx, run);
}

}  // namespace shogi
