// A deterministic USI engine for the client's tests. Its first argument chooses how it
// behaves; every line it reads is appended to the log file named by the second, if any.
//   good     answers the handshake; "bestmove" is the first legal move of the position
//   resign   answers every "go" with "bestmove resign"
//   illegal  answers every "go" with "bestmove 5i5g" (a king does not jump)
//   silent   answers the handshake but never "go"
//   dies     ends right after "usiok"
//   mute     never answers anything
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace {

using namespace shogi;

// The first legal move after "position startpos|sfen ... [moves ...]", or "resign".
std::string FirstLegalMove(const std::string& command) {
  std::istringstream words(command);
  std::string word, sfen;
  words >> word >> word;  // "position", then "startpos" or "sfen"
  if (word == "sfen") {
    for (int i = 0; i < 4 && words >> word; ++i) sfen += (i ? " " : "") + word;
  } else {
    sfen = "startpos";
  }
  Position pos;
  Side side;
  int number;
  std::string message;
  if (!ParseSfen(sfen, pos, side, number, message)) return "resign";
  static GameRecord record;
  ResetGameRecord(record);
  record.InitialPosition = pos;
  record.StartIndex = record.PlyCount = side;
  words >> word;  // "moves"
  while (words >> word) {
    MoveCode m;
    if (!ParseUsiMove(word, m)) return "resign";
    ApplyMove(pos, m, SideOfPly(record.PlyCount));
    record.MoveList[record.PlyCount++] = m;
  }
  static LegalMoveList legal;
  if (LegalMoves(record, pos, legal) == 0) return "resign";
  return FormatUsiMove(legal.Move(0));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "good";
  std::ofstream log;
  if (argc > 2) log.open(argv[2], std::ios::app);
  std::string line, position;
  while (std::getline(std::cin, line)) {
    if (log) log << line << "\n" << std::flush;
    if (mode == "mute") continue;
    if (line == "usi") {
      std::cout << "id name Fake Engine\nid author tests\noption name Skill type spin default 0 "
                   "min 0 max 9\nusiok"
                << std::endl;
      if (mode == "dies") return 0;
    } else if (line == "isready") {
      std::cout << "readyok" << std::endl;
    } else if (line.rfind("position ", 0) == 0) {
      position = line;
    } else if (line.rfind("go", 0) == 0) {
      if (mode == "silent") continue;
      std::cout << "info depth 1 score cp 0\n";
      if (mode == "resign") {
        std::cout << "bestmove resign" << std::endl;
      } else if (mode == "illegal") {
        std::cout << "bestmove 5i5g" << std::endl;
      } else {
        std::cout << "bestmove " << FirstLegalMove(position) << std::endl;
      }
    } else if (line == "quit") {
      return 0;
    }
  }
  return 0;
}
