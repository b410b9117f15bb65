// The wxWidgets settings store.
#include "shell/gui/wx_profile.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/utils.h>

namespace shogi::gui {
namespace {

wxString KeyPath(std::string_view section, std::string_view key) {
  return "/" + wxString::FromUTF8(section.data(), section.size()) + "/" +
         wxString::FromUTF8(key.data(), key.size());
}

#ifndef _WIN32
wxString DefaultFile() {
  wxString base;
  if (!wxGetEnv("XDG_CONFIG_HOME", &base) || base.empty()) {
    base = wxFileName::GetHomeDir() + "/.config";
  }
  return base + "/Velnor/Shogi.conf";
}
#endif

}  // namespace

WxProfile::WxProfile() {
#ifdef _WIN32
  config_ = std::make_unique<wxConfig>("Shogi", "Velnor");
#else
  wxString file = DefaultFile();
  wxFileName::Mkdir(wxFileName(file).GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  config_ = std::make_unique<wxFileConfig>("Shogi", "Velnor", file, wxEmptyString,
                                           wxCONFIG_USE_LOCAL_FILE);
#endif
}

WxProfile::WxProfile(const wxString& file) {
  config_ = std::make_unique<wxFileConfig>("Shogi", "Velnor", file, wxEmptyString,
                                           wxCONFIG_USE_LOCAL_FILE);
}

std::string WxProfile::GetString(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
  wxString value;
  if (!config_->Read(KeyPath(section, key), &value)) return std::string(default_value);
  return value.utf8_string();
}

int WxProfile::GetInt(std::string_view section, std::string_view key, int default_value) const {
  wxString text;
  int value = default_value;
  if (!config_->Read(KeyPath(section, key), &text) || !ParseProfileInt(text.utf8_string(), value)) {
    return default_value;
  }
  return value;
}

bool WxProfile::WriteString(std::string_view section, std::string_view key,
                            std::string_view value) {
  return config_->Write(KeyPath(section, key), wxString::FromUTF8(value.data(), value.size()));
}

bool WxProfile::WriteInt(std::string_view section, std::string_view key, int value) {
  return config_->Write(KeyPath(section, key), static_cast<long>(value));
}

}  // namespace shogi::gui
