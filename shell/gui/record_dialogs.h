// The record file commands' dialogs in the window: CSpecialFileDialog (the platform's file
// dialog with the format combo and the store-times check box), CUrlDlg, the list of a file's
// games, the Kaya save question and CShohi, the time-used editor. Each shows a plain struct
// or a model of the shell and hands the person's answer back.
#pragma once

#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/filedlgcustomize.h>
#include <wx/listbox.h>
#include <wx/scrolbar.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <array>

#include "shell/shell_user_interface.h"

namespace shogi::gui {

// The combo "棋譜のソフト名" and, when saving, the check box "消費時間の格納", added to the
// platform's dialog when it is shown; on OK they go into the request.
class FormatControls : public wxFileDialogCustomizeHook {
 public:
  explicit FormatControls(RecordFileRequest& request) : request_(request) {}
  void AddCustomControls(wxFileDialogCustomize& customizer) override;
  void TransferDataFromCustomControls() override;
  wxFileDialogChoice* Combo() const { return combo_; }
  wxFileDialogCheckBox* Check() const { return check_; }

 private:
  RecordFileRequest& request_;
  wxFileDialogChoice* combo_ = nullptr;
  wxFileDialogCheckBox* check_ = nullptr;
};

// CSpecialFileDialog: the platform's open or save dialog with the request's title, filters
// and starting path, and the format controls.
class CSpecialFileDialog : public wxFileDialog {
 public:
  CSpecialFileDialog(wxWindow* parent, RecordFileRequest& request);
  const FormatControls& Controls() const { return controls_; }

 private:
  FormatControls controls_;
};

// Shows CSpecialFileDialog for `request`; false on キャンセル, else the path, the combo's
// index and the check box are in `request`.
bool ShowSpecialFileDialog(wxWindow* parent, RecordFileRequest& request);

// "URLから棋譜ファイルを読み込む。": "URL:" and a field of at most 255 characters.
class CUrlDlg : public wxDialog {
 public:
  CUrlDlg(wxWindow* parent, const std::string& url);
  std::string Url() const;
  wxTextCtrl* Field() const { return field_; }

 private:
  wxTextCtrl* field_ = nullptr;
};

// The box that stays while a command waits (a download from a URL): the caption, a text of
// how far it has come and キャンセル. It has no modal loop: the command polls Cancelled() as
// it goes on; its close box counts as キャンセル.
class CProgressBox : public wxDialog {
 public:
  CProgressBox(wxWindow* parent, const std::string& caption);
  // Changes the text when it differs from the one shown.
  void SetText(const std::string& text);
  const std::string& Text() const { return shown_; }
  bool Cancelled() const { return cancelled_; }
  wxButton* CancelButton() const { return cancel_; }

 private:
  wxStaticText* text_ = nullptr;
  wxButton* cancel_ = nullptr;
  std::string shown_;
  bool cancelled_ = false;
};

// The list of a file's games: the header over twenty rows and a scroll bar over all of them.
class CRecordList : public wxDialog {
 public:
  CRecordList(wxWindow* parent, RecordListModel& list);
  // Scrolls as the bar's thumb at `top` does.
  void ScrollTo(int top);
  // Chooses the selected row and ends the dialog; false with nothing selected.
  bool ChooseSelected();
  wxListBox* Rows() const { return rows_; }
  wxScrollBar* Bar() const { return bar_; }

 private:
  void Fill();
  RecordListModel& list_;
  wxListBox* rows_ = nullptr;
  wxScrollBar* bar_ = nullptr;
};

// "ファイルがすでに存在します。\n処理を選択してください。" with 上書き, 追加登録, 修正登録 and
// キャンセル; ShowModal returns the choice as an int of KayaSaveChoice.
class CKayaSave : public wxDialog {
 public:
  explicit CKayaSave(wxWindow* parent);
};

// "消費時間設定　　": the page label, ten moves in pairs with their minutes, 次頁, 前頁,
// ０クリア, ＯＫ, キャンセル, over the shell's TimeEditor.
class CShohi : public wxDialog {
 public:
  CShohi(wxWindow* parent, TimeEditor& editor, UserInterface& ui);
  // The buttons; a field that is no whole number stops the button with the field's message.
  bool NextPage();
  bool PreviousPage();
  void Clear();
  bool PressOk();
  wxTextCtrl* Field(int k) const { return fields_[k]; }
  wxStaticText* Label(int k) const { return labels_[k]; }
  wxStaticText* PageLabel() const { return page_; }

 private:
  bool TakeFields();
  void ShowPage();
  TimeEditor& editor_;
  UserInterface& ui_;
  wxStaticText* page_ = nullptr;
  std::array<wxStaticText*, kTimeEditorFields> labels_{};
  std::array<wxTextCtrl*, kTimeEditorFields> fields_{};
};

}  // namespace shogi::gui
