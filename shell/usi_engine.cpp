// The USI client.
#include "shell/usi_engine.h"

#include <memory>

#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi {
namespace {

bool StartsWithWord(const std::string& line, const std::string& word) {
  return line.compare(0, word.size(), word) == 0 &&
         (line.size() == word.size() || line[word.size()] == ' ');
}

}  // namespace

bool ParseUsiOption(const std::string& text, UsiOption& option) {
  const std::size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  option.Name = text.substr(0, eq);
  option.Value = text.substr(eq + 1);
  return true;
}

std::string UsiPositionCommand(const Position& initial, int start_index, const MoveCode* moves,
                               int ply_count) {
  std::string command = "position ";
  if (start_index == 0 && initial == kInitialPosition) {
    command += "startpos";
  } else {
    command += "sfen " + ToSfen(initial, SideOfPly(start_index), 1);
  }
  if (ply_count > start_index) {
    command += " moves";
    for (int i = start_index; i < ply_count; ++i) command += " " + FormatUsiMove(moves[i]);
  }
  return command;
}

bool UsiEngine::Send(const std::string& line, std::string& message) {
  if (process_.WriteLine(line)) return true;
  message = "the engine does not take input (it has ended)";
  return false;
}

bool UsiEngine::WaitFor(const std::string& word, double seconds, std::string& line,
                        std::string& message) {
  while (true) {
    switch (process_.ReadLine(line, seconds)) {
      case ChildProcess::ReadResult::kLine:
        if (StartsWithWord(line, "id") && line.compare(0, 8, "id name ") == 0)
          name_ = line.substr(8);
        if (StartsWithWord(line, word)) return true;
        break;
      case ChildProcess::ReadResult::kTimeout:
        message = "the engine did not answer '" + word + "' in time";
        return false;
      case ChildProcess::ReadResult::kClosed:
        message = "the engine ended before '" + word + "'";
        return false;
    }
  }
}

bool UsiEngine::Start(const std::string& command, const std::vector<UsiOption>& options,
                      std::string& message) {
  if (!process_.Start(command, message)) return false;
  std::string line;
  bool ok = Send("usi", message) && WaitFor("usiok", limits_.handshake, line, message);
  for (std::size_t i = 0; ok && i < options.size(); ++i) {
    ok = Send("setoption name " + options[i].Name + " value " + options[i].Value, message);
  }
  ok = ok && Send("isready", message) && WaitFor("readyok", limits_.handshake, line, message);
  if (!ok) process_.Finish(1);
  return ok;
}

bool UsiEngine::NewGame(std::string& message) {
  return Send("usinewgame", message);
}

UsiEngine::Answer UsiEngine::Go(const std::string& position, int byoyomi_ms, MoveCode& move,
                                std::string& message) {
  std::string line;
  if (!Send(position, message) || !Send("go byoyomi " + std::to_string(byoyomi_ms), message))
    return Answer::kError;
  if (!WaitFor("bestmove", byoyomi_ms / 1000.0 + limits_.move_extra, line, message))
    return Answer::kError;
  std::string word = line.size() > 9 ? line.substr(9) : std::string();
  const std::size_t space = word.find(' ');
  if (space != std::string::npos) word.resize(space);
  if (word == "resign") return Answer::kResign;
  if (word == "win") return Answer::kWin;
  if (!ParseUsiMove(word, move)) {
    message = "the engine answered '" + line + "'";
    return Answer::kError;
  }
  return Answer::kMove;
}

void UsiEngine::Quit() {
  if (!process_.Running()) return;
  std::string ignored;
  Send("quit", ignored);
  process_.Finish(1);
}

void UsiPlayer::BeginGame(int*) {
  if (!engine_.NewGame(error_)) return;
  error_.clear();
}

int UsiPlayer::Think(const ThinkRequest& request, ComputerAnswer& answer) {
  if (!RequestInRange(request)) return 0;
  MoveCode move;
  const std::string position =
      UsiPositionCommand(request.Initial, request.StartIndex, request.MoveList, request.PlyCount);
  std::string message;
  const UsiEngine::Answer a = engine_.Go(position, move_ms_, move, message);
  if (a == UsiEngine::Answer::kError) {
    error_ = message;
    return 0;
  }
  // "win" claims an impasse win, which the driver does not know: it counts as no move.
  if (a != UsiEngine::Answer::kMove) return 0;
  auto record = std::make_unique<GameRecord>();
  GameOfRequest(request, *record);
  if (!IsLegalMove(*record, request.Shown, move)) {
    error_ = "the engine played the illegal move " + FormatUsiMove(move);
    return 0;
  }
  answer.Origin[0] = OriginOf(move);
  answer.Destination[0] = DestinationOf(move);
  answer.Promote[0] = IsPromotion(move) ? 1 : 0;
  return 1;
}

}  // namespace shogi
