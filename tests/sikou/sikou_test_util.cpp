// Loading sikou.so by path and a small rule-checked board for building test games.
#include "sikou_test_util.h"

#include <dlfcn.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace sikou_test {

namespace {

constexpr int kPawn = 1, kLance = 2, kKnight = 3, kSilver = 4, kGold = 5, kBishop = 6, kRook = 7,
              kKing = 8, kHorse = 14, kDragon = 15;
constexpr const char* kDropLetters = " PLNSGBR";

int File(int sq) {
  return (sq - 1) % 9 + 1;
}
int Rank(int sq) {
  return (sq - 1) / 9 + 1;
}
int Sq(int file, int rank) {
  return file + 9 * (rank - 1);
}
int SideOf(int code) {
  return code > 0 ? 0 : 1;
}
int Abs(int v) {
  return v < 0 ? -v : v;
}
int HandOffset(int side) {
  return side == 0 ? 82 : 90;
}
// Rank counted from the side's far end (1 = where its pawns must promote).
int RelRank(int side, int sq) {
  return side == 0 ? Rank(sq) : 10 - Rank(sq);
}
bool CanPromote(int type) {
  return type >= kPawn && type <= kRook && type != kGold;
}
bool MustPromote(int side, int type, int to) {
  return ((type == kPawn || type == kLance) && RelRank(side, to) == 1) ||
         (type == kKnight && RelRank(side, to) <= 2);
}

bool PathClear(const std::int8_t* cell, int from, int to) {
  const int df = File(to) - File(from), dr = Rank(to) - Rank(from);
  const int sf = (df > 0) - (df < 0), sr = (dr > 0) - (dr < 0);
  for (int f = File(from) + sf, r = Rank(from) + sr; Sq(f, r) != to; f += sf, r += sr) {
    if (cell[Sq(f, r)]) return false;
  }
  return true;
}

// Whether the piece `code` on `from` moves to (or attacks) `to`, written out from the rules
// independently of the library.
bool Reaches(const std::int8_t* cell, int code, int from, int to) {
  if (from == to) return false;
  const int side = SideOf(code), type = Abs(code);
  const int df = File(to) - File(from), dr = Rank(to) - Rank(from);
  const int ahead = side == 0 ? -dr : dr;
  const int adf = Abs(df), adr = Abs(dr);
  const bool king_step = adf <= 1 && adr <= 1;
  const bool diagonal = adf == adr && PathClear(cell, from, to);
  const bool straight = (df == 0 || dr == 0) && PathClear(cell, from, to);
  switch (type) {
    case kPawn:
      return df == 0 && ahead == 1;
    case kLance:
      return df == 0 && ahead >= 1 && PathClear(cell, from, to);
    case kKnight:
      return ahead == 2 && adf == 1;
    case kSilver:
      return (ahead == 1 && adf <= 1) || (ahead == -1 && adf == 1);
    case kGold:
    case 9:
    case 10:
    case 11:
    case 12:
      return (ahead == 1 && adf <= 1) || (ahead == 0 && adf == 1) || (ahead == -1 && df == 0);
    case kBishop:
      return diagonal;
    case kRook:
      return straight;
    case kKing:
      return king_step;
    case kHorse:
      return diagonal || king_step;
    case kDragon:
      return straight || king_step;
  }
  return false;
}

// Plays a move on a raw record for `side`, without checks.
void ApplyTo(std::int8_t* cell, int side, int from, int to, int promote) {
  if (from > 100) {
    const int type = from - 100;
    --cell[HandOffset(side) + type];
    cell[to] = static_cast<std::int8_t>(side == 0 ? type : -type);
    return;
  }
  if (cell[to]) ++cell[HandOffset(side) + (Abs(cell[to]) & 7)];
  int code = cell[from];
  if (promote) code += side == 0 ? 8 : -8;
  if (Abs(code) == kKing) cell[side == 0 ? 98 : 99] = static_cast<std::int8_t>(to);
  cell[to] = static_cast<std::int8_t>(code);
  cell[from] = 0;
}

bool KingAttacked(const std::int8_t* cell, int side) {
  const int king = cell[side == 0 ? 98 : 99];
  if (king < 1 || king > 81) return false;
  for (int sq = 1; sq <= 81; ++sq) {
    if (cell[sq] && SideOf(cell[sq]) != side && Reaches(cell, cell[sq], sq, king)) return true;
  }
  return false;
}

}  // namespace

Library::Library() {
  const char* path = SHOGI_BIN_DIR "/sikou.so";
  handle_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* e = dlerror();
    error_ = e ? e : "dlopen failed";
    return;
  }
  ini_ = reinterpret_cast<decltype(ini_)>(dlsym(handle_, "sikou_ini"));
  sikou_ = reinterpret_cast<decltype(sikou_)>(dlsym(handle_, "sikou"));
  end_ = reinterpret_cast<decltype(end_)>(dlsym(handle_, "sikou_end"));
  if (!loaded()) error_ = "an export is missing";
}

