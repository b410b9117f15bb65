// The window's texts: the shell hands UTF-8, wxWidgets takes wxString; paths, the file
// dialogs' type lists and the labelled text fields the dialogs share.
#pragma once

#include <wx/sizer.h>
#include <wx/string.h>
#include <wx/textctrl.h>
#include <wx/window.h>

#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace shogi::gui {

inline wxString U(const std::string& utf8) {
  return wxString::FromUTF8(utf8);
}
inline wxString U(const char* utf8) {
  return wxString::FromUTF8(utf8);
}

// A path of the file system as wxWidgets names it, and back.
wxString PathToWx(const std::string& path);
std::string PathFromWx(const wxString& path);

// A label and a text field of `width` pixels holding `text`, added as one row of `grid`.
wxTextCtrl* AddField(wxWindow* parent, wxFlexGridSizer* grid, const char* label,
                     const std::string& text, int width);

// The wildcard text of a file dialog ("caption|pattern|caption|pattern").
wxString WildcardOf(const std::vector<FileFilter>& filters);

}  // namespace shogi::gui
