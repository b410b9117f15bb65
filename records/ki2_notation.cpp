// KI2 move text: the relative words that single out the moving piece, written and read in
// the mover's view of the board.
#include "records/ki2_notation.h"

#include "platform/cp932.h"

#include "records/notation.h"
#include "rules/attack.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

// A square as the mover sees the board: rank 1 is the mover's far rank (its front), file 1
// is on the mover's right. For the second player this is the board turned by 180 degrees.
struct ViewSquare {
  int file = 0;
  int rank = 0;
};

ViewSquare ViewOf(Square s, Side mover) {
  return mover == kFirst ? ViewSquare{FileOf(s), RankOf(s)}
                         : ViewSquare{10 - FileOf(s), 10 - RankOf(s)};
}

// Where an origin lies relative to the destination, in the mover's view.
bool InFront(ViewSquare o, ViewSquare d) {
  return o.rank < d.rank;
}
bool Behind(ViewSquare o, ViewSquare d) {
  return o.rank > d.rank;
}
bool SameRank(ViewSquare o, ViewSquare d) {
  return o.rank == d.rank;
}
bool RightOf(ViewSquare o, ViewSquare d) {
  return o.file < d.file;
}

// The mover's pieces of one type that could move to the destination (writing side).
struct Candidates {
  int count = 0;
  ViewSquare at[16];
};

// Every piece of the mover's of `type` whose movement reaches `to` (the attack test of the
// rules, which also stops sliders at the first piece in their way), in the mover's view.
void CollectCandidates(const Position& pos, Side mover, int type, Square to, Candidates& out) {
  Square attackers[16];
  const int n = AttackersOf(pos, to, mover, attackers);
  out.count = 0;
  for (int i = 0; i < n; ++i) {
    if (pos.Board[attackers[i]] == CodeOf(type, mover))
      out.at[out.count++] = ViewOf(attackers[i], mover);
  }
}

template <typename Predicate>
int CountWhere(const Candidates& c, Predicate p) {
  int n = 0;
  for (int i = 0; i < c.count; ++i) n += p(c.at[i]) ? 1 : 0;
  return n;
}

// 右 or 左 by the origin's side of the destination. An origin on the destination's own
// file (only possible for a horse or dragon when the other one stands in the same group
// in front or behind) takes its side relative to that other piece.
void AddSide(const Candidates& c, ViewSquare o, ViewSquare d, std::string& out) {
  const NotationTables& t = Notation();
  bool right;
  if (o.file != d.file) {
    right = RightOf(o, d);
  } else {
    auto same_group = [&](ViewSquare x) {
      return (x.file != o.file || x.rank != o.rank) &&
             (InFront(x, d) == InFront(o, d) && Behind(x, d) == Behind(o, d));
    };
    right = CountWhere(c, [&](ViewSquare x) { return same_group(x) && x.file < o.file; }) == 0;
  }
  AppendKanji(out, right ? t.right : t.left);
}

// The relative words of a board move by a piece of `type` from `o` to `d`, given every
// candidate (the moving piece included).
void AddRelativeWords(int type, const Candidates& c, ViewSquare o, ViewSquare d, std::string& out) {
  const NotationTables& t = Notation();
  if (c.count < 2) return;
  auto in_front = [&](ViewSquare x) { return InFront(x, d); };
  auto behind = [&](ViewSquare x) { return Behind(x, d); };
  auto same_rank = [&](ViewSquare x) { return SameRank(x, d); };
  auto same_side = [&](ViewSquare x) { return x.file != d.file && RightOf(x, d) == RightOf(o, d); };
  switch (type) {
    case kPawn:
    case kLance:
    case kKing:
      return;
    case kKnight:
      AddSide(c, o, d, out);
      return;
    case kSilver:
      if (o.file == d.file) {
        AppendKanji(out, t.straight);
      } else if (InFront(o, d) && CountWhere(c, in_front) <= 1) {
        AppendKanji(out, t.back);
      } else if (Behind(o, d) && CountWhere(c, behind) <= 1) {
        AppendKanji(out, t.up);
      } else {
        AddSide(c, o, d, out);
        if (CountWhere(c, same_side) >= 2) AppendKanji(out, InFront(o, d) ? t.back : t.up);
      }
      return;
    case kBishop:
      if (InFront(o, d) && CountWhere(c, in_front) <= 1) {
        AppendKanji(out, t.back);
      } else if (Behind(o, d) && CountWhere(c, behind) <= 1) {
        AppendKanji(out, t.up);
      } else {
        AddSide(c, o, d, out);
      }
      return;
    case kRook:
      if (InFront(o, d)) {
        AppendKanji(out, t.back);
      } else if (Behind(o, d)) {
        AppendKanji(out, t.forward);
      } else if (CountWhere(c, same_rank) <= 1) {
        AppendKanji(out, t.sideways);
      } else {
        AddSide(c, o, d, out);
      }
      return;
    case kHorse:
    case kDragon:
      if (SameRank(o, d) && CountWhere(c, same_rank) <= 1) {
        AppendKanji(out, t.sideways);
      } else if (Behind(o, d) && CountWhere(c, behind) <= 1) {
        AppendKanji(out, type == kHorse ? t.up : t.forward);
      } else if (InFront(o, d) && CountWhere(c, in_front) <= 1) {
        AppendKanji(out, t.back);
      } else {
        AddSide(c, o, d, out);
      }
      return;
    default:  // gold and the pieces that move like it
      if (o.file == d.file) {
        AppendKanji(out, InFront(o, d) ? t.back : t.straight);
      } else if (Behind(o, d) && CountWhere(c, behind) <= 1) {
        AppendKanji(out, t.up);
      } else if (SameRank(o, d) && CountWhere(c, same_rank) <= 1) {
        AppendKanji(out, t.sideways);
      } else {
        AddSide(c, o, d, out);
        if (CountWhere(c, same_side) >= 2) AppendKanji(out, SameRank(o, d) ? t.sideways : t.up);
      }
      return;
  }
}

