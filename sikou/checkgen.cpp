// Check generation for the mate search: drops, direct board checks and uncovered checks.
#include "checkgen.h"

#include <cstddef>
#include <initializer_list>

#include "attack.h"
#include "movegen.h"

namespace thinking {

namespace {

constexpr Side kAttacker = kFirst;
constexpr Side kDefender = kSecond;

class CheckGenerator {
 public:
  CheckGenerator(const Position& pos, CheckSet set, CheckList& list)
      : pos_(pos),
        list_(list),
        king_(pos.KingSquare(kDefender)),
        variants_(set == CheckSet::kReduced ? Variants::kPromotingOnly : Variants::kBoth) {}

  void Run() {
    if (!king_) return;
    Drops();
    DirectChecks();
    UncoveredChecks();
  }

 private:
  bool Holds(int type) const { return pos_.Hand[kAttacker][type] > 0; }

  void Drop(int type, int sq) {
    if (!Holds(type)) return;
    if (type == kPawn && HasPawnInFile(pos_, kAttacker, sq)) return;
    list_.Push(MakeDrop(type, sq));
  }

  // Drops on the line from the king in `dir`: `near` on the adjacent square, `far` on each
  // further empty square, stopping at the first occupied one.
  template <std::size_t NearCount, std::size_t FarCount>
  void LineDrops(int dir, const int (&near)[NearCount], const int (&far)[FarCount]) {
    int sq = Next(king_, dir);
    if (!sq || pos_.Board[sq]) return;
    for (int type : near) Drop(type, sq);
    for (sq = Next(sq, dir); sq && !pos_.Board[sq]; sq = Next(sq, dir)) {
      for (int type : far) Drop(type, sq);
    }
  }

  void Drops() {
    // Below the king a lance reaches as far as a pawn and more, so it goes first, except on
    // the king's back rank, where the pawn is listed before the lance.
    if (RankOf(king_) == 1) {
      LineDrops(kS, {kGold, kSilver, kRook, kPawn, kLance}, {kRook, kLance});
    } else {
      LineDrops(kS, {kGold, kSilver, kRook, kLance, kPawn}, {kRook, kLance});
    }
    LineDrops(kSE, {kGold, kSilver, kBishop}, {kBishop});
    LineDrops(kSW, {kGold, kSilver, kBishop}, {kBishop});
    if (king_ < 64) {
      // The squares from which a first-player knight reaches the king: K + 17, then K + 19.
      const std::uint8_t* sources = kGeometry.knight[kDefender][king_];
      for (int sq : {sources[1], sources[0]}) {
        if (sq && !pos_.Board[sq]) Drop(kKnight, sq);
      }
    }
    LineDrops(kE, {kRook, kGold}, {kRook});
    LineDrops(kW, {kRook, kGold}, {kRook});
    LineDrops(kNE, {kBishop, kSilver}, {kBishop});
    LineDrops(kNW, {kBishop, kSilver}, {kBishop});
    LineDrops(kN, {kRook, kGold}, {kRook});
  }

  // Every board move onto `to` whose piece then attacks the king.
  void ChecksOnto(int to) {
    int from[kMaxReaching];
    const int n = PiecesReaching(pos_, to, kAttacker, from);
    for (int i = 0; i < n; ++i) {
      const int code = pos_.Board[from[i]];
      if (TypeOf(code) == kKing) continue;
      MoveList<2> forms;
      AddBoardMove(forms, kAttacker, code, from[i], to, variants_);
      for (int f = 0; f < forms.count; ++f) {
        const int placed = forms.move[f].promote ? code + kPromoteOffset : code;
        if (PieceAttacks(pos_, placed, to, king_, from[i])) list_.Push(forms.move[f]);
      }
    }
  }

  // Target squares on the line from the king in `dir`: the empty ones and the first enemy
  // piece. Beyond an occupied square no piece could check along this line.
  void DirectChecksAlong(int dir) {
    for (int sq = Next(king_, dir); sq; sq = Next(sq, dir)) {
      const int code = pos_.Board[sq];
      if (BelongsTo(code, kAttacker)) return;
      ChecksOnto(sq);
      if (code) return;
    }
  }

  void DirectChecks() {
    DirectChecksAlong(kS);
    DirectChecksAlong(kSE);
    DirectChecksAlong(kSW);
    const std::uint8_t* sources = kGeometry.knight[kDefender][king_];
    for (int sq : {sources[1], sources[0]}) {
      if (sq && !BelongsTo(pos_.Board[sq], kAttacker)) ChecksOnto(sq);
    }
    DirectChecksAlong(kE);
    DirectChecksAlong(kW);
    DirectChecksAlong(kNE);
    DirectChecksAlong(kNW);
    DirectChecksAlong(kN);
  }

  bool Listed(const Move& m) const {
    for (int i = 0; i < list_.count; ++i) {
      if (SameMove(list_.move[i], m)) return true;
    }
    return false;
  }

  // A piece of the attacker that is the only one between the king and an attacker's slider
  // aimed at it uncovers a check with every move that leaves the line.
  void UncoveredChecks() {
    for (int dir = 0; dir < kDirectionCount; ++dir) {
      int blocker = Next(king_, dir);
      while (blocker && !pos_.Board[blocker]) blocker = Next(blocker, dir);
      if (!blocker || !BelongsTo(pos_.Board[blocker], kAttacker)) continue;
      int slider = Next(blocker, dir);
      while (slider && !pos_.Board[slider]) slider = Next(slider, dir);
      if (!slider || !BelongsTo(pos_.Board[slider], kAttacker)) continue;
      if (!Slides(kAttacker, TypeOf(pos_.Board[slider]), Reverse(dir))) continue;
      MoveList<64> moves;  // a piece has at most 40 moves with both forms
      AddPieceMoves(pos_, kAttacker, blocker, false, moves, variants_);
      for (int i = 0; i < moves.count; ++i) {
        const Move& m = moves.move[i];
        if (OnSegment(m.to, dir, slider)) continue;
        if (!Listed(m)) list_.Push(m);
      }
    }
  }

  // Whether `sq` lies on the line from the king in `dir`, short of `end`.
  bool OnSegment(int sq, int dir, int end) const {
    for (int x = Next(king_, dir); x && x != end; x = Next(x, dir)) {
      if (x == sq) return true;
    }
    return false;
  }

  const Position& pos_;
  CheckList& list_;
  const int king_;
  const Variants variants_;
};

}  // namespace

void GenerateChecks(const Position& pos, CheckSet set, CheckList& list) {
  list.count = 0;
  CheckGenerator(pos, set, list).Run();
}

}  // namespace thinking
