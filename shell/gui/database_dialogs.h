// The database menus' search and list dialogs: CKensaku (the search conditions, checked by
// the UI-free AcceptSearchConditions) and the lists CKisen and CTarvel, which only show what
// a GameListSession gives and hand the person's actions to it.
#pragma once

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/scrolbar.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "shell/search_commands.h"

namespace shogi::gui {

class CKensaku : public wxDialog {
 public:
  // `ui` shows a refused field's message.
  CKensaku(wxWindow* parent, const SearchConditions& conditions, const SearchChoices& choices,
           UserInterface& ui);

  // Presses OK: true when the dates passed their check (the dialog then ends); a refused
  // field has the focus with its text selected.
  bool PressOk();
  // The conditions and dates as last accepted by PressOk.
  const SearchConditions& Conditions() const { return accepted_; }
  const SearchDates& Dates() const { return dates_; }

  // The control of a field (SearchField's ids); nullptr for none.
  wxComboBox* NameField(SearchField field) const;
  wxTextCtrl* DateField(SearchField field) const;
  wxChoice* PositionModeField() const { return mode_; }

 private:
  SearchConditions Typed() const;

  UserInterface& ui_;
  SearchConditions accepted_;
  SearchDates dates_;
  wxChoice* mode_ = nullptr;
};

// The control ids of a list dialog.
struct ListDialogIds {
  int List, ScrollBar, Header, Extract, Delete, Column1, Column2;
};

// CKisen "棋　泉　一　覧　表" and CTarvel: the same layout with their own ids.
class CGameListDialog : public wxDialog {
 public:
  CGameListDialog(wxWindow* parent, GameListSession& session);

  // The person's actions, as the controls' events run them.
  void DoubleClickLine(int line);
  void ScrollEvent(GameList::ScrollAction action, int thumb);
  void PressColumn(int which);
  void PressDelete();
  void PressExtract();
  void PressCancel();

  wxListBox* List() const { return list_; }
  wxScrollBar* ScrollBar() const { return scroll_; }
  wxStaticText* Header() const { return header_; }
  const ListDialogIds& Ids() const { return ids_; }

 private:
  void ShowPage();

  GameListSession& session_;
  ListDialogIds ids_;
  wxListBox* list_ = nullptr;
  wxScrollBar* scroll_ = nullptr;
  wxStaticText* header_ = nullptr;
};

// The ids of CKisen and CTarvel.
inline constexpr ListDialogIds kKisenListIds = {1014, 1024, 1022, 1020, 1016, 1018, 1019};
inline constexpr ListDialogIds kTarvelListIds = {1055, 1056, 1011, 1057, 1058, 1059, 1060};

}  // namespace shogi::gui
