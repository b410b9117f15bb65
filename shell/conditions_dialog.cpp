// The game-conditions dialog's lists and checks.
#include "shell/conditions_dialog.h"

#include "database_files/name_lists.h"
#include "platform/cp932.h"
#include "players/computer_player.h"
#include "shell/board_setup.h"

namespace shogi {
namespace {

constexpr const char* kHumanEntry = "人間";
constexpr const char* kLibraryEntry = "CSA将棋(DLL)";

// Reads a whole decimal number with optional surrounding spaces, as the dialog's integer
// fields accept it.
bool ParseFieldInt(const std::string& text, int& value) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string::npos) return false;
  std::size_t e = text.find_last_not_of(' ');
  std::string t = text.substr(b, e - b + 1);
  std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i == t.size() || t.size() - i > 9) return false;
  for (std::size_t j = i; j < t.size(); ++j) {
    if (t[j] < '0' || t[j] > '9') return false;
  }
  value = std::stoi(t);
  return true;
}

std::size_t Cp932Bytes(const std::string& utf8) {
  std::string out;
  return Utf8ToCp932(utf8, out) ? out.size() : utf8.size();
}

std::vector<std::string> ToUtf8(const std::vector<std::string>& cp932) {
  std::vector<std::string> out;
  out.reserve(cp932.size());
  for (const std::string& s : cp932) out.push_back(Utf8(s));
  return out;
}

struct Failure {
  ConditionsField Field;
  const char* Caption;
  const char* Message;
};

}  // namespace

std::vector<std::string> ComputerPlayerList(bool library_offered,
                                            const std::vector<std::string>& engines) {
  std::vector<std::string> list{kHumanEntry};
  for (int level = 1; level <= 9; ++level) list.push_back("思考ﾚﾍﾞﾙ" + std::to_string(level));
  if (library_offered) list.push_back(kLibraryEntry);
  list.insert(list.end(), engines.begin(), engines.end());
  return list;
}

int PlayerKindOfEntry(int index, bool library_offered, std::size_t engines) {
  const int builtin = static_cast<int>(ComputerPlayerList(library_offered).size());
  if (index <= 0 || index >= builtin + static_cast<int>(engines)) return kPersonPlayer;
  if (index >= builtin) return kFirstEnginePlayer + (index - builtin);
  // The entry after the nine levels is the library: 9 - 10 = -1.
  return index > 9 ? 9 - index : index;
}

int PlayerKindOfText(const std::string& text, bool library_offered,
                     const std::vector<std::string>& engines) {
  // A built-in entry's text names the built-in player, even when an engine shares it.
  const std::vector<std::string> list = ComputerPlayerList(library_offered, engines);
  const int choice = PlayerChoiceOf(list, text, -1);
  return PlayerKindOfEntry(choice, library_offered, engines.size());
}

int PlayerChoiceOf(const std::vector<std::string>& players, const std::string& text,
                   int selection) {
  if (selection >= 0 && selection < static_cast<int>(players.size()) &&
      players[selection] == text) {
    return selection;
  }
  for (std::size_t i = 0; i < players.size(); ++i) {
    if (players[i] == text) return static_cast<int>(i);
  }
  return -1;
}

ConditionsLists LoadConditionsLists(const GameConditions& c, const std::string& folder) {
  ConditionsLists lists;
  lists.Players = c.ComputerMode ? ComputerPlayerList(c.LibraryOffered, c.Engines)
                                 : ToUtf8(LoadPlayerNames(folder));
  lists.Tournaments = ToUtf8(LoadTournamentNames(folder));
  lists.Openings = ToUtf8(LoadOpeningNames(folder));
  for (int i = kPresetCurrent; i <= kLastDialogPreset; ++i) {
    lists.StartPositions.push_back(StartPresetName(i));
  }
  return lists;
}

ConditionsForm FormFromConditions(const GameConditions& c) {
  ConditionsForm f;
  f.FirstPlayer = Utf8(c.FirstPlayer);
  f.SecondPlayer = Utf8(c.SecondPlayer);
  f.Tournament = Utf8(c.Tournament);
  f.GameNumber = Utf8(c.GameNumber);
  f.Year = std::to_string(c.Year);
  f.Month = std::to_string(c.Month);
  f.Day = std::to_string(c.Day);
  f.Opening = Utf8(c.Opening);
  f.Comment = Utf8(c.Comment);
  f.StartPosition = c.StartPosition >= kPresetCurrent && c.StartPosition <= kLastDialogPreset
                        ? c.StartPosition
                        : kPresetCurrent;
  f.BoardFlipped = c.BoardFlipped;
  return f;
}

