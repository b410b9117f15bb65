// The strategy scripts. Every formation is written once, from the first player's side of the
// board, with squares as file and rank digits (76 is 7六); the second player plays the same
// formations on the board turned by 180 degrees. A script checks its formation's
// condition and then tries the formation's plan moves in order: the first one present in
// the move list goes to its front.
//
// The player is a 居飛車 player: against a 居飛車 opponent it builds 矢倉 and pushes its rook
// pawn, or goes 棒銀; against 振り飛車 it builds 舟囲い and attacks with its right silver (急戦).
// As the second player it answers an opening of the bishop's diagonal with 四間飛車 and
// castles in 美濃.
#include "analysis/strategy_scripts.h"

#include <initializer_list>

namespace shogi::player {
namespace {

// 76 -> 7六: file and rank digits to a square number.
constexpr Square Sq(int file_rank) {
  return SquareOf(file_rank / 10, file_rank % 10);
}

// One plan move: the own piece of `type` on `from` goes to `to`.
struct PlanMove {
  int type;
  int from, to;  // file and rank digits
};
using Formation = std::initializer_list<PlanMove>;

// 矢倉囲い: 7六歩, the left silver to 7七 by 6八, 6六歩, golds to 7八 and 6七, 5六歩, the
// bishop out by 7九 to 4六, the king by 6九 and 7九 into 8八; then 3六歩 for the attack.
constexpr Formation kYagura = {
    {kPawn, 77, 76},   {kSilver, 79, 68}, {kSilver, 68, 77}, {kPawn, 67, 66}, {kGold, 69, 78},
    {kPawn, 57, 56},   {kKing, 59, 69},   {kGold, 49, 58},   {kGold, 58, 67}, {kBishop, 88, 79},
    {kBishop, 79, 46}, {kKing, 69, 79},   {kKing, 79, 88},   {kPawn, 37, 36},
};

// 舟囲い against 振り飛車: the king by 6八 to 7八, 5八金右, 5六歩; the right silver by 4八 and
// 5七 to 4六 for the 急戦 attack, with 3六歩 beside it.
constexpr Formation kFunagakoi = {
    {kKing, 59, 68},   {kKing, 68, 78}, {kGold, 49, 58},   {kPawn, 57, 56},
    {kSilver, 39, 48}, {kPawn, 37, 36}, {kSilver, 48, 57}, {kSilver, 57, 46},
};

// The 急戦 break against 振り飛車 once 舟囲い stands: 3五歩 beside the silver on 4六, then 5五歩.
constexpr Formation kQuickAttack = {{kPawn, 36, 35}, {kPawn, 56, 55}};

// 四間飛車: 7六歩, 6六歩 closing the bishop's diagonal, and the rook to 6八.
constexpr Formation kShikenBisha = {
    {kPawn, 77, 76},
    {kPawn, 67, 66},
    {kRook, 28, 68},
};

// 美濃囲い behind a rook on 6八: the king by 4八 and 3八 into 2八, the silver 3九 to 3八, 5八金左,
// the left silver by 7八 to 6七; 1六歩 and 4六歩 (the way to 高美濃).
constexpr Formation kMino = {
    {kKing, 59, 48},   {kKing, 48, 38},   {kKing, 38, 28}, {kSilver, 39, 38}, {kGold, 69, 58},
    {kSilver, 79, 78}, {kSilver, 78, 67}, {kPawn, 17, 16}, {kPawn, 47, 46},
};

// The 居飛車 rook pawn: 2六歩, 2五歩, and, once the king has left home, 2四歩 to exchange it.
constexpr Formation kRookPawn = {{kPawn, 27, 26}, {kPawn, 26, 25}};
constexpr Formation kRookPawnExchange = {{kPawn, 25, 24}};

// 棒銀: the right silver climbs 3八, 2七, 2六 behind the rook pawn on 2五 and goes on to 1五.
constexpr Formation kBouGin = {
    {kSilver, 39, 38}, {kSilver, 38, 27}, {kSilver, 27, 26}, {kSilver, 26, 15}};

// Finishing touches of each castle, by the king's square: 矢倉 (8八) and 舟囲い (7八) push
// the edge pawn 9六; 美濃 (2八) becomes 高美濃 with 4六歩 and 4七金, and pushes 1六歩.
constexpr Formation kYaguraTouch = {{kPawn, 97, 96}, {kLance, 99, 98}};
constexpr Formation kFunaTouch = {{kPawn, 97, 96}};
constexpr Formation kMinoTouch = {{kPawn, 47, 46}, {kGold, 58, 47}, {kPawn, 17, 16}};

// Knights join the attack: 3七桂 in front of 居飛車 castles, 7七桂 for 振り飛車.
constexpr Formation kRightKnight = {{kKnight, 29, 37}};
constexpr Formation kLeftKnight = {{kKnight, 89, 77}};

// Closing the bishop's diagonal when both are open and the king is still at home: 7七銀
// (矢倉) or 6六歩.
constexpr Formation kCloseDiagonal = {{kSilver, 68, 77}, {kPawn, 67, 66}};

// The board as the script's side sees it (its own pieces positive, its back rank 9).
class ScriptView {
 public:
  ScriptView(const Position& pos, Side side, PlanList& list)
      : pos_(pos), side_(side), list_(list) {}

