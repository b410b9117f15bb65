// The df-pn mate solver: the proof, the shortest mate's length, the solution and its check.
#include "analysis/dfpn_solver.h"

#include <algorithm>
#include <memory>

#include "analysis/mate_movegen.h"
#include "rules/attack.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

// The attacker's legal checks in `p` (solver's frame), mates by a pawn drop left out.
std::vector<MoveCode> LegalChecks(const Position& p) {
  auto checks = std::make_unique<CheckList>();
  GenerateChecks(p, true, *checks);
  std::vector<MoveCode> out;
  EvasionList ev;
  for (int i = 0; i < checks->count; ++i) {
    const MoveCode m = checks->moves[i];
    Position q = p;
    ApplyMove(q, m, kFirst);
    if (q.King[kFirst] > 0 && AttackedBy(q, q.King[kFirst], kSecond) != 0) continue;
    ev.count = 0;
    if (m.from == DropOrigin(kPawn) && GenerateEvasions(q, ev, true) == 0) continue;
    out.push_back(m);
  }
  return out;
}

// The length of the mate the table holds for `p` without a plies limit, or a large number.
int KnownLength(const DfpnTable& table, const Position& p, bool attacker_node) {
  const DfpnProbe probe = table.Probe(DfpnKey(p, attacker_node), PackHand(p, kFirst), kNoPlyLimit);
  return probe.found && probe.pn == 0 ? probe.length : 0xFFFF;
}

// The pieces in play of each type fit the hand fields, and no hand count is negative.
bool PieceCountsFit(const Position& pos) {
  int in_play[8] = {};
  for (Square s = 1; s <= kSquareCount; ++s) {
    const int code = pos.Board[s];
    if (code != 0 && TypeOf(code) != kKing) ++in_play[TypeOf(code) & 7];
  }
  for (int t = kPawn; t <= kRook; ++t) {
    if (pos.Hand[kFirst][t] < 0 || pos.Hand[kSecond][t] < 0) return false;
    if (in_play[t] + pos.Hand[kFirst][t] + pos.Hand[kSecond][t] > HandFieldMax(t)) return false;
  }
  return true;
}

// Finding the solution once the mate is proven.
class SolutionFinder {
 public:
  SolutionFinder(DfpnSearch& search, const DfpnTable& table, const Position& frame)
      : search_(search), table_(table), frame_(frame) {}

  // The length of the shortest mate, between an odd lower bound and a proven upper bound
  // `high`; false (with `high` the best bound known) when the limits stopped it. The first
  // question is whether `high` is the shortest already, as it usually is for long problems,
  // whose every refutation is costly; the bounds are then halved, down to a gap of a few
  // plies, where a mate two plies shorter is asked for at once: the one refutation needed
  // in the end costs more than all the shorter ones a halving would add.
  bool ShortestLength(int low, int& high) {
    constexpr int kNarrowGap = 12;
    bool first = true;
    while (low < high) {
      const int mid = first || high - low <= kNarrowGap ? high - 2 : low + 2 * ((high - low) / 4);
      first = false;
      const DfpnNodeResult r = search_.Solve(frame_, true, mid);
      if (r.Proven()) {
        high = r.length;
      } else if (r.Refuted() && !r.incomplete) {
        low = mid + 2;
      } else {
        return false;
      }
    }
    return true;
  }

  // The line of the mate of exactly `length` plies: each attacking move leaves a mate of
  // one ply less; each reply is one after which the mate takes longest. False when the
  // limits stopped it.
  bool ExactLine(int length, std::vector<MoveCode>& line) {
    Position p = frame_;
    int left = length;
    LineScope scope(search_);
    scope.Push(p, true);
    while (true) {
      std::vector<MoveCode> checks = LegalChecks(p);
      std::stable_sort(checks.begin(), checks.end(), [&](MoveCode a, MoveCode b) {
        return KnownLength(table_, After(p, a, kFirst), false) <
               KnownLength(table_, After(p, b, kFirst), false);
      });
      bool found = false;
      for (MoveCode c : checks) {
        const DfpnNodeResult r = search_.Solve(After(p, c, kFirst), false, left - 1);
        if (r.Proven()) {
          Play(p, c, kFirst, line, scope);
          found = true;
          break;
        }
        if (!r.Refuted()) return false;
      }
      if (!found) return false;
      --left;
      std::vector<MoveCode> replies = CountedReplies(p);
      if (search_.Stop() != DfpnStop::kNone) return false;
      if (replies.empty()) return true;
      if (left < 2) return false;
      std::stable_sort(replies.begin(), replies.end(), [&](MoveCode a, MoveCode b) {
        return KnownLength(table_, After(p, a, kSecond), true) >
               KnownLength(table_, After(p, b, kSecond), true);
      });
      // Every reply but the presumed longest is tried for a quicker mate; the first that has
      // none is a longest one, and if all have one the presumed longest is.
      MoveCode reply = replies[0];
      for (std::size_t i = 1; i < replies.size(); ++i) {
        const DfpnNodeResult r = search_.Solve(After(p, replies[i], kSecond), true, left - 3);
        if (r.Refuted() && !r.incomplete) {
          reply = replies[i];
          break;
        }
        if (!r.Proven()) return false;
      }
      Play(p, reply, kSecond, line, scope);
      --left;
    }
  }

