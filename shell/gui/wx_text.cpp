// The window's shared text helpers.
#include "shell/gui/wx_text.h"

#include <wx/stattext.h>

namespace shogi::gui {

wxTextCtrl* AddField(wxWindow* parent, wxFlexGridSizer* grid, const char* label,
                     const std::string& text, int width) {
  grid->Add(new wxStaticText(parent, wxID_ANY, U(label)), 0, wxALIGN_CENTER_VERTICAL);
  auto* field = new wxTextCtrl(parent, wxID_ANY, U(text), wxDefaultPosition, wxSize(width, -1));
  grid->Add(field, 1, wxEXPAND);
  return field;
}

wxString PathToWx(const std::string& path) {
#ifdef _WIN32
  return wxString(path.c_str(), wxCSConv(wxFONTENCODING_CP932));
#else
  return wxString::FromUTF8(path);
#endif
}
std::string PathFromWx(const wxString& path) {
#ifdef _WIN32
  return std::string(path.mb_str(wxCSConv(wxFONTENCODING_CP932)));
#else
  return path.utf8_string();
#endif
}

wxString WildcardOf(const std::vector<FileFilter>& filters) {
  wxString out;
  for (const FileFilter& f : filters) {
    if (!out.empty()) out += "|";
    out += U(f.Caption) + "|" + U(f.Pattern);
  }
  return out;
}

}  // namespace shogi::gui
