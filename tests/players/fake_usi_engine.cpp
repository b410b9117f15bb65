// A deterministic USI engine for the client's tests. Its first argument names a row of the
// script table below; every line it reads is appended to the log file named by the second,
// if any. Its options cover every type; each "go" is answered with one "info" line (depth 1,
// score cp 42, the move as pv) before "bestmove", "go infinite" waits for "stop".
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace {

using namespace shogi;

struct Script {
  const char* Mode;
  bool AnswersUsi;       // false: never answers anything
  bool DiesAfterUsiok;   // ends right after "usiok"
  int CrashAtGo;         // ends without a word at this "go" (1 = the first; 0 never)
  bool AnswersGo;        // false: silent after "go" (a timeout)
  bool Thinks;           // searches until its byoyomi or movetime is over, or "stop"
  const char* BestMove;  // a fixed answer, or nullptr for the first legal move
};

constexpr Script kScripts[] = {
    {"good", true, false, 0, true, false, nullptr},
    {"resign", true, false, 0, true, false, "resign"},
    {"win", true, false, 0, true, false, "win"},
    {"illegal", true, false, 0, true, false, "5i5g"},  // a king does not jump
    {"silent", true, false, 0, false, false, nullptr},
    {"dies", true, true, 0, true, false, nullptr},
    {"crash", true, false, 2, true, false, nullptr},  // one move, then ends mid-game
    {"mute", false, false, 0, true, false, nullptr},
    {"think", true, false, 0, true, true, nullptr},
};

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
  if (ParseSfen(sfen, pos, side, number, message) != 0) return "resign";
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

// Standard input read line by line with a time limit (poll), so that a search can wait for
// "stop" and for its time at once.
class LineReader {
 public:
  // 1 a line, 0 the time ran out, -1 the input ended.
  int Next(std::string& line, int timeout_ms) {
    while (true) {
      const std::size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return 1;
      }
      pollfd p{0, POLLIN, 0};
      if (poll(&p, 1, timeout_ms) == 0) return 0;
      char chunk[4096];
      const ssize_t n = read(0, chunk, sizeof chunk);
      if (n <= 0) return -1;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

 private:
  std::string buffer_;
};

// The search's time from "go ... byoyomi MS" or "go movetime MS"; -1 for infinite.
int SearchMs(const std::string& go) {
  if (go.find("infinite") != std::string::npos) return -1;
  for (const char* key : {"byoyomi ", "movetime "}) {
    const std::size_t at = go.find(key);
    if (at != std::string::npos) return std::atoi(go.c_str() + at + std::strlen(key));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "good";
  const Script* script = &kScripts[0];
  for (const Script& s : kScripts) {
    if (mode == s.Mode) script = &s;
  }
  std::ofstream log;
  if (argc > 2) log.open(argv[2], std::ios::app);
  LineReader input;
  std::string line, position;
  int goes = 0;
  while (input.Next(line, -1) > 0) {
    if (log) log << line << "\n" << std::flush;
    if (!script->AnswersUsi) continue;
    if (line == "usi") {
      std::cout << "id name Fake Engine\nid author tests\n"
                   "option name Skill type spin default 0 min 0 max 9\n"
                   "option name Own Book type check default true\n"
                   "option name Style type combo default Normal var Solid var Normal var Risky\n"
                   "option name Book File type filename default <empty>\n"
                   "option name Greeting type string default hello there\n"
                   "option name Clear Hash type button\n"
                   "usiok"
                << std::endl;
      if (script->DiesAfterUsiok) return 0;
    } else if (line == "isready") {
      std::cout << "readyok" << std::endl;
    } else if (line.rfind("position ", 0) == 0) {
      position = line;
    } else if (line.rfind("go", 0) == 0) {
      if (++goes == script->CrashAtGo) return 3;
      if (!script->AnswersGo) continue;
      const std::string best = script->BestMove ? script->BestMove : FirstLegalMove(position);
      std::cout << "info depth 1 seldepth 2 score cp 42 nodes 1000 nps 5000 pv " << best
                << std::endl;
      const int ms = SearchMs(line);
      if (script->Thinks || ms < 0) {
        // Waits for "stop" (or the end of its time) without answering anything else.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (true) {
          int wait = -1;
          if (ms >= 0) {
            wait = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        until - std::chrono::steady_clock::now())
                                        .count());
            if (wait <= 0) break;
          }
          std::string waiting;
          const int got = input.Next(waiting, wait);
          if (got < 0) return 0;
          if (got == 0) break;
          if (log) log << waiting << "\n" << std::flush;
          if (waiting == "stop") break;
        }
      }
      std::cout << "bestmove " << best << std::endl;
    } else if (line == "quit") {
      return 0;
    }
  }
  return 0;
}