  // A mating line from the proof in the table, the attacker taking the shortest mate the
  // table knows and the defender the longest; with `may_search` unknown moves are searched.
  // False when no line could be completed.
  bool ProofLine(bool may_search, std::vector<MoveCode>& line) {
    Position p = frame_;
    LineScope scope(search_);
    scope.Push(p, true);
    for (int guard = 0; guard < 4096; ++guard) {
      MoveCode best{};
      int best_length = 0x10000;
      for (MoveCode c : LegalChecks(p)) {
        int n = KnownLength(table_, After(p, c, kFirst), false);
        if (n == 0xFFFF && may_search && best_length == 0x10000) {
          const DfpnNodeResult r = search_.Solve(After(p, c, kFirst), false, kNoPlyLimit);
          if (r.Proven()) n = r.length;
        }
        if (n < best_length) {
          best_length = n;
          best = c;
        }
      }
      if (best_length >= 0xFFFF) return false;
      Play(p, best, kFirst, line, scope);
      std::vector<MoveCode> replies = CountedReplies(p);
      if (replies.empty()) return true;
      MoveCode longest{};
      int longest_length = -1;
      for (MoveCode e : replies) {
        int n = KnownLength(table_, After(p, e, kSecond), true);
        if (n == 0xFFFF) {
          if (!may_search) return false;
          const DfpnNodeResult r = search_.Solve(After(p, e, kSecond), true, kNoPlyLimit);
          if (!r.Proven()) return false;
          n = r.length;
        }
        if (n > longest_length) {
          longest_length = n;
          longest = e;
        }
      }
      Play(p, longest, kSecond, line, scope);
    }
    return false;
  }

 private:
  // Keeps the line's positions on the search's path, for repetitions, while it is built.
  class LineScope {
   public:
    explicit LineScope(DfpnSearch& search) : search_(search) {}
    ~LineScope() {
      for (; pushed_ > 0; --pushed_) search_.PopLine();
    }
    void Push(const Position& p, bool attacker_node) {
      if (search_.PushLine(p, attacker_node)) ++pushed_;
    }

   private:
    DfpnSearch& search_;
    int pushed_ = 0;
  };

  DfpnSearch& search_;
  const DfpnTable& table_;
  Position frame_;

  static Position After(const Position& p, MoveCode m, Side side) {
    Position q = p;
    ApplyMove(q, m, side);
    return q;
  }
  static void Play(Position& p, MoveCode m, Side side, std::vector<MoveCode>& line,
                   LineScope& scope) {
    ApplyMove(p, m, side);
    line.push_back(m);
    scope.Push(p, side == kSecond);
  }
  // The defender's replies in `p` that count: all but the futile drops.
  std::vector<MoveCode> CountedReplies(const Position& p) {
    EvasionList ev;
    const int n = GenerateEvasions(p, ev, false);
    std::vector<MoveCode> out;
    const std::uint64_t key = DfpnKey(p, false);
    for (int i = 0; i < n; ++i) {
      PackedHand ph;
      if (IsDrop(ev.moves[i]) && search_.FutileDrop(p, ev.moves[i], ph, key)) continue;
      out.push_back(ev.moves[i]);
    }
    return out;
  }
};

}  // namespace