  int At(int file_rank) const {
    const int code = pos_.Board[Relative(side_, Sq(file_rank))];
    return side_ == kFirst ? code : -code;
  }
  bool Own(int file_rank, int type) const { return At(file_rank) == type; }
  bool Theirs(int file_rank, int type) const { return At(file_rank) == -type; }
  bool Empty(int file_rank) const { return At(file_rank) == 0; }
  // The own king's square as file and rank digits, 0 without a king.
  int King() const {
    const int k = pos_.King[side_];
    if (!IsSquare(k)) return 0;
    const Square s = Relative(side_, k);
    return FileOf(s) * 10 + RankOf(s);
  }

  // The opponent's rook still on its home square, and committed to 居飛車 by a pushed pawn.
  bool TheirStaticRook() const {
    return Theirs(82, kRook) && (Theirs(84, kPawn) || Theirs(85, kPawn) || Empty(83));
  }
  // The opponent's rook swung to the files 2..6 of its second rank (振り飛車).
  bool TheirRangingRook() const {
    for (int file = 2; file <= 6; ++file)
      if (Theirs(file * 10 + 2, kRook)) return true;
    return false;
  }

  // Puts the first plan move of `f` that the list holds in front.
  bool Try(Formation f) {
    for (const PlanMove& m : f) {
      if (!Own(m.from, m.type)) continue;
      if (list_.ToFront(Abs(m.from), Abs(m.to))) return true;
    }
    return false;
  }
  bool ToSecond(int type, int from, int to) {
    return Own(from, type) && list_.ToSecond(Abs(from), Abs(to));
  }
  bool ToBack(int type, int from, int to) {
    return Own(from, type) && list_.ToBack(Abs(from), Abs(to));
  }

 private:
  Square Abs(int file_rank) const { return Relative(side_, Sq(file_rank)); }

