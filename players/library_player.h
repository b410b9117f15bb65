// The thinking library as a computer side of the game driver: its three entry points and
// the ComputerPlayer that calls them at the driver's moments.
#pragma once

#include "players/computer_player.h"
#include "sikou/sikou.h"

namespace shogi {

// Binding flags: which exports were found. 0 means that loading the library failed.
constexpr int kBoundSikouIni = 1;
constexpr int kBoundSikouEnd = 2;
constexpr int kBoundSikou = 4;

// The three entry points; each one the library does not export is a stub: sikou_ini and
// sikou_end do nothing, sikou answers 0, which the driver takes as resignation.
struct SikouEntryPoints {
  sikou_ini_function Ini;
  sikou_function Think;
  sikou_end_function End;
  int Flags = 0;
};

// All three stubs, flags 0.
SikouEntryPoints StubEntryPoints();

// Calls the entry points it is given (they may change between games, e.g. when the library
// is unloaded and the stubs come back):
//   BeginGame  sikou_ini(&AbortFlag);
//   Think      sikou(PlyCount, MoveList, &mover's clock, &origin[0], &destination[0],
//              &promotion[0]) and returns its result, which the driver plays as given;
//   EndGame    sikou_end().
// Offered when at least one export was bound.
class LibraryPlayer : public ComputerPlayer {
 public:
  explicit LibraryPlayer(const SikouEntryPoints& entries) : entries_(entries) {}

  void BeginGame(int* abort_flag) override;
  int Think(const ThinkRequest& request, ComputerAnswer& answer) override;
  void EndGame() override;
  bool Offered() const override { return entries_.Flags != 0; }

 private:
  const SikouEntryPoints& entries_;
};

}  // namespace shogi
