// A small Akafuji database built from the file's layout for the tests: three used games
// (entries 1, 3 and 4 of the index) and one empty entry between them.
#pragma once

#include <string>

namespace shogi::test {

// The whole file image (538 624 bytes).
//   game 1: 羽生 - 谷川, 名人戦, 四間飛車, sente won, 7g7f 3c3d 8h2b+ 3a2b B*4e
//   game 2: ABC - x高, 王将戦, 矢倉, gote won, 2g2f 8c8d
//   game 3: no names, no result, a move block whose first move has no piece to move
std::string AkafujiImage();

}  // namespace shogi::test