// The words a KI2 token gives after its piece.
struct Ki2Words {
  bool drop = false;
  bool promote = false;
  bool right = false, left = false;
  bool behind = false;     // 上, 行
  bool in_front = false;   // 引
  bool same_rank = false;  // 寄
  bool straight = false;   // 直
};

// Reads the words from byte `i` of `token` up to the first character that is none of them.
Ki2Words ReadWords(std::string_view token, std::size_t i) {
  const NotationTables& t = Notation();
  Ki2Words w;
  while (i + 1 < token.size()) {
    Kanji k = KanjiAt(token, i);
    if (k == t.drop_code) {
      w.drop = true;
    } else if (k == t.promote_code) {
      w.promote = true;
    } else if (k == t.no_code && KanjiIs(token, i + 2, t.promote_code)) {
      i += 2;  // 不成: no promotion, which is the default
    } else if (k == t.right) {
      w.right = true;
    } else if (k == t.left) {
      w.left = true;
    } else if (k == t.up || k == t.forward) {
      w.behind = true;
    } else if (k == t.back) {
      w.in_front = true;
    } else if (k == t.sideways) {
      w.same_rank = true;
    } else if (k == t.straight) {
      w.straight = true;
    } else {
      break;
    }
    i += 2;
  }
  return w;
}

// The piece type a KI2 token names at byte `i` ("成" prefix included), 0 if none; `i`
// moves past it.
int ReadPieceType(std::string_view token, std::size_t& i) {
  const NotationTables& t = Notation();
  bool promoted = KanjiIs(token, i, t.promote_code);
  if (promoted) i += 2;
  if (i + 1 >= token.size()) return 0;
  int type = LetterTypeOf(KanjiAt(token, i));
  bool named = (type >= kPawn && type <= kPromotedPawn) || type == kHorse || type == kDragon;
  if (!named) return 0;
  i += 2;
  if (!promoted) return type;
  return CanPromote(type) ? PromotedType(type) : 0;
}

}  // namespace

std::string FormatKi2Move(MoveCode move, const Position& before, Side mover,
                          int previous_destination, std::string_view side_mark) {
  const NotationTables& t = Notation();
  std::string out(side_mark);
  const int to = DestinationOf(move);
  AppendDestination(out, to, previous_destination);
  const bool drop = IsDrop(move);
  const int type = drop ? DroppedType(move.from) : TypeOf(before.Board[move.from]);
  out += (type >= 1 && type <= 15) ? t.piece_name[type] : t.piece_letter[0];
  const ViewSquare d = ViewOf(to, mover);
  Candidates c;
  CollectCandidates(before, mover, type, to, c);
  if (drop) {
    if (type != kPawn && c.count > 0) out += t.drop;
  } else {
    AddRelativeWords(type, c, ViewOf(move.from, mover), d, out);
    if (CanPromote(type) && (InPromotionZone(mover, move.from) || InPromotionZone(mover, to))) {
      out += IsPromotion(move) ? t.promote : t.no_promote;
    }
  }
  if (out.size() < kKi2MoveFieldWidth) out.append(kKi2MoveFieldWidth - out.size(), ' ');
  return out;
}

std::string FormatKi2Move(const GameRecord& record, int index, std::string_view side_mark) {
  const Position before = PositionAt(record, index);
  int previous = 0;
  if (index - 1 >= record.StartIndex && index - 1 < kMaxMoves)
    previous = DestinationOf(record.MoveList[index - 1]);
  return FormatKi2Move(record.MoveList[index], before, SideOfPly(index), previous, side_mark);
}

