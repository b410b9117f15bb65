// Depth-first proof-number search: expansion of attacker and defender nodes, the proof and
// disproof hands, repetitions of the path, delayed interpositions and futile drops.
#include "analysis/dfpn_search.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "analysis/mate_movegen.h"
#include "rules/attack.h"

namespace shogi {
namespace {

// Random keys: one per square and piece code (-15..15, the empty square's key is 0), one for
// the defender to move, and one per type and count of the pieces in play.
struct Zobrist {
  std::uint64_t board[82][31];
  std::uint64_t defender_to_move;
  std::uint64_t in_play[8][32];
};
constexpr std::uint64_t NextRandom(std::uint64_t& x) {
  x += 0x9E3779B97F4A7C15ull;
  std::uint64_t z = x;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}
constexpr Zobrist MakeZobrist() {
  Zobrist z{};
  std::uint64_t x = 0x5348'4F47'4944'4650ull;
  for (auto& square : z.board) {
    for (int code = 0; code < 31; ++code) square[code] = code == 15 ? 0 : NextRandom(x);
  }
  z.defender_to_move = NextRandom(x);
  for (auto& type : z.in_play) {
    for (auto& count : type) count = NextRandom(x);
  }
  return z;
}
constexpr Zobrist kZobrist = MakeZobrist();

inline std::uint64_t SquareKey(Square s, int code) {
  return kZobrist.board[s][code + 15];
}

// The key after `side` plays `m` in `pos` (whose key is `key`).
inline std::uint64_t KeyAfter(std::uint64_t key, const Position& pos, MoveCode m, Side side) {
  const int to = DestinationOf(m);
  if (IsDrop(m)) {
    key ^= SquareKey(to, CodeOf(DroppedType(m.from), side));
  } else {
    const int from = m.from;
    const int piece = pos.Board[from];
    const int moved =
        IsPromotion(m) ? piece + (piece > 0 ? kPromoteOffset : -kPromoteOffset) : piece;
    key ^= SquareKey(from, piece) ^ SquareKey(to, pos.Board[to]) ^ SquareKey(to, moved);
  }
  return key ^ kZobrist.defender_to_move;
}

constexpr std::uint32_t kInfinite = kDfpnInfinite;

// Sums proof or disproof numbers, short of infinity unless one of them is infinite.
inline std::uint32_t AddNumbers(std::uint32_t a, std::uint32_t b) {
  if (a == kInfinite || b == kInfinite) return kInfinite;
  const std::uint64_t sum = static_cast<std::uint64_t>(a) + b;
  return sum >= kInfinite - 1 ? kInfinite - 1 : static_cast<std::uint32_t>(sum);
}
// The threshold that lets the best child run until it passes the second best by a quarter:
// the 1 + epsilon rule, which spares the search from switching between two siblings.
inline std::uint32_t Widen(std::uint32_t second) {
  if (second >= kInfinite - 1) return kInfinite;
  const std::uint64_t w = static_cast<std::uint64_t>(second) + second / 4 + 1;
  return w >= kInfinite ? kInfinite - 1 : static_cast<std::uint32_t>(w);
}
// th - total + own, for a threshold passed down to one child.
inline std::uint32_t ShareOf(std::uint32_t th, std::uint32_t total, std::uint32_t own) {
  if (th == kInfinite) return kInfinite;
  const std::uint64_t v = static_cast<std::uint64_t>(th) - total + own;
  return v >= kInfinite ? kInfinite - 1 : static_cast<std::uint32_t>(v);
}

// The attacker's hand after the attacker plays `m` in `pos`.
inline PackedHand HandAfterAttack(PackedHand hand, const Position& pos, MoveCode m) {
  if (IsDrop(m)) return HandAdd(hand, DroppedType(m.from), -1);
  const int captured = pos.Board[DestinationOf(m)];
  return captured != 0 ? HandAdd(hand, TypeOf(captured) & 7, +1) : hand;
}

// A proof hand of the position after the attacker's `m`, seen from before it: a dropped
// piece had to be in hand, a captured one did not.
inline PackedHand ProofHandBefore(PackedHand ph, const Position& pos, MoveCode m) {
  if (IsDrop(m)) return HandAdd(ph, DroppedType(m.from), +1);
  const int captured = pos.Board[DestinationOf(m)];
  return captured != 0 ? HandAdd(ph, TypeOf(captured) & 7, -1) : ph;
}
// The same for a disproof hand: the refutation stands with one more of a dropped piece, and
// with one fewer of a captured one.
inline PackedHand DisproofHandBefore(PackedHand dh, const Position& pos, MoveCode m) {
  return ProofHandBefore(dh, pos, m);
}

// Whether the defender's king in `pos` is checked by a single line piece from two or more
// squares away: the check that pieces in hand can block.
bool InterposableCheck(const Position& pos) {
  const Square k = pos.King[kSecond];
  Square checkers[16];
  if (AttackersOf(pos, k, kFirst, checkers) != 1) return false;
  const int df = FileOf(checkers[0]) - FileOf(k), dr = RankOf(checkers[0]) - RankOf(k);
  const int adf = df < 0 ? -df : df, adr = dr < 0 ? -dr : dr;
  return (df == 0 || dr == 0 || adf == adr) && (adf > 1 || adr > 1);
}

// A proof hand of a defender node widened by what the defender's hand allowed: when the check
// can be blocked and the defender holds no piece of a type, the proof relied on that, so it
// needs every piece of the type the attacker holds (with fewer, the defender would have one).
PackedHand WithInterpositionRule(const Position& pos, PackedHand hand, PackedHand ph) {
  if (!InterposableCheck(pos)) return ph;
  for (int t = kPawn; t <= kRook; ++t) {
    if (pos.Hand[kSecond][t] == 0 && HandCount(ph, t) < HandCount(hand, t))
      ph = WithHandCount(ph, t, HandCount(hand, t));
  }
  return ph;
}

// The disproof hand of an attacker node without a single check: more of a type the attacker
// holds gives no new check, any piece of a type it lacks might.
PackedHand NoCheckDisproofHand(PackedHand hand) {
  PackedHand dh = kFullHand;
  for (int t = kPawn; t <= kRook; ++t) {
    if (HandCount(hand, t) == 0) dh = WithHandCount(dh, t, 0);
  }
  return dh;
}

// Whether the first n replies are all drops: only then can they all be futile, which is the
// dearer question.
bool OnlyDrops(const EvasionList& ev, int n) {
  return std::all_of(ev.moves, ev.moves + n, [](MoveCode e) { return IsDrop(e); });
}

// Initial proof number of a defender node: one per reply, the drops on one square counted
// once since they are searched one after another.
std::uint32_t ReplyWeight(const EvasionList& ev, int n) {
  std::uint32_t w = 0;
  int last_drop_square = 0;
  for (int i = 0; i < n; ++i) {
    const MoveCode e = ev.moves[i];
    if (IsDrop(e)) {
      if (DestinationOf(e) == last_drop_square) continue;
      last_drop_square = DestinationOf(e);
    }
    ++w;
  }
  return w;
}

constexpr int kArenaSize = 1 << 18;  // children of the nodes on the current path
constexpr int kMaxPath = 3000;       // plies of the deepest path searched
constexpr int kFilterSize = 1 << 12;
// The nodes a futility question may take; a drop not shown futile by then is counted.
constexpr std::uint64_t kFutilityBudget = 2000;
constexpr int kFutilityCacheSize = 1 << 12;
constexpr int kEstimateCacheSize = 1 << 12;
// The plies left below which a limited search runs a child to its end.
constexpr int kSmallLimit = 3;

// What the expansions return instead of a count: no room left for the children, or (a
// defender node) a reply that counts and no ply left to answer it.
constexpr int kNoRoom = -1;
constexpr int kNoPlyForReply = -2;

constexpr std::uint8_t kInactive = 1;    // a drop waiting for the drop before it on its square
constexpr std::uint8_t kIncomplete = 4;  // refuted because a resource ran out
constexpr std::uint8_t kAsked = 8;       // a drop whose futility was asked
constexpr std::uint8_t kFutile = 16;     // a futile drop: no defence, not counted

}  // namespace

struct DfpnSearch::Child {
  std::uint64_t key;
  PackedHand hand;  // exact; the proof or disproof hand once settled
  std::uint32_t pn, dn;
  std::uint16_t length;
  MoveCode move;
  std::int16_t rep_from;  // a refutation's repetition, as in DfpnNodeResult
  std::uint8_t group;     // the square of a dropped interposition, 0 otherwise
  std::uint8_t flags;
  MoveCode first_reply;  // a defender node with two plies left: its first reply, once known