Library::~Library() {
  if (handle_) dlclose(handle_);
}

const Library& TheLibrary() {
  static const Library library;
  return library;
}

int32_t* Library::Ini(int32_t* abort_flag) const {
  return ini_(abort_flag);
}
void Library::End() const {
  end_();
}

Answer Library::Think(const std::vector<std::uint8_t>& moves) const {
  return Call(static_cast<int>(moves.size() / 2), moves.data());
}

Answer Library::Call(int count, const std::uint8_t* moves) const {
  Answer a;
  int32_t elapsed = 0;
  a.result = sikou_(count, moves, &elapsed, &a.from, &a.to, &a.promote);
  return a;
}

int Library::CallRaw(int count, const std::uint8_t* moves, int32_t* from, int32_t* to,
                     int32_t* promote) const {
  int32_t elapsed = 0;
  return sikou_(count, moves, &elapsed, from, to, promote);
}

Game Played(const std::string& moves) {
  Game g;
  EXPECT_TRUE(g.Play(moves)) << g.error();
  return g;
}

Answer AnswerOf(const Game::Move& m) {
  Answer a;
  a.from = m.from;
  a.to = m.to;
  a.promote = m.promote;
  return a;
}

::testing::AssertionResult ForcesMate(const Game& g, const Answer& a, int plies) {
  const std::string move = UsiMove(a.from, a.to, a.promote);
  Game after = g;
  if (!after.PlayAnswer(a)) return ::testing::AssertionFailure() << move << " is not legal";
  const auto replies = after.LegalMoves();
  if (replies.empty()) {
    if (a.from == 101) return ::testing::AssertionFailure() << move << " mates by a pawn drop";
    return ::testing::AssertionSuccess();
  }
  if (plies <= 1) return ::testing::AssertionFailure() << move << " does not mate";
  if (!after.InCheck()) return ::testing::AssertionFailure() << move << " is not a check";
  for (const auto& r : replies) {
    Game next = after;
    next.PlayAnswer(AnswerOf(r));
    const Answer again = TheLibrary().Think(next.moves());
    if (again.result < 1 || again.result > plies - 2 || again.result % 2 == 0) {
      return ::testing::AssertionFailure()
             << "after " << move << " " << UsiMove(r.from, r.to, r.promote) << " the result is "
             << again.result;
    }
    auto deeper = ForcesMate(next, again, plies - 2);
    if (!deeper) return deeper << " (after " << move << ")";
  }
  return ::testing::AssertionSuccess();
}

int UsiSquare(const std::string& text) {
  if (text.size() != 2 || text[0] < '1' || text[0] > '9' || text[1] < 'a' || text[1] > 'i') {
    return 0;
  }
  return Sq(text[0] - '0', text[1] - 'a' + 1);
}

std::string SquareName(int sq) {
  if (sq < 1 || sq > 81) return "??";
  return std::string(1, static_cast<char>('0' + File(sq))) + static_cast<char>('a' + Rank(sq) - 1);
}

std::string UsiMove(int from, int to, int promote) {
  if (from > 100 && from <= 107)
    return std::string(1, kDropLetters[from - 100]) + "*" + SquareName(to);
  return SquareName(from) + SquareName(to) + (promote ? "+" : "");
}

Game::Game() {
  std::memset(cell_, 0, sizeof cell_);
  const int back[9] = {kLance, kKnight, kSilver, kGold, kKing, kGold, kSilver, kKnight, kLance};
  for (int f = 1; f <= 9; ++f) {
    cell_[Sq(f, 1)] = static_cast<std::int8_t>(-back[f - 1]);
    cell_[Sq(f, 3)] = -kPawn;
    cell_[Sq(f, 7)] = kPawn;
    cell_[Sq(f, 9)] = static_cast<std::int8_t>(back[f - 1]);
  }
  cell_[Sq(2, 2)] = -kBishop;
  cell_[Sq(8, 2)] = -kRook;
  cell_[Sq(2, 8)] = kRook;
  cell_[Sq(8, 8)] = kBishop;
  cell_[98] = 77;
  cell_[99] = 5;
}

