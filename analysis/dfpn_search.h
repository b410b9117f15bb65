// Depth-first proof-number search over checks and evasions, the engine of the df-pn mate
// solver. It works in the mate solver's frame (the attacker is the first player, the
// defender's king exists) and settles one node at a time: proven (a forced mate), refuted
// (none), or left open when the caller's limits stop it.
//
// A node is searched either without a plies limit (does a mate exist at all?) or with one
// (is there a mate within so many plies, counted as mate problems count them: a futile
// interposition and its capture are not counted?). The two kinds share the table.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "analysis/dfpn_table.h"
#include "rules/position.h"

namespace shogi {

// What the caller hands a long search: limits and a progress report that can stop it.
struct DfpnLimits {
  double seconds = 0;           // wall-clock limit; 0: none
  std::uint64_t max_nodes = 0;  // 0: none
  // Called about ten times a second; returning false stops the search. May be empty.
  std::function<bool(std::uint64_t nodes, double seconds)> on_progress;
};

// Why a search stopped: its limits (time, nodes) or the caller's progress report.
enum class DfpnStop { kNone, kLimit, kCaller };

// The outcome of one node.
struct DfpnNodeResult {
  std::uint32_t pn = 1, dn = 1;
  // The proof hand when proven, the disproof hand when refuted, else the exact hand.
  PackedHand hand = 0;
  std::uint16_t length = 0;  // plies of the mate found when proven
  MoveCode move{};           // the best move found (proven: the mating move or the longest reply)
  // Refuted through a repetition of a position above the node: the index on the path of the
  // highest position the refutation rests on; kNoRepetition when it rests on none.
  int rep_from = kNoRepetition;
  bool incomplete = false;  // refuted only because a resource ran out: not a real refutation
  static constexpr int kNoRepetition = 0x7FFF;
  bool Proven() const { return pn == 0; }
  bool Refuted() const { return dn == 0; }
};

class DfpnSearch {
 public:
  DfpnSearch(DfpnTable& table, const DfpnLimits& limits);
  ~DfpnSearch();
  DfpnSearch(const DfpnSearch&) = delete;
  DfpnSearch& operator=(const DfpnSearch&) = delete;

  // False when the search's working memory could not be allocated.
  bool Ready() const { return arena_ != nullptr; }

  // Searches `pos` (the attacker to move when `attacker_node`, else the defender, whose king
  // then stands in check) until it is settled or the limits stop it. `limit` is the plies
  // allowed from `pos` (kNoPlyLimit: none). The positions of the line pushed with PushLine
  // count as played before `pos`, for repetitions.
  DfpnNodeResult Solve(const Position& pos, bool attacker_node, int limit);

  // Whether the defender's drop `drop` in `pos` (defender to move, in check from one line
  // piece) is futile (無駄合): the checking piece takes it and the defender is mate at once
  // again (no reply, or only futile drops), without the attacker using the piece taken: a
  // proof whose hand holds no more of that type than the attacker held before the drop. The
  // drop and the capture only put off a mate that is on the board, and are not counted.
  // `proof_hand` receives that hand. `key`: DfpnKey(pos, false).
  bool FutileDrop(const Position& pos, MoveCode drop, PackedHand& proof_hand, std::uint64_t key);

  // The line played so far, for the repetition test of Solve: push each position reached.
  // False (nothing pushed) when the path is full.
  bool PushLine(const Position& pos, bool attacker_node);
  void PopLine();

  // New limits for what follows (the nodes counted so far stay counted); a stop of the
  // former limits is forgotten.
  void SetLimits(const DfpnLimits& limits);

  std::uint64_t Nodes() const { return nodes_; }
  DfpnStop Stop() const { return stop_; }
  double Seconds() const;

 private:
  struct Child;
  struct PathEntry {
    std::uint64_t key;
    PackedHand hand;
  };
  // A futility question answered: the capture's position and the hand before the drop.
  struct FutilityVerdict {
    std::uint64_t key;
    PackedHand hand;
    PackedHand proof_hand;
    bool futile;
  };

