// The four exchange estimates: how much of a move's gain the opponent can capture back.
#include "exchange.h"

#include <algorithm>
#include <utility>

#include "attack.h"
#include "movegen.h"

namespace thinking {

namespace {

// All captures of one side: at most 20 pieces reach a square in two forms each, and far fewer
// in any position; a truncated list only makes the estimate less pessimistic.
constexpr int kMaxCaptures = 320;
using CaptureList = MoveList<kMaxCaptures>;

// Plays a board move on the squares only (hands play no part in what can be captured) and
// takes it back when it goes out of scope.
class TemporaryMove {
 public:
  TemporaryMove(Position& pos, Side s, const Move& m)
      : pos_(pos), m_(m), moved_(pos.Board[m.from]), taken_(pos.Board[m.to]) {
    int code = moved_;
    if (m.promote) code += s == kFirst ? kPromoteOffset : -kPromoteOffset;
    pos_.Board[m_.to] = static_cast<std::int8_t>(code);
    pos_.Board[m_.from] = 0;
  }
  ~TemporaryMove() {
    pos_.Board[m_.from] = moved_;
    pos_.Board[m_.to] = taken_;
  }
  TemporaryMove(const TemporaryMove&) = delete;
  TemporaryMove& operator=(const TemporaryMove&) = delete;

 private:
  Position& pos_;
  const Move m_;
  const std::int8_t moved_;
  const std::int8_t taken_;
};

// Every capture of side `s`, squares ascending for the first player, descending for the second.
void GenerateCaptures(const Position& pos, Side s, CaptureList& list) {
  for (int i = 1; i <= kSquareCount; ++i) {
    const int sq = s == kFirst ? i : 82 - i;
    if (BelongsTo(pos.Board[sq], s)) AddPieceMoves(pos, s, sq, true, list);
  }
}

// Every capture of side `s` onto `sq`.
void GenerateRecaptures(const Position& pos, Side s, int sq, CaptureList& list) {
  int from[kMaxReaching];
  const int n = PiecesReaching(pos, sq, s, from);
  for (int i = 0; i < n; ++i) AddBoardMove(list, s, pos.Board[from[i]], from[i], sq);
}

enum class Level { kSquare, kLow, kMiddle, kTop };

int Exchange(Position& pos, Side s, const Move& m, Level level);

// How deeply a capture worth `gain` is answered at each level.
Level AnswerLevel(Level level, int gain) {
  switch (level) {
    case Level::kSquare:
      return Level::kSquare;
    case Level::kLow:
      return Level::kSquare;
    case Level::kMiddle:
      return gain >= 36 ? Level::kMiddle : Level::kSquare;
    case Level::kTop:
      return gain > 30 ? Level::kTop : gain >= 16 ? Level::kMiddle : Level::kLow;
  }
  return Level::kSquare;
}

// The best of `captures` for the side `o` to move: gain minus the reply at the level's
// depth. A capture is looked into only if its gain could beat the best so far, which leaves
// the maximum unchanged because the reply is never negative.
int BestCapture(Position& pos, Side o, const CaptureList& captures, Level level) {
  int best = 0;
  for (int i = 0; i < captures.count; ++i) {
    const Move& c = captures.move[i];
    const int gain = Gain(pos, c);
    if (gain <= best) continue;
    best = std::max(best, gain - Exchange(pos, o, c, AnswerLevel(level, gain)));
  }
  return best;
}

// With many captures to look at, the top routine first brings the one that looks best by a
// square exchange to the front, so that the pruning above cuts more.
void BringBestToFront(Position& pos, Side o, CaptureList& captures) {
  int best = -20000, best_index = 0;
  for (int i = 0; i < captures.count; ++i) {
    const int gain = Gain(pos, captures.move[i]);
    if (gain <= best) continue;
    const int score = gain - Exchange(pos, o, captures.move[i], Level::kSquare);
    if (score > best) {
      best = score;
      best_index = i;
    }
  }
  std::swap(captures.move[0], captures.move[best_index]);
}

int Exchange(Position& pos, Side s, const Move& m, Level level) {
  const Side o = Opponent(s);
  TemporaryMove played(pos, s, m);
  CaptureList captures;
  if (level == Level::kSquare) {
    GenerateRecaptures(pos, o, m.to, captures);
  } else {
    GenerateCaptures(pos, o, captures);
    if (level == Level::kTop && captures.count > 7) BringBestToFront(pos, o, captures);
  }
  return BestCapture(pos, o, captures, level);
}

}  // namespace

int Gain(const Position& pos, const Move& m) {
  if (IsDrop(m)) return 0;
  int gain = kCaptureValue[TypeOf(pos.Board[m.to])];
  if (m.promote) gain += PromotionGain(TypeOf(pos.Board[m.from]));
  return gain;
}

int SquareExchange(Position& pos, Side s, const Move& m) {
  return Exchange(pos, s, m, Level::kSquare);
}
int LowExchange(Position& pos, Side s, const Move& m) {
  return Exchange(pos, s, m, Level::kLow);
}
int MiddleExchange(Position& pos, Side s, const Move& m) {
  return Exchange(pos, s, m, Level::kMiddle);
}
int TopExchange(Position& pos, Side s, const Move& m) {
  return Exchange(pos, s, m, Level::kTop);
}

int MoveScore(Position& pos, Side s, const Move& m) {
  if (!IsDrop(m)) return Gain(pos, m) - TopExchange(pos, s, m);
  // The piece waits on the scratch square and is then "moved" onto its square unpromoted.
  pos.Board[0] = static_cast<std::int8_t>(CodeOf(DropType(m), s));
  const int score = -TopExchange(pos, s, MakeMove(0, m.to, 0));
  pos.Board[0] = 0;
  return score;
}

}  // namespace thinking