bool Game::Check(int from, int to, int promote, std::string* why) const {
  auto fail = [&](const char* text) {
    if (why) *why = text;
    return false;
  };
  const int side = ply() % 2;
  if (to < 1 || to > 81) return fail("destination off the board");
  if (from > 100) {
    const int type = from - 100;
    if (type < kPawn || type > kRook || promote) return fail("bad drop");
    if (cell_[HandOffset(side) + type] <= 0) return fail("not in hand");
    if (cell_[to]) return fail("drop onto an occupied square");
    if (MustPromote(side, type, to)) return fail("dropped piece could never move");
    if (type == kPawn) {
      for (int sq = File(to); sq <= 81; sq += 9) {
        if (cell_[sq] == (side == 0 ? kPawn : -kPawn)) return fail("two pawns in a file");
      }
    }
  } else {
    if (from < 1 || from > 81) return fail("origin off the board");
    const int code = cell_[from];
    if (!code || SideOf(code) != side) return fail("no piece of the mover on the origin");
    if (cell_[to] && SideOf(cell_[to]) == side) return fail("captures its own piece");
    if (!Reaches(cell_, code, from, to)) return fail("the piece does not move like that");
    const int type = Abs(code);
    const bool zone = RelRank(side, from) <= 3 || RelRank(side, to) <= 3;
    if (promote && (!CanPromote(type) || !zone)) return fail("cannot promote");
    if (!promote && CanPromote(type) && MustPromote(side, type, to)) return fail("must promote");
  }
  std::int8_t after[100];
  std::memcpy(after, cell_, sizeof after);
  ApplyTo(after, side, from, to, promote);
  if (KingAttacked(after, side)) return fail("leaves the own king in check");
  return true;
}

void Game::Apply(int from, int to, int promote) {
  ApplyTo(cell_, ply() % 2, from, to, promote);
  bytes_.push_back(static_cast<std::uint8_t>(to + (promote ? 100 : 0)));
  bytes_.push_back(static_cast<std::uint8_t>(from));
}

bool Game::Play(const std::string& moves) {
  std::istringstream in(moves);
  std::string m;
  while (in >> m) {
    int from = 0, to = 0, promote = 0;
    if (m.size() == 4 && m[1] == '*') {
      const char* letter = std::strchr(kDropLetters + 1, m[0]);
      if (!letter) {
        error_ = m + ": unknown piece";
        return false;
      }
      from = 100 + static_cast<int>(letter - kDropLetters);
      to = UsiSquare(m.substr(2));
    } else if (m.size() == 4 || (m.size() == 5 && m[4] == '+')) {
      from = UsiSquare(m.substr(0, 2));
      to = UsiSquare(m.substr(2, 2));
      promote = m.size() == 5;
    } else {
      error_ = m + ": malformed";
      return false;
    }
    std::string why;
    if (!Check(from, to, promote, &why)) {
      error_ = m + " (ply " + std::to_string(ply()) + "): " + why + "\n" + Diagram();
      return false;
    }
    Apply(from, to, promote);
  }
  return true;
}

bool Game::IsLegal(int from, int to, int promote) const {
  return Check(from, to, promote, nullptr);
}

bool Game::PlayAnswer(const Answer& a) {
  if (!IsLegal(a.from, a.to, a.promote)) return false;
  Apply(a.from, a.to, a.promote);
  return true;
}

std::vector<Game::Move> Game::LegalMoves() const {
  const int side = ply() % 2;
  std::vector<Move> out;
  for (int from = 1; from <= 107; ++from) {
    const bool own_piece = from <= 81 && cell_[from] && SideOf(cell_[from]) == side;
    const bool in_hand = from > 100 && cell_[HandOffset(side) + from - 100] > 0;
    if (!own_piece && !in_hand) continue;
    for (int to = 1; to <= 81; ++to) {
      for (int promote = 0; promote <= 1; ++promote) {
        if (IsLegal(from, to, promote)) out.push_back({from, to, promote});
      }
    }
  }
  return out;
}

bool Game::InCheck() const {
  return KingAttacked(cell_, ply() % 2);
}

std::string Game::Usi() const {
  std::string out;
  for (std::size_t i = 0; i + 1 < bytes_.size(); i += 2) {
    const int dest = bytes_[i];
    if (!out.empty()) out += ' ';
    out += UsiMove(bytes_[i + 1], dest > 100 ? dest - 100 : dest, dest > 100);
  }
  return out;
}

std::string Game::Diagram() const {
  static const char* kNames[16] = {" .", " P", " L", " N", " S", " G", " B", " R",
                                   " K", "+P", "+L", "+N", "+S", " ?", "+B", "+R"};
  std::string out;
  for (int rank = 1; rank <= 9; ++rank) {
    for (int file = 9; file >= 1; --file) {
      const int code = cell_[Sq(file, rank)];
      std::string name = kNames[Abs(code)];
      if (code < 0) {
        for (char& c : name) c = static_cast<char>(std::tolower(c));
      }
      out += name;
      out += ' ';
    }
    out += "\n";
  }
  for (int side = 0; side < 2; ++side) {
    out += side == 0 ? "first hand:" : "second hand:";
    for (int t = 1; t <= 7; ++t) {
      const int n = cell_[HandOffset(side) + t];
      if (n) {
        out += ' ';
        out += kDropLetters[t];
        out += std::to_string(n);
      }
    }
    out += "\n";
  }
  return out;
}

}  // namespace sikou_test
