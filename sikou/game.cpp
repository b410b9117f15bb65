// Decoding, checking and replaying the move list that a call of the library receives.
#include "game.h"

namespace thinking {

namespace {

// Decodes one move code for side `s` in `pos`; false if playing it would break the record.
bool DecodeMove(const Position& pos, Side s, std::uint8_t dest_byte, std::uint8_t origin_byte,
                Move& m) {
  const bool promote = dest_byte > 100;
  const int to = promote ? dest_byte - 100 : dest_byte;
  if (!IsSquare(to)) return false;
  if (origin_byte > kDropBase) {
    const int type = origin_byte - kDropBase;
    if (type > kRook || promote || pos.Hand[s][type] <= 0 || pos.Board[to]) return false;
    m = MakeDrop(type, to);
    return true;
  }
  const int from = origin_byte;
  if (!IsSquare(from) || from == to) return false;
  const int code = pos.Board[from];
  if (!BelongsTo(code, s) || BelongsTo(pos.Board[to], s)) return false;
  if (promote && !CanPromote(TypeOf(code))) return false;
  m = MakeMove(from, to, promote ? 1 : 0);
  return true;
}

}  // namespace

void PlayGameMove(Position& pos, Side s, const Move& m) {
  const bool takes_king = !IsDrop(m) && TypeOf(pos.Board[m.to]) == kKing;
  ApplyMove(pos, m, s);
  if (takes_king) pos.King[Opponent(s)] = 0;
}

bool ReplayGame(const std::uint8_t* bytes, int count, Game& game) {
  if (count < 0 || count > kMaxGameMoves || (count > 0 && !bytes)) return false;
  game.count = count;
  game.position = kInitialPosition;
  Position& pos = game.position;
  for (int i = 0; i < count; ++i) {
    const Side s = SideOfPly(i);
    Move m;
    if (!DecodeMove(pos, s, bytes[2 * i], bytes[2 * i + 1], m)) return false;
    game.keys[i] = PositionKey(pos);
    game.moves[i] = m;
    PlayGameMove(pos, s, m);
  }
  return true;
}

}  // namespace thinking
