// The "詰将棋（df-pn）" command.
#include "shell/dfpn_command.h"

#include <cstdio>

#include "analysis/dfpn_solver.h"
#include "analysis/mate_solver.h"
#include "shell/game_driver.h"
#include "shell/mate_commands.h"
#include "shell/settings.h"

namespace shogi {
namespace {

// A whole number typed in a field (spaces around it allowed) within low..high.
bool ReadField(const std::string& text, int low, int high, int& value) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return false;
  const std::size_t end = text.find_last_not_of(' ');
  return ParseProfileInt(std::string_view(text).substr(begin, end - begin + 1), value) &&
         value >= low && value <= high;
}

std::string RangeMessage(int high) {
  return "1～" + std::to_string(high) + "の範囲の数を入力してください。";
}

// 1234567 as "1,234,567".
std::string Grouped(std::uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace

DfpnField CheckDfpnSettings(const DfpnSettings& settings, DfpnChoice& choice, std::string& caption,
                            std::string& message) {
  DfpnChoice read;
  if (!ReadField(settings.Seconds, 1, kMaxDfpnSeconds, read.Seconds)) {
    caption = kDfpnSecondsCaption;
    message = RangeMessage(kMaxDfpnSeconds);
    return DfpnField::kSeconds;
  }
  if (!ReadField(settings.TableMegabytes, 1, kMaxDfpnTableMegabytes, read.TableMegabytes)) {
    caption = kDfpnTableCaption;
    message = RangeMessage(kMaxDfpnTableMegabytes);
    return DfpnField::kTable;
  }
  choice = read;
  return DfpnField::kNone;
}

std::string DfpnProgressText(std::uint64_t nodes, double seconds) {
  char time[32];
  std::snprintf(time, sizeof time, "%.1f", seconds);
  return "df-pn " + Grouped(nodes) + "局面 " + time + "秒";
}

ViewUpdate SolveMateByDfpn(ShellContext& ctx, Profile& profile) {
  ProgramState& s = ctx.State;
  ViewUpdate u;
  if (!MateCommandEnabled(s)) return u;
  const Side attacker = SideToMove(s);
  std::string message, caption;
  if (CheckMateProblem(s.Shown, attacker, message) != 0) {
    ctx.Ui.ShowMessage(kMateCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return u;
  }
  DfpnSettings settings;
  settings.Seconds =
      std::to_string(profile.GetInt(kSectionSettings, kKeyDfpnSeconds, kDefaultDfpnSeconds));
  settings.TableMegabytes =
      std::to_string(profile.GetInt(kSectionSettings, kKeyDfpnTable, kDefaultDfpnTableMegabytes));
  // The dialog checks "開始" itself; should wrong values come back all the same, they are
  // refused here with the same message and the dialog opens again with what was entered.
  DfpnChoice choice;
  while (true) {
    if (!ctx.Ui.EditDfpnSettings(settings)) return u;
    if (CheckDfpnSettings(settings, choice, caption, message) == DfpnField::kNone) break;
    ctx.Ui.ShowMessage(caption, message, MessageButtons::kOk, MessageIcon::kWarning);
  }
  (void)profile.WriteInt(kSectionSettings, kKeyDfpnSeconds, choice.Seconds);
  (void)profile.WriteInt(kSectionSettings, kKeyDfpnTable, choice.TableMegabytes);

  // The table lives for this command only: hundreds of megabytes are not kept idle.
  DfpnTable table;
  if (table.Allocate(static_cast<std::size_t>(choice.TableMegabytes)) == 0) {
    ctx.Ui.ShowMessage(kMateCaption, kDfpnMemoryMessage, MessageButtons::kOk,
                       MessageIcon::kWarning);
    return u;
  }
  s.AbortFlag = kAbortNone;
  const int idle_state = s.InteractionState;
  s.InteractionState = idle_state + kStateBusy;
  SetMessage(s.Message, kDfpnSearchingMessage);
  u.Redraw(kViewMessage);
  FlushUpdate(ctx, u);

  DfpnLimits limits;
  limits.seconds = choice.Seconds;
  limits.on_progress = [&](std::uint64_t nodes, double seconds) {
    ctx.View.PumpMessages();  // the clock, the status bar and the right-click stop keep working
    ctx.View.SetStatusText(DfpnProgressText(nodes, seconds));
    return s.AbortFlag == kAbortNone;
  };
  const DfpnResult result = SolveDfpn(s.Shown, attacker, table, limits);
  table.Free();
  s.InteractionState = idle_state;
  if (s.AbortFlag < 0) {
    ctx.View.EndProgram(0);  // the program is closing: end at once
    return u;
  }
  ctx.View.SetStatusText(DfpnProgressText(result.nodes, result.seconds));

  switch (result.outcome) {
    case DfpnOutcome::kMate: {
      const int length = static_cast<int>(result.line.size());
      // A mate found when the limit ended the search for the shortest one says so.
      SetMessage(
          s.Message, kMateFoundMessage,
          result.shortest ? MateInText(length) : std::to_string(length) + kDfpnUnconfirmedSuffix);
      if (WriteMateSolution(s, result.line.data(), length)) {
        s.Record.ResultCode = attacker == kFirst ? kResultFirstWins : kResultSecondWins;
      } else {
        ctx.Ui.ShowMessage(kMateCaption, kMateRecordFullMessage, MessageButtons::kOk,
                           MessageIcon::kWarning);
      }
      u.Redraw(kViewEverything);
      break;
    }
    case DfpnOutcome::kNoMate:
      SetMessage(s.Message, kDfpnNoMateMessage);
      break;
    case DfpnOutcome::kUnknown:
      SetMessage(s.Message, kDfpnTimeUpMessage);
      break;
    case DfpnOutcome::kStopped:
      SetMessage(s.Message, kMateStoppedMessage);
      break;
    case DfpnOutcome::kRefused:
      ClearMessage(s.Message);
      ctx.Ui.ShowMessage(kMateCaption, result.message, MessageButtons::kOk, MessageIcon::kWarning);
      break;
  }
  u.Redraw(kViewMessage);
  return u;
}

}  // namespace shogi