bool ParseKi2Move(std::string_view token, Position& pos, Side side, int& previous_destination,
                  MoveCode& move) {
  const NotationTables& t = Notation();
  std::size_t i = 0;
  if (KanjiIs(token, 0, t.sente_mark_code) || KanjiIs(token, 0, t.gote_mark_code)) i = 2;
  int to;
  if (KanjiIs(token, i, t.same)) {
    i += 2;
    if (KanjiIs(token, i, t.wide_space)) i += 2;
    if (!IsSquare(previous_destination)) return false;
    to = previous_destination;
  } else {
    if (i + 3 >= token.size()) return false;
    int file = FileDigitValue(KanjiAt(token, i));
    int rank = NumeralValue(KanjiAt(token, i + 2));
    if (file == 0 || rank == 0) return false;
    to = SquareOf(file, rank);
    i += 4;
  }
  const int type = ReadPieceType(token, i);
  if (type == 0) return false;
  Ki2Words w = ReadWords(token, i);
  // "馬成": a promotion mark on a piece that is promoted already is dropped, not refused.
  if (type > kRook) w.promote = false;

  MoveBuffer moves;
  GeneratePseudoLegal(pos, side, moves);
  const ViewSquare d = ViewOf(to, side);
  // The candidate origins in generation order, each once, that the words allow.
  int origins[16];
  int n = 0;
  if (!w.drop) {
    for (int k = 0; k < moves.count && n < 16; ++k) {
      const MoveCode m = moves.moves[k];
      if (IsDrop(m) || DestinationOf(m) != to || TypeOf(pos.Board[m.from]) != type) continue;
      if (n > 0 && origins[n - 1] == m.from) continue;  // the promoting twin
      const ViewSquare o = ViewOf(m.from, side);
      if (w.behind && !Behind(o, d)) continue;
      if (w.in_front && !InFront(o, d)) continue;
      if (w.same_rank && !SameRank(o, d)) continue;
      if (w.straight && !(o.file == d.file && o.rank == d.rank + 1)) continue;
      origins[n++] = m.from;
    }
  }
  if (n > 1 && (w.right || w.left)) {
    // 右 / 左 keep the pieces on that side of the destination; a piece on the destination's
    // own file is the rightmost or leftmost of the rest when none stands on that side.
    int kept = 0;
    for (int k = 0; k < n; ++k) {
      ViewSquare o = ViewOf(origins[k], side);
      if (o.file != d.file && RightOf(o, d) == w.right) origins[kept++] = origins[k];
    }
    if (kept == 0) {
      int best = 0;
      for (int k = 1; k < n; ++k) {
        int f = ViewOf(origins[k], side).file, b = ViewOf(origins[best], side).file;
        if (w.right ? f < b : f > b) best = k;
      }
      origins[kept++] = origins[best];
    }
    n = kept;
  }

  // A relative word that fits no piece, or words that leave two, are refused rather than
  // read as a drop or as the first piece found.
  const bool any_word = w.right || w.left || w.behind || w.in_front || w.same_rank || w.straight;
  if (n > 1 || (n == 0 && any_word)) return false;
  bool found = false;
  if (n > 0) {
    // The plain form, or the promoting one when asked for or when it is the only form
    // (a pawn, lance or knight that reaches a rank it could not leave).
    const int from = origins[0];
    bool has_plain = false, has_promoting = false;
    for (int k = 0; k < moves.count; ++k) {
      const MoveCode m = moves.moves[k];
      if (m.from != from || DestinationOf(m) != to) continue;
      (IsPromotion(m) ? has_promoting : has_plain) = true;
    }
    if (w.promote ? has_promoting : (has_plain || has_promoting)) {
      move = EncodeMove(from, to, (w.promote || !has_plain) ? 1 : 0);
      found = true;
    }
  } else if (!w.promote && type <= kRook) {
    // A drop needs only a held piece and an empty square: a pawn dropped into a file with
    // the mover's pawn is read as the foul it is.
    move = EncodeMove(DropOrigin(type), to, 0);
    found = true;
  }
  if (!found || !IsPlayableMove(pos, side, move)) return false;
  ApplyMove(pos, move, side);
  previous_destination = to;
  return true;
}

std::size_t NextKi2Mark(std::string_view line, std::size_t i, Kanji gote_mark) {
  const NotationTables& t = Notation();
  while (i < line.size()) {
    if (KanjiIs(line, i, t.sente_mark_code) || KanjiIs(line, i, gote_mark)) return i;
    i += IsCp932LeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
  }
  return std::string_view::npos;
}

std::size_t NextKi2Mark(std::string_view line, std::size_t i) {
  return NextKi2Mark(line, i, Notation().gote_mark_code);
}

}  // namespace shogi