  const Position& pos_;
  Side side_;
  PlanList& list_;
};

// Script 1: 矢倉 against a 居飛車 opponent.
bool Yagura(ScriptView& v, int) {
  return v.Own(28, kRook) && v.TheirStaticRook() && v.Try(kYagura);
}

// Script 2: 舟囲い against 振り飛車.
bool Funagakoi(ScriptView& v, int) {
  return v.Own(28, kRook) && v.TheirRangingRook() && v.Try(kFunagakoi);
}

// Script 3: the rook pawn from the second move on (the first opens the bishop's diagonal);
// the exchange 2四歩 only after the king has left home.
bool RookPawn(ScriptView& v, int ply) {
  if (ply < 2 || !v.Own(28, kRook)) return false;
  if (v.Try(kRookPawn)) return true;
  return ply >= 20 && v.King() != 59 && v.Theirs(23, kPawn) && v.Try(kRookPawnExchange);
}

// Script 4 (every ply): answers the opponent's edge pawns up to ply 40 - 1六歩 when its 1筋
// pawn stands on 1四, 9六歩 likewise, both when both are pushed (9六 second).
bool EdgePawns(ScriptView& v, int ply) {
  if (ply > 40) return false;
  const bool right = v.Theirs(14, kPawn) && v.Own(17, kPawn);
  const bool left = v.Theirs(94, kPawn) && v.Own(97, kPawn);
  if (right && left) v.ToSecond(kPawn, 97, 96);
  if (right) return v.Try({{kPawn, 17, 16}});
  return left && v.Try({{kPawn, 97, 96}});
}

// Script 5: the 急戦 break once 舟囲い stands against 振り飛車.
bool QuickAttack(ScriptView& v, int) {
  return v.TheirRangingRook() && v.Own(78, kKing) && v.Own(46, kSilver) && v.Try(kQuickAttack);
}

// Script 1 of the second player: 四間飛車 when the first player has opened its bishop's
// diagonal while the own rook pawn is still at home, early in the game; else 矢倉.
bool ShikenBishaOrYagura(ScriptView& v, int ply) {
  if (ply <= 8 && v.Own(28, kRook) && v.Own(27, kPawn) && v.Theirs(34, kPawn) &&
      v.Try(kShikenBisha))
    return true;
  return Yagura(v, ply);
}

// Script 6: the castle's finishing touches by the king's square; a finished 矢倉 keeps its
// king in (the step back out goes to the end of the list).
bool CastleTouches(ScriptView& v, int) {
  switch (v.King()) {
    case 88:
      v.ToBack(kKing, 88, 78);
      return v.Try(kYaguraTouch);
    case 78:
      return v.Try(kFunaTouch);
    case 28:
      v.ToBack(kKing, 28, 38);
      return v.Try(kMinoTouch);
    default:
      return false;
  }
}

// Script 7: knights join once the king is castled.
bool Knights(ScriptView& v, int) {
  const int king = v.King();
  if (king == 0 || king == 59 || RankOf(Sq(king)) < 7) return false;
  if (v.Own(68, kRook)) return v.Own(76, kPawn) && !v.Own(77, kSilver) && v.Try(kLeftKnight);
  return v.Own(28, kRook) && v.Own(36, kPawn) && v.Try(kRightKnight);
}

// Script 8: closes the bishop's diagonal while both bishops face each other on open lines
// and the king is still at home.
bool CloseDiagonal(ScriptView& v, int) {
  if (!v.Own(88, kBishop) || !v.Theirs(22, kBishop) || v.King() != 59) return false;
  for (int fr : {77, 66, 55, 44, 33})
    if (!v.Empty(fr)) return false;
  return v.Try(kCloseDiagonal);
}

// Script 9 (the rook on 6八): 美濃 up to ply 60.
bool Mino(ScriptView& v, int ply) {
  return ply <= 60 && v.Try(kMino);
}

// Script 10: 棒銀 against a 居飛車 opponent once the rook pawn stands on 2五.
bool BouGin(ScriptView& v, int) {
  return v.Own(28, kRook) && v.Own(25, kPawn) && v.TheirStaticRook() && v.Try(kBouGin);
}

// Script 11: from ply 14 a king still at home heads for its castle: 6九 for 矢倉, 6八 for
// 舟囲い against 振り飛車, 4八 behind a swung rook.
bool KingLeavesHome(ScriptView& v, int ply) {
  if (ply < 14 || v.King() != 59) return false;
  if (!v.Own(28, kRook)) return v.Try({{kKing, 59, 48}});
  if (v.TheirRangingRook()) return v.Try({{kKing, 59, 68}});
  return v.Try({{kKing, 59, 69}});
}

using Script = bool (*)(ScriptView&, int);
// S1..S11 and G1..G11; they differ only in the first.
constexpr Script kFirstScripts[kScriptCount] = {
    Yagura,  Funagakoi,     RookPawn, EdgePawns, QuickAttack,   CastleTouches,
    Knights, CloseDiagonal, Mino,     BouGin,    KingLeavesHome};
constexpr Script kSecondScripts[kScriptCount] = {
    ShikenBishaOrYagura, Funagakoi, RookPawn, EdgePawns,     QuickAttack, CastleTouches, Knights,
    CloseDiagonal,       Mino,      BouGin,   KingLeavesHome};

// When each script is consulted: up to a ply, always (0), or with the rook on 6八 (-1).
constexpr int kAlways = 0;
constexpr int kRookOn68 = -1;
constexpr int kConsultedUpTo[kScriptCount] = {40, 40, 40,        kAlways, 40, 50,
                                              50, 42, kRookOn68, 45,      36};

}  // namespace

bool RunScript(int number, const Position& pos, Side side, int ply, PlanList& list) {
  if (number < 1 || number > kScriptCount) return false;
  ScriptView view(pos, side, list);
  const Script script = (side == kFirst ? kFirstScripts : kSecondScripts)[number - 1];
  return script(view, ply);
}

int RunStrategyScripts(const Position& pos, Side side, int ply, PlanList& list) {
  const Square rook68 = Relative(side, Sq(68));
  for (int n = 1; n <= kScriptCount; ++n) {
    const int limit = kConsultedUpTo[n - 1];
    const bool consulted = limit == kAlways     ? true
                           : limit == kRookOn68 ? pos.Board[rook68] == CodeOf(kRook, side)
                                                : ply <= limit;
    if (consulted && RunScript(n, pos, side, ply, list)) return n;
  }
  return 0;
}

}  // namespace shogi::player
