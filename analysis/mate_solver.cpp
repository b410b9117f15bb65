// The mate solver's search: attacker nodes try checks, defender nodes try evasions.
#include "analysis/mate_solver.h"

#include "analysis/mate_movegen.h"
#include "rules/attack.h"

namespace shogi {
namespace {

// One search. The position is always in the solver's frame: the attacker is the first
// player, the defender (whose king exists) the second.
class MateSearch {
 public:
  MateSearch(const MateSearchOptions& options, bool use_table)
      : options_(options), table_(use_table ? options.table : nullptr) {}

  // The root: the first check that mates within `depth` plies goes to `answer`.
  void Root(const Position& pos, int depth, MateAnswer& answer) {
    Report();
    if (Stopped()) return Finish(answer);
    const Square k = pos.King[kSecond];
    if (const Square a = AttackedBy(pos, k, kFirst)) {
      // The defender's king stands in check: taking it ends the game at once.
      const int type = pos.Board[a];
      const bool must =
          ((type == kPawn || type == kLance) && k <= 9) || (type == kKnight && k <= 18);
      answer.result = depth;
      answer.move = EncodeMove(a, k, must ? 1 : 0);
      return Finish(answer);
    }
    CheckList checks;
    GenerateChecks(pos, true, checks);
    for (int i = 0; i < checks.count; ++i) {
      const bool mate = Defender(pos, checks.moves[i], depth - 1);
      if (Stopped()) return Finish(answer);
      if (mate) {
        answer.result = depth;
        answer.move = checks.moves[i];
        return Finish(answer);
      }
    }
    answer.result = cut_off_ ? -1 : 0;
    Finish(answer);
  }

 private:
  const MateSearchOptions& options_;
  MateTable* table_;
  std::uint64_t nodes_ = 0;
  bool cut_off_ = false;  // some line reached the depth limit without a mate
  bool stopped_ = false;

  // Counts an attacker node and tells the caller of it.
  void Report() {
    ++nodes_;
    if (StopRequested(options_.progress, static_cast<std::int64_t>(nodes_))) stopped_ = true;
  }

  bool Stopped() {
    if (!stopped_ && options_.abort_flag != nullptr && *options_.abort_flag != 0) stopped_ = true;
    return stopped_;
  }

  void Finish(MateAnswer& answer) const {
    answer.nodes = nodes_;
    answer.stopped = stopped_;
  }

  // After the defender's reply, with `depth` plies left for the attacker (odd, >= 1): is
  // there a check that mates? `full` selects the full check generator (after a drop);
  // `last_to` is the empty square the defender just moved a piece onto (0 if none).
  bool Attacker(const Position& pos, int depth, bool full, Square last_to) {
    Report();
    if (Stopped()) return false;
    if (table_ != nullptr) {
      MoveCode stored;
      switch (table_->Lookup(pos, depth, full, stored)) {
        case MateTableHit::kMate:
          return true;
        case MateTableHit::kNoMate:
          return false;
        case MateTableHit::kNone:
          break;
      }
    }
    CheckList checks;
    GenerateChecks(pos, full, checks);
    MoveCode mating{};
    bool mate = false;
    // Solver 1 answers an interposition or a move onto an empty square by taking that piece
    // first: the first pass takes the checks onto last_to, the second the others.
    const bool reorder = options_.solver == kSolver1 && last_to != 0;
    for (int pass = reorder ? 0 : 1; pass < 2 && !mate; ++pass) {
      for (int i = 0; i < checks.count; ++i) {
        const MoveCode m = checks.moves[i];
        if (reorder && (DestinationOf(m) == last_to) != (pass == 0)) continue;
        const bool mated = Defender(pos, m, depth - 1);
        if (Stopped()) return false;
        if (mated) {
          mate = true;
          mating = m;
          break;
        }
      }
    }
    if (table_ != nullptr) table_->Store(pos, depth, full, mate, mating);
    return mate;
  }

