// Records of the output tests: a middle game with a promotion, drops and a capture on the
// square just moved to, built move by move with the rules as referee.
#pragma once

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "rules/game_record.h"
#include "tests/support/game_builder.h"

namespace shogi::test {

// 24 plies: ▲７六歩 △３四歩 ▲２二角成 △同　銀 … ▲６五角 … ▲４三角成 △４二金 ▲３二馬 △同　金.
inline constexpr const char* kMiddleGameUsi =
    "7g7f 3c3d 8h2b+ 3a2b 2g2f 8c8d 2f2e 8d8e 2e2d 2c2d 2h2d P*2c 2d2f 8e8f 8g8f 8b8f P*8g "
    "8f8d B*6e 4c4d 6e4c+ 4a4b 4c3b 4b3b";

// A played game (names 先手太郎 / 後手花子), shown after its last move.
inline GameRecord PlayedGame(const char* usi, const char* sfen = "startpos") {
  test::Game game(sfen);
  EXPECT_TRUE(game.Play(usi));
  CopyCp932Field(game.record.FirstName, Cp932("先手太郎"));
  CopyCp932Field(game.record.SecondName, Cp932("後手花子"));
  return game.record;
}

// The lines of a cp932 text with "\n" line ends, as UTF-8.
inline std::vector<std::string> Utf8Lines(const std::string& cp932) {
  std::vector<std::string> lines;
  const std::string text = Utf8(cp932);
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace shogi::test
