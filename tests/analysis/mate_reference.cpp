// The reference mate search: plain AND/OR search over LegalMoves with a memo per depth.
#include "tests/analysis/mate_reference.h"

#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "rules/attack.h"
#include "rules/move_rules.h"

namespace shogi::test {
namespace {

class Reference {
 public:
  Reference(const GameRecord& record) : record_(std::make_unique<GameRecord>(record)) {}

  // Mate within `depth` plies for the side to move (the attacker)?
  bool Attacker(const Position& pos, int depth) {
    ++nodes_;
    std::string key(reinterpret_cast<const char*>(pos.bytes()), sizeof(Position));
    key += static_cast<char>(depth);
    if (auto it = memo_.find(key); it != memo_.end()) return it->second;
    const Side attacker = SideOfPly(record_->PlyCount), defender = Opponent(attacker);
    auto moves = std::make_unique<LegalMoveList>();
    const int n = LegalMoves(*record_, pos, *moves);
    bool mate = false;
    for (int i = 0; i < n && !mate; ++i) {
      const MoveCode m = moves->Move(i);
      Position next = pos;
      ApplyMove(next, m, attacker);
      if (DestinationOf(m) == pos.King[defender]) {
        mate = true;  // the king is taken
        break;
      }
      if (!InCheck(next, defender)) continue;
      Push(m);
      mate = Defender(next, depth - 1);
      Pop();
    }
    memo_.emplace(std::move(key), mate);
    return mate;
  }

  std::uint64_t nodes() const { return nodes_; }

 private:
  std::unique_ptr<GameRecord> record_;
  std::unordered_map<std::string, bool> memo_;
  std::uint64_t nodes_ = 0;

  // After a check: does every legal reply lose within `depth` plies?
  bool Defender(const Position& pos, int depth) {
    ++nodes_;
    const Side defender = SideOfPly(record_->PlyCount);
    auto moves = std::make_unique<LegalMoveList>();
    const int n = LegalMoves(*record_, pos, *moves);
    if (n == 0) return true;
    if (depth == 0) return false;
    for (int i = 0; i < n; ++i) {
      const MoveCode m = moves->Move(i);
      Position next = pos;
      ApplyMove(next, m, defender);
      Push(m);
      const bool mate = Attacker(next, depth - 1);
      Pop();
      if (!mate) return false;
    }
    return true;
  }

  void Push(MoveCode m) {
    record_->MoveList[record_->PlyCount] = m;
    record_->MoveList[++record_->PlyCount] = MoveCode{};
  }
  void Pop() { record_->MoveList[--record_->PlyCount] = MoveCode{}; }
};

}  // namespace

int ReferenceMateLength(const GameRecord& record, const Position& pos, int max_depth,
                        std::uint64_t* nodes) {
  Reference reference(record);
  int length = 0;
  for (int d = 1; d <= max_depth; d += 2) {
    if (reference.Attacker(pos, d)) {
      length = d;
      break;
    }
  }
  if (nodes != nullptr) *nodes = reference.nodes();
  return length;
}

}  // namespace shogi::test