  // After the attacker's check `check` from `pos`, with `depth` plies left (even, >= 0):
  // does every legal reply lose?
  bool Defender(const Position& pos, MoveCode check, int depth) {
    ++nodes_;
    if (Stopped()) return false;
    const bool pawn_drop = check.from == DropOrigin(kPawn);
    if (pawn_drop && depth == 0) {
      // A pawn drop cannot mate; a deeper search might still mate after it.
      cut_off_ = true;
      return false;
    }
    Position next = pos;
    ApplyMove(next, check, kFirst);
    // A check that leaves the attacker's own king en prise is illegal: the king is taken.
    if (next.King[kFirst] > 0 && AttackedBy(next, next.King[kFirst], kSecond) != 0) return false;
    EvasionList evasions;
    if (depth == 0) {
      if (GenerateEvasions(next, evasions, true) == 0) return true;
      cut_off_ = true;
      return false;
    }
    const int n = GenerateEvasions(next, evasions, false);
    if (n == 0) return !pawn_drop;  // mate, unless by a forbidden pawn drop
    const Square k = next.King[kSecond];
    for (int i = 0; i < n; ++i) {
      const MoveCode e = evasions.moves[i];
      const int to = DestinationOf(e);
      const Square last_to = (e.from != k && next.Board[to] == 0) ? to : 0;
      Position after = next;
      ApplyMove(after, e, kSecond);
      if (!Attacker(after, depth - 1, IsDrop(e), last_to)) return false;
    }
    return true;
  }
};

bool IsStuckPiece(int code, Square s) {
  const int rank = RankOf(s);
  switch (code) {
    case kPawn:
    case kLance:
      return rank == 1;
    case kKnight:
      return rank <= 2;
    case -kPawn:
    case -kLance:
      return rank == 9;
    case -kKnight:
      return rank >= 8;
  }
  return false;
}

// Whether the king byte of `side` agrees with the board: it names a square holding that
// side's king and no other square holds one, or it says "none" and the board has none.
bool KingByteAgrees(const Position& pos, Side side) {
  const int code = CodeOf(kKing, side);
  const int k = pos.King[side];
  if (k > kSquareCount) return false;
  for (Square s = 1; s <= kSquareCount; ++s) {
    if ((pos.Board[s] == code) != (s == k)) return false;
  }
  return true;
}

}  // namespace

int CheckMateProblem(const Position& pos, Side attacker, std::string& message) {
  const Side defender = Opponent(attacker);
  if (pos.King[defender] <= 0) {
    message = "敵玉がありません。";
    return 1;
  }
  bool abnormal = !KingByteAgrees(pos, defender) || !KingByteAgrees(pos, attacker);
  for (Square s = 1; s <= kSquareCount && !abnormal; ++s) abnormal = IsStuckPiece(pos.Board[s], s);
  for (int file = 1; file <= 9 && !abnormal; ++file) {
    int pawns[2] = {0, 0};
    for (int rank = 1; rank <= 9; ++rank) {
      const int code = pos.Board[SquareOf(file, rank)];
      if (code == kPawn) ++pawns[kFirst];
      if (code == -kPawn) ++pawns[kSecond];
    }
    abnormal = pawns[kFirst] > 1 || pawns[kSecond] > 1;
  }
  if (abnormal) {
    message = "駒配置に異常があります。";
    return 1;
  }
  return 0;
}

MateAnswer SearchMate(const Position& pos, Side attacker, int depth,
                      const MateSearchOptions& options) {
  const bool use_table =
      options.table != nullptr && options.table->Allocated() && depth >= TableDepth(options.solver);
  if (use_table) options.table->Reset();
  MateSearch search(options, use_table);
  MateAnswer answer;
  if (attacker == kFirst) {
    search.Root(pos, depth, answer);
  } else {
    search.Root(TurnPosition(pos), depth, answer);
    if (answer.result > 0) answer.move = TurnMove(answer.move);
  }
  return answer;
}

int MateEvasions(const Position& pos, Side defender, MoveCode* out) {
  EvasionList list;
  const int n = defender == kSecond ? GenerateEvasions(pos, list, false)
                                    : GenerateEvasions(TurnPosition(pos), list, false);
  for (int i = 0; i < n; ++i)
    out[i] = defender == kSecond ? list.moves[i] : TurnMove(list.moves[i]);
  return n;
}

}  // namespace shogi
