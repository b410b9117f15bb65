// What the program asks of the person, whatever the window system: message boxes with
// buttons, file dialogs, list and text choices.
#pragma once

#include <string>
#include <vector>

namespace shogi {

enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageIcon { kNone, kInformation, kQuestion, kWarning, kError };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

// One entry of a file dialog's type list: the caption shown and the pattern ("*.kif").
struct FileFilter {
  std::string Caption;
  std::string Pattern;
};

struct FileDialogRequest {
  std::string Title;  // UTF-8
  std::vector<FileFilter> Filters;
  int FilterIndex = 0;      // the entry selected at first (the record formats' list)
  std::string InitialPath;  // a path in the file system's own encoding
  // An open dialog that also takes the name of a file that does not exist yet (a database
  // to be created); otherwise an open dialog takes existing files only.
  bool MayBeNew = false;
};

struct FileDialogResult {
  bool Chosen = false;  // false: the person cancelled
  std::string Path;
  int FilterIndex = 0;  // the entry of the type list chosen
};

// Implemented by the window (real dialogs) and by tests (scripted answers). All texts are
// UTF-8. Every call is modal: it returns when the person has answered.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  virtual MessageAnswer ShowMessage(const std::string& caption, const std::string& text,
                                    MessageButtons buttons = MessageButtons::kOk,
                                    MessageIcon icon = MessageIcon::kNone) = 0;
  [[nodiscard]] virtual FileDialogResult ChooseOpenFile(const FileDialogRequest& request) = 0;
  [[nodiscard]] virtual FileDialogResult ChooseSaveFile(const FileDialogRequest& request) = 0;
  // Index of the chosen item, or -1 when cancelled.
  [[nodiscard]] virtual int ChooseFromList(const std::string& title, const std::string& prompt,
                                           const std::vector<std::string>& items, int initial) = 0;
  // A line of text; false when cancelled (`text` holds the initial value on entry).
  [[nodiscard]] virtual bool InputText(const std::string& title, const std::string& prompt,
                                       std::string& text) = 0;
};

// A Yes/No question with the question icon; true on "はい".
[[nodiscard]] bool AskYesNo(UserInterface& ui, const std::string& caption, const std::string& text);
// An information box with only "OK".
void ShowInformation(UserInterface& ui, const std::string& caption, const std::string& text);

}  // namespace shogi
