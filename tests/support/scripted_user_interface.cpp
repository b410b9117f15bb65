// The scripted person of the tests.
#include "tests/support/scripted_user_interface.h"

#include "platform/cp932.h"
#include "shell/conditions_dialog.h"
#include "shell/search_commands.h"

#include <gtest/gtest.h>

namespace shogi::test {

ScriptedUserInterface::ConditionsAnswer ScriptedUserInterface::Accept() {
  return [](GameConditions&) { return true; };
}

ScriptedUserInterface::ConditionsAnswer ScriptedUserInterface::Cancel() {
  return [](GameConditions&) { return false; };
}

ScriptedUserInterface::ConditionsAnswer ScriptedUserInterface::AcceptPlayers(int first_kind,
                                                                             int second_kind,
                                                                             int start_position) {
  return [=](GameConditions& c) {
    c.PlayerKind[0] = first_kind;
    c.PlayerKind[1] = second_kind;
    c.StartPosition = start_position;
    // In computer mode the person picks a computer player's entry of the list, which becomes
    // that side's name.
    if (c.ComputerMode) {
      for (const std::string& entry : ComputerPlayerList(c.LibraryOffered, c.Engines)) {
        const int kind = PlayerKindOfText(entry, c.LibraryOffered, c.Engines);
        if (kind == 0) continue;
        if (kind == first_kind) c.FirstPlayer = Cp932(entry);
        if (kind == second_kind) c.SecondPlayer = Cp932(entry);
      }
    }
    return true;
  };
}

std::vector<std::string> ScriptedUserInterface::MessageTexts() const {
  std::vector<std::string> texts;
  for (const ShownMessage& m : Messages) texts.push_back(m.Text);
  return texts;
}

std::string ScriptedUserInterface::LastMessage() const {
  return Messages.empty() ? std::string() : Messages.back().Text;
}

MessageAnswer ScriptedUserInterface::ShowMessage(const std::string& caption,
                                                 const std::string& text, MessageButtons buttons,
                                                 MessageIcon icon) {
  Messages.push_back({caption, text, buttons, icon});
  if (OnMessage) OnMessage(Messages.back());
  if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
  MessageAnswer answer =
      buttons == MessageButtons::kOkCancel ? MessageAnswer::kCancel : MessageAnswer::kNo;
  TakeAnswer(MessageAnswers, "question \"" + text + "\" (" + caption + ")", answer);
  return answer;
}

FileDialogResult ScriptedUserInterface::NextFileAnswer(const FileDialogRequest& request) {
  FileRequests.push_back(request);
  FileDialogResult answer{};
  TakeAnswer(FileAnswers, "file dialog \"" + request.Title + "\"", answer);
  return answer;
}

FileDialogResult ScriptedUserInterface::ChooseOpenFile(const FileDialogRequest& request) {
  return NextFileAnswer(request);
}

FileDialogResult ScriptedUserInterface::ChooseSaveFile(const FileDialogRequest& request) {
  return NextFileAnswer(request);
}

int ScriptedUserInterface::ChooseFromList(const std::string& title, const std::string&,
                                          const std::vector<std::string>&, int) {
  ListTitles.push_back(title);
  int answer = -1;
  TakeAnswer(ListAnswers, "list choice \"" + title + "\"", answer);
  return answer;
}

bool ScriptedUserInterface::InputText(const std::string& title, const std::string&,
                                      std::string& text) {
  std::optional<std::string> answer;
  if (!TakeAnswer(TextAnswers, "text input \"" + title + "\"", answer) || !answer) return false;
  text = *answer;
  return true;
}

void ScriptedUserInterface::SetStatusText(const std::string& text) {
  StatusTexts.push_back(text);
}

bool ScriptedUserInterface::EditGameConditions(GameConditions& conditions) {
  ConditionsShown.push_back(conditions);
  ConditionsAnswer answer;
  return TakeAnswer(ConditionsAnswers, "game-conditions dialog", answer) && answer(conditions);
}

bool ScriptedUserInterface::EditReplaySpeed(int& interval_ms) {
  std::optional<int> answer;
  if (!TakeAnswer(SpeedAnswers, "replay-speed dialog", answer) || !answer) return false;
  interval_ms = *answer;
  return true;
}

bool ScriptedUserInterface::EditPieceValues(PieceValueTable& values) {
  std::function<bool(PieceValueTable&)> answer;
  return TakeAnswer(PieceValueAnswers, "piece-value dialog", answer) && answer(values);
}

void ScriptedUserInterface::ShowBookMoves(const std::vector<BookMoveRow>& rows) {
  BookMovesShown.push_back(rows);
}

bool ScriptedUserInterface::EditSearchConditions(SearchConditions& conditions, SearchDates& dates,
                                                 const SearchChoices&) {
  SearchShown.push_back(conditions);
  SearchConditions typed = conditions;
  std::function<bool(SearchConditions&)> answer;
  while (TakeAnswer(SearchAnswers, "search dialog", answer)) {
    if (!answer(typed)) return false;
    SearchField focus = SearchField::kNone;
    if (AcceptSearchConditions(*this, typed, dates, focus)) {
      conditions = typed;
      return true;
    }
    SearchFocus.push_back(focus);
  }
  return false;
}

void ScriptedUserInterface::ShowAnalysis(const AnalysisView* view) {
  AnalysisOpen = view != nullptr;
  if (view) AnalysisShown.push_back(*view);
}

void ScriptedUserInterface::ShowGameList(GameListSession& session) {
  GameLists.push_back({session.Title(), session.Header(), session.Lines()});
  if (GameListAnswers.empty()) {
    session.Cancel();
    return;
  }
  auto answer = std::move(GameListAnswers.front());
  GameListAnswers.pop_front();
  answer(session);
}

bool ScriptedUserInterface::EditBookBuild(BookBuildOptions& options) {
  BookBuildShown.push_back(options);
  std::function<bool(BookBuildOptions&)> answer;
  return TakeAnswer(BookBuildAnswers, "book builder dialog", answer) && answer(options);
}

SortOrderChoice ScriptedUserInterface::ChooseSortOrder() {
  SortOrderChoice answer = SortOrderChoice::kCancel;
  TakeAnswer(SortAnswers, "sort dialog", answer);
  return answer;
}

bool ScriptedUserInterface::OpenInTextEditor(const std::string& path) {
  EditedFiles.push_back(path);
  return EditorStarts;
}

void ScriptedUserInterface::ApplyUpdate(const ViewUpdate& update) {
  Updates.push_back(update);
}

void ScriptedUserInterface::EndProgram(int exit_code) {
  EndProgramCalls.push_back(exit_code);
}

void ScriptedUserInterface::ShowRecordFile(const std::string& path, bool read) {
  RecordFiles.push_back({path, read});
}

}  // namespace shogi::test
