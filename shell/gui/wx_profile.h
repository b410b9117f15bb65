// The settings store of the window program: wxWidgets' configuration (the registry on
// Windows, a settings file elsewhere) under the vendor name "Velnor".
#pragma once

#include <wx/config.h>

#include <memory>

#include "platform/profile.h"

namespace shogi::gui {

// Sections are configuration groups: section "ファイル名", key "棋譜" is "/ファイル名/棋譜".
class WxProfile : public Profile {
 public:
  // The user's store of the program "Shogi" of vendor "Velnor"; on Linux the file
  // $XDG_CONFIG_HOME/Velnor/Shogi.conf (~/.config when the variable is not set).
  WxProfile();
  // A store in the given file (tests, or a copy carried along with the program).
  explicit WxProfile(const wxString& file);

  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view default_value) const override;
  int GetInt(std::string_view section, std::string_view key, int default_value) const override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;
  bool WriteInt(std::string_view section, std::string_view key, int value) override;

  // Writes pending changes out (also done when the store goes away).
  void Flush() { config_->Flush(); }

 private:
  std::unique_ptr<wxConfigBase> config_;
};

}  // namespace shogi::gui
