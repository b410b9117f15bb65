// The output dialogs: CInsatsu "局面図印字　" (title, two side labels, magnification and three
// comment lines of the diagram print) and CTumeBmp "詰将棋--->BMP" (the problem picture of
// output/ shown as drawn, its labels and file, 作成 / 盤反転 / 再表示 / ｷｬﾝｾﾙ).
#pragma once

#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/statbmp.h>
#include <wx/textctrl.h>

#include "output/print_layout.h"
#include "shell/output_commands.h"

namespace shogi::gui {

class CInsatsu : public wxDialog {
 public:
  CInsatsu(wxWindow* parent, const PrintSettings& settings);

  // The settings with the fields as they stand, each cut to its byte limit in cp932.
  PrintSettings Settings() const;

  wxTextCtrl* TitleField() const { return title_; }
  wxTextCtrl* SenteField() const { return sente_; }
  wxTextCtrl* GoteField() const { return gote_; }
  wxChoice* MagnificationList() const { return magnification_; }
  wxTextCtrl* CommentField(int i) const { return comments_[i]; }

 private:
  PrintSettings settings_;
  wxTextCtrl* title_ = nullptr;
  wxTextCtrl* sente_ = nullptr;
  wxTextCtrl* gote_ = nullptr;
  wxChoice* magnification_ = nullptr;
  wxTextCtrl* comments_[3] = {};
};

class CTumeBmp : public wxDialog {
 public:
  CTumeBmp(wxWindow* parent, ProblemBitmapSession& session);

  // The buttons: "作成", "盤反転", "再表示" and "...".
  void PressWrite();
  void PressFlip();
  void PressRedraw();
  void PressBrowse();

  wxStaticBitmap* Picture() const { return picture_; }
  wxTextCtrl* SenteField() const { return sente_; }
  wxTextCtrl* GoteField() const { return gote_; }
  wxTextCtrl* PathField() const { return path_; }

 private:
  // Takes the fields into the session; false when a label is too long (the box was shown).
  bool TakeFields();
  void ShowPicture();

  ProblemBitmapSession& session_;
  wxStaticBitmap* picture_ = nullptr;
  wxTextCtrl* sente_ = nullptr;
  wxTextCtrl* gote_ = nullptr;
  wxTextCtrl* path_ = nullptr;
};

}  // namespace shogi::gui
