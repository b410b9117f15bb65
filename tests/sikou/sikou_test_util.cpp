// Loading sikou.so (sikou.dll) by path, and test games as the library sees them.
#include "sikou_test_util.h"

#include "library_loading.h"

namespace sikou_test {

Library::Library() {
  handle_ = sikou_test_open(SIKOU_TEST_LIBRARY_PATH);
  if (!handle_) {
    error_ = std::string("cannot load ") + SIKOU_TEST_LIBRARY_PATH;
    return;
  }
  sikou_test_symbol(handle_, "sikou_ini", &ini_);
  sikou_test_symbol(handle_, "sikou", &sikou_);
  sikou_test_symbol(handle_, "sikou_end", &end_);
  if (!loaded()) error_ = "an export is missing";
}

Library::~Library() {
  if (handle_) sikou_test_close(handle_);
}

const Library& TheLibrary() {
  static const Library library;
  return library;
}

std::uint32_t Random::Next() {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return static_cast<std::uint32_t>(state >> 11);
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
  EXPECT_TRUE(g.Play(moves));
  return g;
}

Answer AnswerOf(shogi::MoveCode m) {
  Answer a;
  a.from = shogi::OriginOf(m);
  a.to = shogi::DestinationOf(m);
  a.promote = shogi::IsPromotion(m) ? 1 : 0;
  return a;
}

::testing::AssertionResult ForcesMate(const Game& g, const Answer& a, int plies) {
  const std::string move = UsiMove(a.from, a.to, a.promote);
  Game after = g;
  if (!after.PlayAnswer(a)) return ::testing::AssertionFailure() << move << " is not legal";
  const std::vector<shogi::MoveCode> replies = after.LegalMoves();
  if (replies.empty()) return ::testing::AssertionSuccess();
  if (plies <= 1) return ::testing::AssertionFailure() << move << " does not mate";
  if (!after.InCheck()) return ::testing::AssertionFailure() << move << " is not a check";
  for (shogi::MoveCode r : replies) {
    Game next = after;
    next.TryMove(r);
    const Answer again = TheLibrary().Think(next.moves());
    if (again.result < 1 || again.result > plies - 2 || again.result % 2 == 0) {
      return ::testing::AssertionFailure() << "after " << move << " " << shogi::FormatUsiMove(r)
                                           << " the result is " << again.result;
    }
    auto deeper = ForcesMate(next, again, plies - 2);
    if (!deeper) return deeper << " (after " << move << ")";
  }
  return ::testing::AssertionSuccess();
}

std::string UsiMove(int from, int to, int promote) {
  const bool drop = from > 100 && from <= 107;
  if (!shogi::IsSquare(to) || !(shogi::IsSquare(from) || drop) || promote < 0 || promote > 1 ||
      (drop && promote)) {
    return std::to_string(from) + "-" + std::to_string(to) + (promote ? "+" : "");
  }
  return shogi::FormatUsiMove(shogi::EncodeMove(from, to, promote));
}

bool Game::IsLegal(int from, int to, int promote) const {
  if (promote != 0 && promote != 1) return false;
  for (shogi::MoveCode m : LegalMoves()) {
    if (shogi::OriginOf(m) == from && shogi::DestinationOf(m) == to &&
        shogi::IsPromotion(m) == (promote == 1)) {
      return true;
    }
  }
  return false;
}

bool Game::PlayAnswer(const Answer& a) {
  return IsLegal(a.from, a.to, a.promote) && TryMove(shogi::EncodeMove(a.from, a.to, a.promote));
}

std::vector<std::uint8_t> Game::moves() const {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < record.PlyCount; ++i) {
    bytes.push_back(record.MoveList[i].to);
    bytes.push_back(record.MoveList[i].from);
  }
  return bytes;
}

std::string Game::Diagram() const {
  return shogi::ToSfen(pos, ToMove());
}

}  // namespace sikou_test