  DfpnTable& table_;
  const DfpnLimits* limits_;
  std::chrono::steady_clock::time_point start_;
  std::uint64_t nodes_ = 0;
  std::uint64_t next_check_ = 0;
  std::uint64_t node_cap_ = 0;  // a nested search's budget: stop at this count (0: none)
  double next_report_ = 0;
  DfpnStop stop_ = DfpnStop::kNone;

  // Room for the children of the nodes on the path, left unset: a child is written before it
  // is read, and setting megabytes for every search would cost more than a short one.
  std::unique_ptr<std::byte[]> arena_;
  int arena_top_ = 0;
  std::unique_ptr<PathEntry[]> path_;
  std::unique_ptr<std::uint64_t[]> path_hash_;  // rolling hash of the path's first i positions
  int path_top_ = 0;
  int path_base_ = 0;                             // a nested search sees only the path from here
  std::unique_ptr<std::uint16_t[]> path_filter_;  // how many path entries share 16 key bits
  std::unique_ptr<FutilityVerdict[]> futility_;
  // The check estimates of attacker nodes not yet in the table, which every expansion of
  // their parent would make again; tagged by the parent (its key and the attacker's hand)
  // and the node's key, as the estimate reads the parent's board.
  struct KnownEstimate {
    std::uint64_t tag;
    int estimate;
  };
  std::unique_ptr<KnownEstimate[]> estimates_;

  bool Stopping();
  void CheckLimits();
  void Push(std::uint64_t key, PackedHand hand);
  void Pop();
  // The index on the path of an earlier position the node repeats or comes back to poorer,
  // or -1.
  int OnPath(std::uint64_t key, PackedHand hand) const;
  // The hash of the path's positions from index `from` up to, not including, `to`.
  std::uint32_t SegmentHash(int from, int to) const;
  // The table's view of the path for children of the node on top of it.
  DfpnPathView PathView() const;

  // `first_reply`: as for DefenderTwoPlies.
  DfpnNodeResult Mid(const Position& pos, std::uint64_t key, PackedHand hand, bool attacker_node,
                     int limit, std::uint32_t th_pn, std::uint32_t th_dn,
                     MoveCode first_reply = {});
  // An attacker node whose children (with `child_limit` plies left) are searched to their
  // end: they run one after another, least proof number first, until one is mated.
  void RunInTurn(const Position& pos, int child_limit, Child* children, int n);
  // A limited search's attacker node with one ply left, settled without the table.
  DfpnNodeResult MateInOne(const Position& pos, std::uint64_t key, PackedHand hand);
  // A limited search's defender node with two plies left, settled the same way.
  // `first_reply`: its first reply, when the expansion above has found it already.
  DfpnNodeResult DefenderTwoPlies(const Position& pos, std::uint64_t key, PackedHand hand,
                                  MoveCode first_reply);
  int ExpandAttacker(const Position& pos, std::uint64_t key, PackedHand hand, int limit, Child* out,
                     int room);
  int ExpandDefender(const Position& pos, std::uint64_t key, PackedHand hand, int limit, Child* out,
                     int room, PackedHand& futile_proof);
  // The futility question's search: is the defender to move in `pos` (of key `key`) mate at
  // once? Apart from the path and within a small budget of its own.
  DfpnNodeResult SolveNested(const Position& pos, std::uint64_t key);
  // Solve for a position whose key is known.
  DfpnNodeResult SolveKeyed(const Position& pos, std::uint64_t key, bool attacker_node, int limit);
};

// The table key of `pos` with the attacker (attacker_node) or the defender to move: its
// board, side to move and the set of pieces in play (board and both hands), which fixes the
// defender's hand once the attacker's is known.
std::uint64_t DfpnKey(const Position& pos, bool attacker_node);

}  // namespace shogi
