// The 局面統計 panel's window.
#include "shell/gui/explorer_window.h"
#include "shell/gui/wx_text.h"

#include <wx/panel.h>
#include <wx/sizer.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace shogi::gui {
namespace {

// A column of a list: its title, its width, and whether it holds numbers (set right).
struct Column {
  const char* Title;
  int Width;
  bool Numbers;
};

wxListCtrl* MakeList(wxWindow* parent, std::initializer_list<Column> columns, int height) {
  auto* list = new wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(-1, height),
                              wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_HRULES);
  int at = 0;
  for (const Column& c : columns) {
    list->InsertColumn(at++, U(c.Title), c.Numbers ? wxLIST_FORMAT_RIGHT : wxLIST_FORMAT_LEFT,
                       c.Width);
  }
  return list;
}

void Fill(wxListCtrl* list, const std::vector<std::vector<std::string>>& rows) {
  list->Freeze();
  list->DeleteAllItems();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const long item = list->InsertItem(static_cast<long>(r), U(rows[r][0]));
    for (std::size_t c = 1; c < rows[r].size(); ++c)
      list->SetItem(item, static_cast<int>(c), U(rows[r][c]));
  }
  list->Thaw();
}

}  // namespace

CExplorerPanel::CExplorerPanel(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, U(kExplorerCaption), wxDefaultPosition, wxSize(440, 470),
              wxCAPTION | wxCLOSE_BOX | wxRESIZE_BORDER | wxFRAME_TOOL_WINDOW |
                  wxFRAME_FLOAT_ON_PARENT) {
  auto* panel = new wxPanel(this);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  heading_ = new wxStaticText(panel, wxID_ANY, wxEmptyString);
  sizer->Add(heading_, 0, wxEXPAND | wxALL, 6);
  moves_ = MakeList(panel,
                    {{"指し手", 96, false},
                     {"局数", 56, true},
                     {"▲勝", 86, true},
                     {"△勝", 86, true},
                     {"他", 76, true}},
                    190);
  sizer->Add(moves_, 1, wxEXPAND | wxLEFT | wxRIGHT, 6);
  auto* newest = new wxStaticText(panel, wxID_ANY, U("新しい対局"));
  sizer->Add(newest, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);
  games_ = MakeList(panel,
                    {{"番号", 56, true},
                     {"対局日", 86, false},
                     {"先手", 76, false},
                     {"後手", 76, false},
                     {"勝敗", 70, false},
                     {"局面", 60, true}},
                    190);
  sizer->Add(games_, 1, wxEXPAND | wxALL, 6);
  panel->SetSizer(sizer);
  moves_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& e) {
    if (OnMove) OnMove(static_cast<int>(e.GetIndex()));
  });
  games_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& e) {
    if (OnGame) OnGame(static_cast<int>(e.GetIndex()));
  });
}

void CExplorerPanel::ShowView(const ExplorerPanelView& view) {
  heading_->SetLabel(U(view.Heading));
  heading_->Wrap(GetClientSize().x - 12);
  std::vector<std::vector<std::string>> rows;
  for (const ExplorerMoveRow& m : view.Moves)
    rows.push_back({m.Text, m.Games, m.FirstWins, m.SecondWins, m.Other});
  Fill(moves_, rows);
  rows.clear();
  for (const ExplorerGameRow& g : view.Games)
    rows.push_back({g.NumberText, g.Date, g.FirstPlayer, g.SecondPlayer, g.Result, g.PlyText});
  Fill(games_, rows);
  Layout();
}

wxString CExplorerPanel::Text() const {
  wxString text = heading_->GetLabel() + "\n";
  for (const wxListCtrl* list : {moves_, games_}) {
    for (long item = 0; item < list->GetItemCount(); ++item) {
      for (int column = 0; column < list->GetColumnCount(); ++column)
        text += (column > 0 ? " " : "") + list->GetItemText(item, column);
      text += "\n";
    }
  }
  return text;
}

}  // namespace shogi::gui
