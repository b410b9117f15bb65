// The small conveniences over UserInterface that command handlers share.
#include "platform/user_interface.h"

namespace shogi {

bool AskYesNo(UserInterface& ui, const std::string& caption, const std::string& text) {
  return ui.ShowMessage(caption, text, MessageButtons::kYesNo, MessageIcon::kQuestion) ==
         MessageAnswer::kYes;
}

void ShowInformation(UserInterface& ui, const std::string& caption, const std::string& text) {
  ui.ShowMessage(caption, text, MessageButtons::kOk, MessageIcon::kInformation);
}

}  // namespace shogi
