// What an operation asks of the board view once it returns: the parts to redraw and the
// view's timers to start or stop.
#pragma once

namespace shogi {

// Parts of the board view that an operation changed and the view has to redraw.
enum ViewPart : unsigned {
  kViewBoard = 1u << 0,          // the squares and both hands
  kViewClocks = 1u << 1,         // the two clock lines of the information panel
  kViewInfo = 1u << 2,           // names, move counter and last move of the information panel
  kViewMovePanel = 1u << 3,      // the ten moves, or the piece box while setting up
  kViewMessage = 1u << 4,        // the two lines of the message area
  kViewFullRefresh = 1u << 5,    // clear every cache and repaint the whole view
  kViewShowPromotion = 1u << 6,  // open the promotion choice box (pointer into the box)
  kViewHidePromotion = 1u << 7,  // close it and restore what was under it
  // The database's list is to open now, with the database's search list (after a sort, a
  // duplicate check that found pairs, a bulk change); RunCommand opens it before returning.
  kViewOpenKisenList = 1u << 8,
  kViewOpenTarvelList = 1u << 9,
  kViewEverything = kViewBoard | kViewClocks | kViewInfo | kViewMovePanel | kViewMessage,
};

// The view's timers, as bits; the window maps them to its timer ids.
enum ViewTimer : unsigned {
  kTimerClock = 1u << 0,           // timer 100, every 100 ms: GameClockTick
  kTimerReplayForward = 1u << 1,   // timer 200, fires once after the replay interval
  kTimerReplayBack = 1u << 2,      // timer 300, fires once after the replay interval
  kTimerRecordAnalysis = 1u << 3,  // timer 500, every 50 ms: TickRecordAnalysis
};
constexpr int kClockTimerId = 100;
constexpr int kReplayForwardTimerId = 200;
constexpr int kReplayBackTimerId = 300;
constexpr int kRecordAnalysisTimerId = 500;
constexpr int kClockTimerPeriod = 100;  // milliseconds
constexpr int kRecordAnalysisTimerPeriod = 50;

// Starting a running timer restarts it; the view applies the stops first.
struct ViewUpdate {
  unsigned Parts = 0;
  unsigned StartTimers = 0;
  unsigned StopTimers = 0;
  int ReplayInterval = 0;  // period in ms of a replay timer being started

  void Redraw(unsigned parts) { Parts |= parts; }
  void Start(unsigned timers) {
    StartTimers |= timers;
    StopTimers &= ~timers;
  }
  void Stop(unsigned timers) {
    StopTimers |= timers;
    StartTimers &= ~timers;
  }
  // Adds a later update to this one (later timer requests win).
  void Merge(const ViewUpdate& later) {
    Parts |= later.Parts;
    if (later.Parts & kViewShowPromotion) Parts &= ~kViewHidePromotion;
    if (later.Parts & kViewHidePromotion) Parts &= ~kViewShowPromotion;
    Stop(later.StopTimers);
    Start(later.StartTimers);
    if (later.ReplayInterval) ReplayInterval = later.ReplayInterval;
  }
  bool Empty() const { return Parts == 0 && StartTimers == 0 && StopTimers == 0; }
};

}  // namespace shogi