DfpnResult SolveDfpn(const Position& pos, Side attacker, DfpnTable& table,
                     const DfpnLimits& limits) {
  DfpnResult result;
  if (!PieceCountsFit(pos)) {
    result.outcome = DfpnOutcome::kRefused;
    result.message = "駒の数に異常があります。";
    return result;
  }
  table.Clear();
  DfpnSearch search(table, limits);
  if (!search.Ready() || !table.Allocated()) {
    result.outcome = DfpnOutcome::kRefused;
    result.message = "メモリが不足してます。";
    return result;
  }
  const Position frame = attacker == kFirst ? pos : TurnPosition(pos);
  auto real = [&](MoveCode m) { return attacker == kFirst ? m : TurnMove(m); };
  auto finish = [&](DfpnOutcome outcome) {
    result.outcome = outcome;
    result.nodes = search.Nodes();
    result.seconds = search.Seconds();
    return result;
  };

  const Square k = frame.King[kSecond];
  if (const Square a = AttackedBy(frame, k, kFirst)) {
    // The defender's king stands in check: taking it ends the game at once.
    const int type = frame.Board[a];
    const bool must = ((type == kPawn || type == kLance) && k <= 9) || (type == kKnight && k <= 18);
    result.line.push_back(real(EncodeMove(a, k, must ? 1 : 0)));
    result.shortest = true;
    return finish(DfpnOutcome::kMate);
  }

  const DfpnNodeResult root = search.Solve(frame, true, kNoPlyLimit);
  if (!root.Proven()) {
    if (root.Refuted() && !root.incomplete) return finish(DfpnOutcome::kNoMate);
    return finish(search.Stop() == DfpnStop::kCaller ? DfpnOutcome::kStopped
                                                     : DfpnOutcome::kUnknown);
  }

  SolutionFinder finder(search, table, frame);
  int length = root.length;
  std::vector<MoveCode> line;
  result.shortest = finder.ShortestLength(1, length) && finder.ExactLine(length, line);
  if (!result.shortest) {
    // The limits ended the search for the shortest mate: a mate from the proof stands in,
    // found with a budget of its own (the caller can still stop it).
    line.clear();
    const bool stopped = search.Stop() == DfpnStop::kCaller;
    DfpnLimits more;
    more.max_nodes = search.Nodes() + 2'000'000;
    more.on_progress = limits.on_progress;
    search.SetLimits(more);
    if (!finder.ProofLine(!stopped, line)) {
      result.message = "詰みはありますが、手順を取り出せませんでした。";
      return finish(stopped ? DfpnOutcome::kStopped : DfpnOutcome::kUnknown);
    }
  }
  for (MoveCode m : line) result.line.push_back(real(m));

  // The solution is checked with the rules; a futile drop at the end is asked of the search
  // in the solver's frame.
  DfpnLimits check_limits;
  check_limits.max_nodes = search.Nodes() + 1'000'000;
  search.SetLimits(check_limits);
  auto futile = [&](const Position& p, MoveCode m) {
    PackedHand ph;
    const Position in_frame = attacker == kFirst ? p : TurnPosition(p);
    return search.FutileDrop(in_frame, attacker == kFirst ? m : TurnMove(m), ph,
                             DfpnKey(in_frame, false));
  };
  if (CheckMateLine(pos, attacker, result.line, futile) != MateLineCheck::kMate) {
    result.line.clear();
    result.message = "詰み手順の検証に失敗しました。";
    return finish(DfpnOutcome::kUnknown);
  }
  return finish(DfpnOutcome::kMate);
}

MateLineCheck CheckMateLine(const Position& pos, Side attacker, const std::vector<MoveCode>& line,
                            const std::function<bool(const Position&, MoveCode)>& futile) {
  auto record = std::make_unique<GameRecord>();
  auto legal = std::make_unique<LegalMoveList>();
  Position p = pos;
  Side side = attacker;
  // Legality does not depend on the moves before, except for the perpetual check, which a
  // line without a repeated position cannot contain.
  auto legal_moves = [&]() {
    record->InitialPosition = p;
    record->StartIndex = record->PlyCount = side;
    record->MoveList[side] = MoveCode{};
    return LegalMoves(*record, p, *legal);
  };
  std::vector<std::pair<Position, Side>> seen{{p, side}};
  for (MoveCode m : line) {
    const int n = legal_moves();
    bool found = false;
    for (int i = 0; i < n && !found; ++i) found = legal->Move(i) == m;
    if (!found) return MateLineCheck::kIllegalMove;
    const bool takes_king = DestinationOf(m) == p.King[Opponent(side)];
    ApplyMove(p, m, side);
    if (side == attacker && !takes_king && !InCheck(p, Opponent(attacker)))
      return MateLineCheck::kNoCheck;
    side = Opponent(side);
    for (const auto& [q, s] : seen) {
      if (s == side && q == p) return MateLineCheck::kRepeated;
    }
    seen.emplace_back(p, side);
    if (takes_king) return MateLineCheck::kMate;
  }
  if (side == attacker) return MateLineCheck::kNotMate;  // the line ends with a reply
  const int n = legal_moves();
  for (int i = 0; i < n; ++i) {
    const MoveCode reply = legal->Move(i);
    if (!IsDrop(reply) || !futile || !futile(p, reply)) return MateLineCheck::kNotMate;
  }
  return MateLineCheck::kMate;
}

}  // namespace shogi