bool AcceptConditions(UserInterface& ui, const ConditionsForm& f, GameConditions& c,
                      ConditionsField& focus) {
  auto refuse = [&](const Failure& failure) {
    focus = failure.Field;
    ui.ShowMessage(failure.Caption, failure.Message, MessageButtons::kOk, MessageIcon::kWarning);
    return false;
  };
  focus = ConditionsField::kNone;

  if (Cp932Bytes(f.GameNumber) > kGameNumberBytes) {
    return refuse({ConditionsField::kGameNumber, "局", "１文字以内で入力してください。"});
  }
  struct DateField {
    const std::string& Text;
    int Low, High;
    ConditionsField Field;
    const char* Caption;
    const char* Message;
    int* Out;
  };
  int year = 0, month = 0, day = 0;
  const DateField dates[] = {
      {f.Year, 1, 9999, ConditionsField::kYear, "年", "1～9999の範囲で設定してください。", &year},
      {f.Month, 1, 12, ConditionsField::kMonth, "月", "1～12の範囲で設定してください。", &month},
      {f.Day, 1, 31, ConditionsField::kDay, "日", "1～31の範囲で設定してください。", &day},
  };
  for (const DateField& d : dates) {
    if (!ParseFieldInt(d.Text, *d.Out)) {
      return refuse({d.Field, d.Caption, "整数を入力してください。"});
    }
    if (*d.Out < d.Low || *d.Out > d.High) return refuse({d.Field, d.Caption, d.Message});
  }
  if (Cp932Bytes(f.Comment) > kCommentBytes) {
    return refuse({ConditionsField::kComment, "コメント", "32文字以内で入力してください。"});
  }

  // Every text goes into a cp932 field of the record; one that cp932 cannot hold would be
  // lost, so it is refused here instead.
  struct TextField {
    const std::string& Text;
    ConditionsField Field;
    const char* Caption;
    std::string* Out;
  };
  GameConditions answer = c;
  const TextField texts[] = {
      {f.FirstPlayer, ConditionsField::kFirstPlayer, "先手", &answer.FirstPlayer},
      {f.SecondPlayer, ConditionsField::kSecondPlayer, "後手", &answer.SecondPlayer},
      {f.Tournament, ConditionsField::kTournament, "棋戦名", &answer.Tournament},
      {f.GameNumber, ConditionsField::kGameNumber, "局", &answer.GameNumber},
      {f.Opening, ConditionsField::kOpening, "戦型", &answer.Opening},
      {f.Comment, ConditionsField::kComment, "コメント", &answer.Comment},
  };
  for (const TextField& t : texts) {
    if (!Utf8ToCp932(t.Text, *t.Out)) {
      return refuse({t.Field, t.Caption, "使用できない文字が含まれています。"});
    }
  }
  answer.Year = year;
  answer.Month = month;
  answer.Day = day;
  answer.BoardFlipped = f.BoardFlipped;
  answer.StartPosition = f.StartPosition;

  if (!c.StartEditable && f.StartPosition != kPresetCurrent) {
    ui.ShowMessage("開始局面", "対局途中ですので、ここを変更しても局面図は変更されません。",
                   MessageButtons::kOk, MessageIcon::kInformation);
    answer.StartPosition = kPresetCurrent;
  }

  answer.PlayerKind[0] = answer.PlayerKind[1] = kPersonPlayer;
  if (c.ComputerMode) {
    const std::vector<std::string> list = ComputerPlayerList(c.LibraryOffered, c.Engines);
    const int first = PlayerChoiceOf(list, f.FirstPlayer, f.FirstChoice);
    const int second = PlayerChoiceOf(list, f.SecondPlayer, f.SecondChoice);
    answer.PlayerKind[0] = PlayerKindOfEntry(first, c.LibraryOffered, c.Engines.size());
    answer.PlayerKind[1] = PlayerKindOfEntry(second, c.LibraryOffered, c.Engines.size());
  }
  if (IsLibraryPlayer(answer.PlayerKind[0]) || IsLibraryPlayer(answer.PlayerKind[1])) {
    const bool even = answer.StartPosition == kPresetEven ||
                      (answer.StartPosition == kPresetCurrent && c.StandardStart);
    if (!even) {
      return refuse({ConditionsField::kStartPosition, "対局者",
                     "CSA将棋(DLL)での対局は、平手初期局面である必要があります。"});
    }
  }
  c = answer;
  return true;
}

}  // namespace shogi
