// Evasion generation for the mate search: every legal way for the second player out of check.
#include "evasion.h"

#include "attack.h"
#include "movegen.h"

namespace thinking {

namespace {

class EvasionGenerator {
 public:
  EvasionGenerator(const Position& pos, bool first_only, EvasionList& list)
      : pos_(pos), first_only_(first_only), list_(list), king_(pos.KingSquare(kDefender)) {}

  EvasionStatus Run() {
    list_.count = 0;
    const int own_king = pos_.KingSquare(kAttacker);
    if (own_king && IsAttacked(pos_, own_king, kDefender)) return EvasionStatus::kKingCapturable;
    if (!king_) return EvasionStatus::kNoCheck;
    const int checker = AttackedBy(pos_, king_, kAttacker);
    if (!checker) return EvasionStatus::kNoCheck;
    if (!KingMoves() && !Captures(checker)) Interpositions(checker);
    return Status();
  }

 private:
  EvasionStatus Status() const {
    return overflow_ ? EvasionStatus::kIncomplete : EvasionStatus::kListed;
  }
  // True once nothing more is wanted: the first legal answer was found or the list is full.
  bool Done() const { return overflow_ || (first_only_ && list_.count > 0); }

  void Keep(const Move& m) {
    if (!list_.Push(m)) overflow_ = true;
  }

  // Plays a board move of the defender and keeps it if its king is then safe.
  void TryMove(const Move& m) {
    Position after = pos_;
    ApplyMove(after, m, kDefender);
    if (!IsAttacked(after, after.KingSquare(kDefender), kAttacker)) Keep(m);
  }

  // Every board move of a defender piece other than the king onto `to`.
  bool MovesOnto(int to) {
    int from[kMaxReaching];
    const int n = PiecesReaching(pos_, to, kDefender, from);
    for (int i = 0; i < n; ++i) {
      const int code = pos_.Board[from[i]];
      if (TypeOf(code) == kKing) continue;
      MoveList<2> forms;
      AddBoardMove(forms, kDefender, code, from[i], to);
      for (int f = 0; f < forms.count; ++f) {
        TryMove(forms.move[f]);
        if (Done()) return true;
      }
    }
    return false;
  }

  bool KingMoves() {
    for (int dir : kMoveOrder[kDefender]) {
      const int to = Next(king_, dir);
      if (!to || BelongsTo(pos_.Board[to], kDefender)) continue;
      TryMove(MakeMove(king_, to, 0));
      if (Done()) return true;
    }
    return false;
  }

  bool Captures(int checker) { return MovesOnto(checker); }

  bool Interpositions(int checker) {
    const int dir = DirectionBetween(king_, checker);
    if (dir < 0 || Next(king_, dir) == checker) return false;  // a knight or an adjacent piece
    for (int sq = Next(king_, dir); sq && sq != checker; sq = Next(sq, dir)) {
      if (Drops(sq) || MovesOnto(sq)) return true;
    }
    return false;
  }

  // Any piece dropped on `sq` blocks the same line, so the king is tested once per square.
  bool Drops(int sq) {
    bool any_in_hand = false;
    for (int type = kPawn; type <= kRook; ++type) any_in_hand |= pos_.Hand[kDefender][type] > 0;
    if (!any_in_hand) return false;
    Position blocked = pos_;
    blocked.Board[sq] = CodeOf(kGold, kDefender);
    if (IsAttacked(blocked, king_, kAttacker)) return false;
    for (int type = kPawn; type <= kRook; ++type) {
      if (pos_.Hand[kDefender][type] <= 0 || !CanStand(kDefender, type, sq)) continue;
      if (type == kPawn &&
          (HasPawnInFile(pos_, kDefender, sq) || PawnDropMates(pos_, kDefender, sq))) {
        continue;
      }
      Keep(MakeDrop(type, sq));
      if (Done()) return true;
    }
    return false;
  }

  const Position& pos_;
  const bool first_only_;
  EvasionList& list_;
  const int king_;
  bool overflow_ = false;
};

}  // namespace

EvasionStatus GenerateEvasions(const Position& pos, bool first_only, EvasionList& list) {
  return EvasionGenerator(pos, first_only, list).Run();
}

}  // namespace thinking
