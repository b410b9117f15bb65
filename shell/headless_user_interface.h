// The person's side of the game driver when nobody is there (matches, benchmarks): the
// conditions dialog answers with two fixed player kinds and the current position, a
// yes/no question with いいえ, every other box is passed and remembered.
#pragma once

#include <string>
#include <vector>

#include "shell/shell_user_interface.h"

namespace shogi {

class HeadlessUserInterface : public ShellUserInterface {
 public:
  HeadlessUserInterface(int first_kind, int second_kind) : kinds_{first_kind, second_kind} {}

  MessageAnswer ShowMessage(const std::string&, const std::string& text, MessageButtons buttons,
                            MessageIcon) override {
    last_message_ = text;
    return buttons == MessageButtons::kYesNo ? MessageAnswer::kNo : MessageAnswer::kOk;
  }
  FileDialogResult ChooseOpenFile(const FileDialogRequest&) override { return {}; }
  FileDialogResult ChooseSaveFile(const FileDialogRequest&) override { return {}; }
  int ChooseFromList(const std::string&, const std::string&, const std::vector<std::string>&,
                     int) override {
    return -1;
  }
  bool InputText(const std::string&, const std::string&, std::string&) override { return false; }
  void SetStatusText(const std::string&) override {}
  bool EditGameConditions(GameConditions& c) override {
    c.PlayerKind[0] = kinds_[0];
    c.PlayerKind[1] = kinds_[1];
    c.StartPosition = 0;  // 現在の局面
    return true;
  }
  bool EditReplaySpeed(int&) override { return false; }
  bool OpenInTextEditor(const std::string&) override { return false; }
  void ApplyUpdate(const ViewUpdate&) override {}
  void EndProgram(int) override {}
  void ShowRecordFile(const std::string&, bool) override {}
  WindowPlacement FramePlacement() override { return {}; }
  void CloseMainWindow() override {}

  const std::string& LastMessage() const { return last_message_; }

 private:
  int kinds_[2];
  std::string last_message_;
};

}  // namespace shogi