  // Takes what a search of the child found.
  void Take(const DfpnNodeResult& r) {
    pn = r.pn;
    dn = r.dn;
    length = r.length;
    hand = r.hand;
    rep_from = static_cast<std::int16_t>(r.rep_from);
    if (r.incomplete) flags |= kIncomplete;
  }
};

namespace {

constexpr int kNoRepetition = DfpnNodeResult::kNoRepetition;
// The multiplier of the path's rolling hash and its powers.
constexpr std::uint64_t kPathBase = 0x100000001B3ull;
struct PathPowers {
  std::uint64_t power[kMaxPath + 1];
};
constexpr PathPowers MakePathPowers() {
  PathPowers p{};
  p.power[0] = 1;
  for (int i = 1; i <= kMaxPath; ++i) p.power[i] = p.power[i - 1] * kPathBase;
  return p;
}
constexpr PathPowers kPathPowers = MakePathPowers();

}  // namespace

std::uint64_t DfpnKey(const Position& pos, bool attacker_node) {
  std::uint64_t key = attacker_node ? 0 : kZobrist.defender_to_move;
  int in_play[8] = {};
  // Eight squares at a time: most of a problem's board is empty.
  for (Square base = 0; base <= kSquareCount; base += 8) {
    std::uint64_t word;
    std::memcpy(&word, pos.Board + base, sizeof word);
    if (word == 0) continue;
    const Square end = base + 8 <= kSquareCount ? base + 8 : kSquareCount + 1;
    for (Square s = base; s < end; ++s) {
      const int code = pos.Board[s];
      if (code == 0) continue;
      key ^= SquareKey(s, code);
      if (TypeOf(code) != kKing) ++in_play[TypeOf(code) & 7];
    }
  }
  for (int t = kPawn; t <= kRook; ++t) {
    const int n = in_play[t] + pos.Hand[kFirst][t] + pos.Hand[kSecond][t];
    key ^= kZobrist.in_play[t][n < 0 ? 0 : (n > 31 ? 31 : n)];
  }
  return key;
}

DfpnSearch::DfpnSearch(DfpnTable& table, const DfpnLimits& limits)
    : table_(table), limits_(&limits), start_(std::chrono::steady_clock::now()) {
  arena_.reset(new (std::nothrow) std::byte[kArenaSize * sizeof(Child)]);
  path_.reset(new (std::nothrow) PathEntry[kMaxPath + 1]);
  path_hash_.reset(new (std::nothrow) std::uint64_t[kMaxPath + 2]);
  if (path_hash_) path_hash_[0] = 0;
  path_filter_.reset(new (std::nothrow) std::uint16_t[kFilterSize]());
  futility_.reset(new (std::nothrow) FutilityVerdict[kFutilityCacheSize]());
  estimates_.reset(new (std::nothrow) KnownEstimate[kEstimateCacheSize]());
  if (!path_ || !path_hash_ || !path_filter_ || !futility_ || !estimates_) arena_.reset();
}

DfpnSearch::~DfpnSearch() = default;

double DfpnSearch::Seconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void DfpnSearch::SetLimits(const DfpnLimits& limits) {
  limits_ = &limits;
  stop_ = DfpnStop::kNone;
  next_check_ = nodes_;
}

void DfpnSearch::CheckLimits() {
  next_check_ = nodes_ + 1024;
  const double elapsed = Seconds();
  if ((limits_->seconds > 0 && elapsed >= limits_->seconds) ||
      (limits_->max_nodes > 0 && nodes_ >= limits_->max_nodes)) {
    stop_ = DfpnStop::kLimit;
    return;
  }
  if (limits_->on_progress && elapsed >= next_report_) {
    next_report_ = elapsed + 0.1;
    if (!limits_->on_progress(nodes_, elapsed)) stop_ = DfpnStop::kCaller;
  }
}

bool DfpnSearch::Stopping() {
  if (stop_ != DfpnStop::kNone) return true;
  if (nodes_ >= next_check_) CheckLimits();
  return stop_ != DfpnStop::kNone || (node_cap_ != 0 && nodes_ >= node_cap_);
}

void DfpnSearch::Push(std::uint64_t key, PackedHand hand) {
  path_hash_[path_top_ + 1] = path_hash_[path_top_] * kPathBase + (key ^ (hand * 0x9E3779B1u));
  path_[path_top_++] = PathEntry{key, hand};
  ++path_filter_[key & (kFilterSize - 1)];
}

void DfpnSearch::Pop() {
  --path_top_;
  --path_filter_[path_[path_top_].key & (kFilterSize - 1)];
}

bool DfpnSearch::PushLine(const Position& pos, bool attacker_node) {
  if (path_top_ >= kMaxPath) return false;
  Push(DfpnKey(pos, attacker_node), PackHand(pos, kFirst));
  return true;
}

void DfpnSearch::PopLine() {
  if (path_top_ > 0) Pop();
}

// The same board with the same side to move earlier on the path, the attacker holding at
// least as much then: repeating it, or coming back poorer, gains the attacker nothing.
int DfpnSearch::OnPath(std::uint64_t key, PackedHand hand) const {
  if (path_filter_[key & (kFilterSize - 1)] == 0) return -1;
  for (int i = path_top_ - 1; i >= path_base_; --i) {
    if (path_[i].key == key && HandCovers(path_[i].hand, hand)) return i;
  }
  return -1;
}

std::uint32_t DfpnSearch::SegmentHash(int from, int to) const {
  const std::uint64_t h = path_hash_[to] - path_hash_[from] * kPathPowers.power[to - from];
  return static_cast<std::uint32_t>(h ^ (h >> 32));
}

DfpnPathView DfpnSearch::PathView() const {
  DfpnPathView view;
  view.context = this;
  view.holds = [](const void* context, std::uint16_t plies, std::uint32_t hash) {
    const auto* search = static_cast<const DfpnSearch*>(context);
    const int to = search->path_top_;
    return plies <= to - search->path_base_ && search->SegmentHash(to - plies, to) == hash;
  };
  return view;
}

DfpnNodeResult DfpnSearch::Solve(const Position& pos, bool attacker_node, int limit) {
  return SolveKeyed(pos, DfpnKey(pos, attacker_node), attacker_node, limit);
}

DfpnNodeResult DfpnSearch::SolveKeyed(const Position& pos, std::uint64_t key, bool attacker_node,
                                      int limit) {
  const PackedHand hand = PackHand(pos, kFirst);
  const DfpnProbe probe = table_.Probe(key, hand, static_cast<std::uint16_t>(limit), PathView());
  if (probe.found && (probe.pn == 0 || probe.dn == 0)) {
    DfpnNodeResult r;
    r.pn = probe.pn;
    r.dn = probe.dn;
    r.hand = probe.hand;
    r.length = probe.length;
    r.move = probe.move;
    if (probe.path_plies > 0) r.rep_from = path_top_ - probe.path_plies;
    return r;
  }
  return Mid(pos, key, hand, attacker_node, limit, kInfinite, kInfinite);
}

DfpnNodeResult DfpnSearch::SolveNested(const Position& pos, std::uint64_t key) {
  const int saved_base = path_base_;
  const std::uint64_t saved_cap = node_cap_;
  path_base_ = path_top_;
  node_cap_ = nodes_ + kFutilityBudget;
  if (saved_cap != 0 && saved_cap < node_cap_) node_cap_ = saved_cap;
  const DfpnNodeResult r = SolveKeyed(pos, key, false, 0);
  path_base_ = saved_base;
  node_cap_ = saved_cap;
  return r;
}

bool DfpnSearch::FutileDrop(const Position& pos, MoveCode drop, PackedHand& proof_hand,
                            std::uint64_t key) {
  const Square k = pos.King[kSecond];
  Square checkers[16];
  if (!IsDrop(drop) || AttackersOf(pos, k, kFirst, checkers) != 1) return false;
  const Square c = checkers[0], s = DestinationOf(drop);
  const int type = pos.Board[c];
  const int dropped = DroppedType(drop.from);
  const PackedHand hand = PackHand(pos, kFirst);
  Position blocked = pos;
  ApplyMove(blocked, drop, kSecond);
  for (int promote = 0; promote <= 1; ++promote) {
    const bool can = CanPromote(type) && (c <= 27 || s <= 27);
    const bool must = (type == kPawn || type == kLance) && s <= 9;
    if (promote ? !can : must) continue;
    Position taken = blocked;
    ApplyMove(taken, c, kFirst, s, promote);
    if (taken.King[kFirst] > 0 && AttackedBy(taken, taken.King[kFirst], kSecond) != 0) continue;
    // The capture's position: mate at once, by a proof that does not use the piece taken.
    const std::uint64_t taken_key =
        KeyAfter(KeyAfter(key, pos, drop, kSecond), blocked, EncodeMove(c, s, promote), kFirst);
    FutilityVerdict& v = futility_[(taken_key ^ (taken_key >> 29)) & (kFutilityCacheSize - 1)];
    if (v.key != taken_key || v.hand != hand) {
      const DfpnNodeResult r = SolveNested(taken, taken_key);
      if (!r.Proven() && !r.Refuted() && stop_ != DfpnStop::kNone) return false;  // unsettled
      v.key = taken_key;
      v.hand = hand;
      v.futile = r.Proven() && HandCount(r.hand, dropped) <= HandCount(hand, dropped);
      v.proof_hand = r.hand;
    }
    if (v.futile) {
      proof_hand = v.proof_hand;
      return true;
    }
  }
  return false;
}

DfpnNodeResult DfpnSearch::MateInOne(const Position& pos, std::uint64_t key, PackedHand hand) {
  // A check that leaves the king a free square is answered by stepping there: no need to
  // play it.
  const CheckEscapes escapes_after(pos);
  const KingEscapes escapes = escapes_after.Now();
  CheckList checks;
  GenerateCoveringChecks(escapes_after, escapes, checks);
  EvasionList ev;
  DfpnNodeResult result;
  PackedHand dh = kFullHand;
  for (int i = 0; i < checks.count; ++i) {
    const MoveCode m = checks.moves[i];
    if (!MayCoverEscapes(pos, m, escapes)) continue;
    Position next = pos;
    ApplyMove(next, m, kFirst);
    if (next.King[kFirst] > 0 && AttackedBy(next, next.King[kFirst], kSecond) != 0) continue;
    const PackedHand after = HandAfterAttack(hand, pos, m);
    // A king move or a capture answers it, whatever the hands (the generator lists those
    // first). The list is made whole at once: most lists begin with a drop, and then every
    // reply is looked at.
    const KingEscapes steps = escapes_after.After(next, m);
    if (steps.count > 0) continue;
    ev.count = 0;
    const int replies = GenerateEvasions(next, steps, ev, false);
    if (replies != 0 && !IsDrop(ev.moves[0])) continue;
    if (replies == 0 && m.from == DropOrigin(kPawn)) continue;  // mate by a pawn drop
    // Mate only if every reply is a futile drop.
    PackedHand futile = 0;
    bool mate = OnlyDrops(ev, replies);
    const std::uint64_t next_key = mate ? KeyAfter(key, pos, m, kFirst) : 0;
    for (int j = 0; j < replies && mate; ++j) {
      PackedHand ph = 0;
      mate = FutileDrop(next, ev.moves[j], ph, next_key);
      futile = HandMax(futile, ph);
    }
    if (mate) {
      result.pn = 0;
      result.dn = kInfinite;
      result.length = 1;
      result.move = m;
      result.hand = ProofHandBefore(WithInterpositionRule(next, after, futile), pos, m);
      return result;
    }
    // Answered by drops: with more in the attacker's hand the defender might lack them.
    dh = HandMin(dh, DisproofHandBefore(after, pos, m));
  }
  for (int t = kPawn; t <= kRook; ++t) {
    if (HandCount(hand, t) == 0) dh = WithHandCount(dh, t, 0);
  }
  result.pn = kInfinite;
  result.dn = 0;
  result.hand = dh;
  return result;
}

DfpnNodeResult DfpnSearch::DefenderTwoPlies(const Position& pos, std::uint64_t key, PackedHand hand,
                                            MoveCode first_reply) {
  // The first reply (a king's step or a capture, when there is one) usually refutes the
  // node: the rest of the list, the interpositions above all, is generated only if it
  // does not.
  EvasionList ev;
  int replies = 1;
  if (first_reply == MoveCode{}) {
    replies = GenerateEvasions(pos, ev, true);
  } else {
    ev.moves[ev.count++] = first_reply;
  }
  DfpnNodeResult result;
  PackedHand ph = 0;
  bool counted = false;       // a reply that is not a futile drop
  bool whole = replies == 0;  // no reply at all: the list is whole
  for (int i = 0; i < replies || !whole; ++i) {
    if (i == replies) {
      ev.count = 0;
      replies = GenerateEvasions(pos, ev, false);
      whole = true;
      if (i >= replies) break;
    }
    const MoveCode e = ev.moves[i];
    Position next = pos;
    ApplyMove(next, e, kSecond);
    DfpnNodeResult r;
    const std::uint64_t next_key = KeyAfter(key, pos, e, kSecond);
    const int repeated = OnPath(next_key, hand);
    if (repeated >= 0) {
      r.pn = kInfinite;
      r.dn = 0;
      r.hand = hand;
      r.rep_from = repeated;
    } else {
      r = MateInOne(next, next_key, hand);
    }
    PackedHand futile = 0;
    if (r.Refuted() && IsDrop(e) && FutileDrop(pos, e, futile, key)) {
      ph = HandMax(ph, futile);
      continue;
    }
    if (r.Refuted()) {
      PackedHand dh = r.hand;
      if (IsDrop(e)) {
        const int t = DroppedType(e.from);
        const int most = HandCount(hand, t) + pos.Hand[kSecond][t] - 1;
        if (HandCount(dh, t) > most) dh = WithHandCount(dh, t, most);
      }
      result.pn = kInfinite;
      result.dn = 0;
      result.hand = dh;
      result.move = e;
      result.rep_from = r.rep_from;
      return result;
    }
    ph = HandMax(ph, r.hand);
    if (!counted) result.move = e;
    counted = true;
  }
  result.pn = 0;
  result.dn = kInfinite;
  result.hand = WithInterpositionRule(pos, hand, ph);
  result.length = counted ? 2 : 0;
  return result;
}

int DfpnSearch::ExpandAttacker(const Position& pos, std::uint64_t key, PackedHand hand, int limit,
                               Child* out, int room) {
  CheckList checks;
  GenerateChecks(pos, true, checks);
  const int child_limit = limit == kNoPlyLimit ? kNoPlyLimit : limit - 1;
  // The children's keys first, so that their table buckets are on the way meanwhile (those
  // with two plies left stay out of the table).
  std::uint64_t keys[kMaxMateChecks];
  for (int i = 0; i < checks.count; ++i) {
    keys[i] = KeyAfter(key, pos, checks.moves[i], kFirst);
    if (child_limit != 2) table_.Prefetch(keys[i]);
  }
  int n = 0;
  EvasionList ev;
  // A defender node far from the limit is refuted only through an attacker node below it,
  // which has several checks to refute: its disproof number starts above one.
  const std::uint32_t dn_unknown = child_limit != kNoPlyLimit && child_limit >= 6 ? 4 : 1;
  // The king's free squares after a check, from the attacks on the board read once for all
  // the checks.
  CheckEscapes escapes;  // read at the first check
  auto free_squares = [&](const Position& next, MoveCode m) {
    if (!escapes.Ready()) escapes.Read(pos);
    return escapes.After(next, m);
  };
  for (int i = 0; i < checks.count; ++i) {
    const MoveCode m = checks.moves[i];
    Position next = pos;
    ApplyMove(next, m, kFirst);
    if (next.King[kFirst] > 0 && AttackedBy(next, next.King[kFirst], kSecond) != 0) continue;
    const bool pawn_drop = m.from == DropOrigin(kPawn);
    if (pawn_drop) {
      ev.count = 0;
      if (GenerateEvasions(next, ev, true) == 0) continue;  // mate by a pawn drop is not allowed
    }
    if (n >= room) return kNoRoom;
    Child& c = out[n++];
    c.move = m;
    c.key = keys[i];
    c.hand = HandAfterAttack(hand, pos, m);
    c.length = 0;
    c.group = 0;
    c.flags = 0;
    c.rep_from = kNoRepetition;
    c.first_reply = MoveCode{};
    if (const int repeated = OnPath(c.key, c.hand); repeated >= 0) {
      c.pn = kInfinite;
      c.dn = 0;
      c.rep_from = static_cast<std::int16_t>(repeated);
      continue;
    }
    ev.count = 0;
    // Defender nodes with two plies left are settled without the table.
    const DfpnProbe probe =
        child_limit == 2
            ? DfpnProbe{}
            : table_.Probe(c.key, c.hand, static_cast<std::uint16_t>(child_limit), PathView());
    if (probe.found) {
      c.pn = probe.pn;
      c.dn = probe.dn;
      c.length = probe.length;
      if (probe.pn == 0 || probe.dn == 0) c.hand = probe.hand;
      if (probe.path_plies > 0)
        c.rep_from = static_cast<std::int16_t>(path_top_ - probe.path_plies);
      continue;
    }
    // The proof number starts from the replies: a king that can step away counts its steps
    // alone, and the captures and interpositions (the dearest replies to list) are counted
    // only when it cannot. Below a node with three plies left the children are run to their
    // end in turn, and their order matters less than the cost of counting them: the first
    // reply is all they need.
    const KingEscapes steps = free_squares(next, m);
    if (steps.count > 0) {
      if (child_limit == 2) {  // the first reply, as the evasions list it: a king's step
        c.first_reply = EncodeMove(pos.King[kSecond], steps.squares[0], 0);
        c.pn = 1;
      } else {
        c.pn = static_cast<std::uint32_t>(steps.count);
      }
      c.dn = dn_unknown;
      continue;
    }
    const int replies = GenerateEvasions(next, steps, ev, child_limit == 2);
    if (child_limit == 2 && replies > 0) c.first_reply = ev.moves[0];
    if (replies == 0) {
      c.pn = 0;
      c.dn = kInfinite;
      c.hand = WithInterpositionRule(next, c.hand, 0);
      return n;  // a mate in one: nothing shorter exists
    }
    c.pn = ReplyWeight(ev, replies);
    c.dn = dn_unknown;
  }
  return n;
}

int DfpnSearch::ExpandDefender(const Position& pos, std::uint64_t key, PackedHand hand, int limit,
                               Child* out, int room, PackedHand& futile_proof) {
  EvasionList ev;
  const int replies = GenerateEvasions(pos, ev, false);
  const int child_limit = limit == kNoPlyLimit ? kNoPlyLimit : limit - 1;
  // A search with a plies limit counts as problems do: futile drops are no defence. The
  // question is asked of a drop only when it would refute the node (in the search loop),
  // except here, with no ply left.
  if (limit == 0) {
    // With no ply left the node is a mate only if every reply is a futile drop.
    if (!OnlyDrops(ev, replies)) return kNoPlyForReply;
    for (int i = 0; i < replies; ++i) {
      PackedHand ph = 0;
      if (!FutileDrop(pos, ev.moves[i], ph, key)) return kNoPlyForReply;
      futile_proof = HandMax(futile_proof, ph);
    }
    return 0;
  }
  std::uint64_t keys[kMaxMateEvasions];
  for (int i = 0; i < replies; ++i) {
    keys[i] = KeyAfter(key, pos, ev.moves[i], kSecond);
    table_.Prefetch(keys[i]);
  }
  int n = 0;
  // Far from the limit, an attacker node not yet searched starts from about as many as its
  // checks, the disproof number its first expansion would show: with one, the node would be
  // expanded only to learn that, each of its siblings in turn. Nearer the limit the nodes
  // are searched to their end, first reply first, and the estimate costs more than it spares.
  const bool estimate_checks = child_limit != kNoPlyLimit && child_limit >= 5;
  CheckEstimate estimate;  // read at the first estimate
  int estimated = 0, estimated_group = -1;
  for (int i = 0; i < replies; ++i) {
    const MoveCode e = ev.moves[i];
    if (n >= room) return kNoRoom;
    Child& c = out[n++];
    c.move = e;
    c.key = keys[i];
    c.hand = hand;
    c.length = 0;
    c.flags = 0;
    c.rep_from = kNoRepetition;
    c.group = IsDrop(e) ? static_cast<std::uint8_t>(DestinationOf(e)) : 0;
    c.first_reply = MoveCode{};
    // Drops on one square wait for the one before: once it is mated, the others usually are
    // by the same moves, which the proof hands find in the table.
    if (c.group != 0 && n > 1 && out[n - 2].group == c.group) c.flags = kInactive;
    if (const int repeated = OnPath(c.key, c.hand); repeated >= 0) {
      c.pn = kInfinite;
      c.dn = 0;
      c.rep_from = static_cast<std::int16_t>(repeated);
      continue;
    }
    // A mate in one is found faster than looked up: such nodes stay out of the table.
    if (child_limit == 1) {
      c.pn = c.dn = 1;
      continue;
    }
    const DfpnProbe probe =
        table_.Probe(c.key, c.hand, static_cast<std::uint16_t>(child_limit), PathView());
    c.pn = probe.pn;
    c.dn = probe.dn;
    c.length = probe.length;
    if (!probe.found && estimate_checks) {
      // Drops on one square leave the same checks.
      if (c.group == 0 || c.group != estimated_group) {
        // Made once for this node and reply: its next expansions find it in the cache.
        const std::uint64_t tag =
            c.key ^ (key * 0x9E3779B97F4A7C15ull) ^ (hand * 0xC2B2AE3D27D4EB4Full);
        KnownEstimate& known = estimates_[(tag ^ (tag >> 32)) & (kEstimateCacheSize - 1)];
        if (known.tag != tag) {
          if (!estimate.Ready()) estimate.Read(pos);
          Position next = pos;
          ApplyMove(next, e, kSecond);
          known.tag = tag;
          known.estimate = estimate.After(next);
        }
        estimated = known.estimate;
        estimated_group = c.group;
      }
      c.dn = estimated > 1 ? static_cast<std::uint32_t>(estimated) : 1;
    }
    if (probe.found && (probe.pn == 0 || probe.dn == 0)) c.hand = probe.hand;
    if (probe.path_plies > 0) c.rep_from = static_cast<std::int16_t>(path_top_ - probe.path_plies);
  }
  return n;
}

void DfpnSearch::RunInTurn(const Position& pos, int child_limit, Child* children, int n) {
  // The order the search loop takes: the least proof number first, the earlier of equals.
  std::uint16_t order[kMaxMateChecks];
  for (int i = 0; i < n; ++i) {
    int j = i;
    for (; j > 0 && children[order[j - 1]].pn > children[i].pn; --j) order[j] = order[j - 1];
    order[j] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0; i < n; ++i) {
    Child& c = children[order[i]];
    if (c.pn == 0 || c.pn == kInfinite || Stopping()) return;
    Position next = pos;
    ApplyMove(next, c.move, kFirst);
    c.Take(Mid(next, c.key, c.hand, false, child_limit, kInfinite, kInfinite, c.first_reply));
    if (c.pn == 0) return;
  }
}

DfpnNodeResult DfpnSearch::Mid(const Position& pos, std::uint64_t key, PackedHand hand,
                               bool attacker_node, int limit, std::uint32_t th_pn,
                               std::uint32_t th_dn, MoveCode first_reply) {
  const std::uint64_t nodes_at_entry = nodes_++;
  DfpnNodeResult result;
  result.hand = hand;
  if (Stopping()) return result;
  const bool limited = limit != kNoPlyLimit;
  if (attacker_node && limited && limit < 1) {  // no ply left for a check
    result.pn = kInfinite;
    result.dn = 0;
    result.hand = kFullHand;
    return result;
  }
  if (path_top_ >= kMaxPath) {
    result.pn = kInfinite;
    result.dn = 0;
    result.incomplete = true;
    return result;
  }
  if (attacker_node && limit == 1) return MateInOne(pos, key, hand);
  if (!attacker_node && limit == 2) return DefenderTwoPlies(pos, key, hand, first_reply);

  Child* children = reinterpret_cast<Child*>(arena_.get()) + arena_top_;
  const int room = kArenaSize - arena_top_;
  PackedHand futile_proof = 0;
  const int my_index = path_top_;
  std::uint16_t path_plies = 0;
  std::uint32_t path_hash = 0;
  Push(key, hand);
  const int n = attacker_node ? ExpandAttacker(pos, key, hand, limit, children, room)
                              : ExpandDefender(pos, key, hand, limit, children, room, futile_proof);
  const std::uint16_t limit16 = static_cast<std::uint16_t>(limit);
  if (n < 0 || Stopping()) {
    Pop();
    if (n == kNoRoom) {
      result.pn = kInfinite;
      result.dn = 0;
      result.incomplete = true;
    } else if (n == kNoPlyForReply && stop_ == DfpnStop::kNone) {
      result.pn = kInfinite;
      result.dn = 0;
      table_.Store(key, hand, limit16, result.pn, result.dn, 0, MoveCode{},
                   nodes_ - nodes_at_entry);
    }
    return result;
  }
  arena_top_ += n;
  auto finish = [&](bool store) {
    arena_top_ -= n;
    Pop();
    if (store) {
      table_.Store(key, result.hand, limit16, result.pn, result.dn, result.length, result.move,
                   nodes_ - nodes_at_entry, path_plies, path_hash);
    }
    return result;
  };

  if (n == 0) {
    if (attacker_node) {  // no check at all
      result.pn = kInfinite;
      result.dn = 0;
      result.hand = NoCheckDisproofHand(hand);
    } else {  // mate: no reply, or only futile drops
      result.pn = 0;
      result.dn = kInfinite;
      result.hand = WithInterpositionRule(pos, hand, futile_proof);
    }
    return finish(true);
  }
  const Side mover = attacker_node ? kFirst : kSecond;
  const int child_limit = limited ? limit - 1 : kNoPlyLimit;
  // The last few plies of a limited search are searched to the end at once: entering them
  // again and again costs more than the little they could be spared.
  const bool to_the_end = limited && child_limit <= kSmallLimit;
  // An attacker node that is itself run to its end takes such children in the loop's order,
  // found once rather than by a pass over all of them per child; the loop then only sums up.
  if (attacker_node && to_the_end && th_pn == kInfinite && th_dn == kInfinite)
    RunInTurn(pos, child_limit, children, n);
  while (true) {
    std::uint32_t pn, dn;
    int best = -1;
    std::uint32_t second = kInfinite;
    if (attacker_node) {
      pn = kInfinite;
      dn = 0;
      for (int i = 0; i < n; ++i) {
        const Child& c = children[i];
        dn = AddNumbers(dn, c.dn);
        if (best < 0 || c.pn < children[best].pn) {
          if (best >= 0) second = children[best].pn;
          best = i;
        } else if (c.pn < second) {
          second = c.pn;
        }
      }
      pn = children[best].pn;
    } else {
      pn = 0;
      dn = kInfinite;
      for (int i = 0; i < n; ++i) {
        Child& c = children[i];
        if (c.group != 0) {
          // A waiting drop starts once the drop before it on its square is mated.
          if ((c.flags & kInactive) && i > 0 && children[i - 1].group == c.group &&
              !(children[i - 1].flags & kInactive) && children[i - 1].pn == 0)
            c.flags &= static_cast<std::uint8_t>(~kInactive);
          // A drop that would refute a limited search counts only if it is not futile.
          if (limited && c.dn == 0 && !(c.flags & (kInactive | kAsked))) {
            c.flags |= kAsked;
            PackedHand ph = 0;
            if (FutileDrop(pos, c.move, ph, key)) {
              c.pn = 0;
              c.dn = kInfinite;
              c.hand = ph;
              c.length = 0;
              c.flags |= kFutile;
              c.flags &= static_cast<std::uint8_t>(~kIncomplete);
              c.rep_from = kNoRepetition;
            }
          }
          if (c.flags & kInactive) continue;
        }
        pn = AddNumbers(pn, c.pn);
        if (best < 0 || c.dn < children[best].dn) {
          if (best >= 0) second = children[best].dn;
          best = i;
        } else if (c.dn < second) {
          second = c.dn;
        }
      }
      dn = children[best].dn;
    }
    result.pn = pn;
    result.dn = dn;
    if (pn == 0 || dn == 0 || pn >= th_pn || dn >= th_dn || Stopping()) break;

    Child& c = children[best];
    std::uint32_t child_th_pn, child_th_dn;
    if (attacker_node) {
      child_th_pn = Widen(second) < th_pn ? Widen(second) : th_pn;
      child_th_dn = ShareOf(th_dn, dn, c.dn);
    } else {
      child_th_dn = Widen(second) < th_dn ? Widen(second) : th_dn;
      child_th_pn = ShareOf(th_pn, pn, c.pn);
    }
    Position next = pos;
    ApplyMove(next, c.move, mover);
    c.Take(Mid(next, c.key, c.hand, !attacker_node, child_limit,
               to_the_end ? kInfinite : child_th_pn, to_the_end ? kInfinite : child_th_dn,
               c.first_reply));
  }

  if (result.pn == 0) {
    if (attacker_node) {
      int chosen = -1;
      for (int i = 0; i < n; ++i) {
        if (children[i].pn == 0 && (chosen < 0 || children[i].length < children[chosen].length))
          chosen = i;
      }
      const Child& c = children[chosen];
      result.length = static_cast<std::uint16_t>(c.length + 1);
      result.hand = ProofHandBefore(c.hand, pos, c.move);
      result.move = c.move;
    } else {
      PackedHand ph = futile_proof;
      int longest = -1;
      for (int i = 0; i < n; ++i) {
        const Child& c = children[i];
        ph = HandMax(ph, c.hand);
        if (!(c.flags & kFutile) && (longest < 0 || c.length > children[longest].length))
          longest = i;
      }
      result.hand = WithInterpositionRule(pos, hand, ph);
      if (longest >= 0) {
        result.length = static_cast<std::uint16_t>(children[longest].length + 1);
        result.move = children[longest].move;
      }
    }
    return finish(true);
  }
  if (result.dn == 0) {
    if (attacker_node) {
      PackedHand dh = kFullHand;
      for (int i = 0; i < n; ++i) {
        const Child& c = children[i];
        dh = HandMin(dh, DisproofHandBefore(c.hand, pos, c.move));
        if (c.rep_from < result.rep_from) result.rep_from = c.rep_from;
        if (c.flags & kIncomplete) result.incomplete = true;
      }
      for (int t = kPawn; t <= kRook; ++t) {
        if (HandCount(hand, t) == 0) dh = WithHandCount(dh, t, 0);
      }
      result.hand = dh;
    } else {
      // The refuting reply: one that holds whatever the path, if there is one.
      int chosen = -1;
      for (int i = 0; i < n; ++i) {
        const Child& c = children[i];
        if (c.dn != 0 || (c.flags & kInactive)) continue;
        // Prefer a complete refutation resting on as little of the path as possible.
        if (chosen < 0 ||
            ((children[chosen].flags & kIncomplete) != 0) > ((c.flags & kIncomplete) != 0) ||
            (((children[chosen].flags & kIncomplete) != 0) == ((c.flags & kIncomplete) != 0) &&
             c.rep_from > children[chosen].rep_from))
          chosen = i;
      }
      const Child& c = children[chosen];
      PackedHand dh = c.hand;
      if (IsDrop(c.move)) {
        // The defender must still hold the dropped piece: the attacker may hold one fewer
        // of that type than all those off the board.
        const int t = DroppedType(c.move.from);
        const int most = HandCount(hand, t) + pos.Hand[kSecond][t] - 1;
        if (HandCount(dh, t) > most) dh = WithHandCount(dh, t, most);
      }
      result.hand = dh;
      result.move = c.move;
      result.rep_from = c.rep_from;
      result.incomplete = (c.flags & kIncomplete) != 0;
    }
    // A repetition of this node or of one below it holds whatever the path above.
    if (result.rep_from >= my_index) result.rep_from = kNoRepetition;
    if (result.incomplete) return finish(false);
    if (result.rep_from == kNoRepetition) return finish(true);
    path_plies = static_cast<std::uint16_t>(my_index - result.rep_from);
    path_hash = SegmentHash(result.rep_from, my_index);
    return finish(true);
  }
  result.hand = hand;
  return finish(true);
}

}  // namespace shogi
