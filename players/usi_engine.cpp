// The USI client.
#include "players/usi_engine.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi {
namespace {

bool StartsWithWord(const std::string& line, const std::string& word) {
  return line.compare(0, word.size(), word) == 0 &&
         (line.size() == word.size() || line[word.size()] == ' ');
}

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A whole decimal number of the engine's output; false for anything else or one too big.
bool ParseNumber(const std::string& text, long long& value) {
  if (text.empty() || text.size() > 18) return false;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return end == text.c_str() + text.size();
}

bool ParseInt(const std::string& text, int& value) {
  long long v;
  if (!ParseNumber(text, v) || v < -1000000000 || v > 1000000000) return false;
  value = static_cast<int>(v);
  return true;
}

bool IsOptionKeyword(const std::string& word) {
  return word == "name" || word == "type" || word == "default" || word == "min" || word == "max" ||
         word == "var";
}

}  // namespace

bool ParseUsiOptionLine(const std::string& line, UsiOptionOffer& offer) {
  if (!StartsWithWord(line, "option")) return false;
  std::istringstream words(line.substr(6));
  std::string word, key, type;
  std::string* value = nullptr;
  offer = UsiOptionOffer{};
  // Each keyword's value runs up to the next keyword, so names and defaults keep spaces.
  std::vector<std::pair<std::string, std::string>> fields;
  while (words >> word) {
    if (IsOptionKeyword(word) && !(key == "name" && fields.back().second.empty())) {
      key = word;
      fields.emplace_back(word, "");
      value = &fields.back().second;
    } else if (value) {
      if (!value->empty()) *value += ' ';
      *value += word;
    }
  }
  for (const auto& [k, v] : fields) {
    const std::string text = v == "<empty>" ? std::string() : v;
    if (k == "name")
      offer.Name = text;
    else if (k == "type")
      type = text;
    else if (k == "default")
      offer.Default = text;
    else if (k == "min")
      ParseInt(text, offer.Min);
    else if (k == "max")
      ParseInt(text, offer.Max);
    else if (k == "var")
      offer.Choices.push_back(text);
  }
  static const std::pair<const char*, UsiOptionOffer::Type> kTypes[] = {
      {"check", UsiOptionOffer::Type::kCheck},   {"spin", UsiOptionOffer::Type::kSpin},
      {"combo", UsiOptionOffer::Type::kCombo},   {"button", UsiOptionOffer::Type::kButton},
      {"string", UsiOptionOffer::Type::kString}, {"filename", UsiOptionOffer::Type::kFilename},
  };
  if (offer.Name.empty()) return false;
  for (const auto& [name, kind] : kTypes) {
    if (type == name) {
      offer.Kind = kind;
      return true;
    }
  }
  return false;
}

bool ParseUsiInfo(const std::string& line, UsiInfo& info) {
  if (!StartsWithWord(line, "info")) return false;
  std::istringstream words(line.substr(4));
  std::string word, value;
  long long number;
  while (words >> word) {
    if (word == "string") break;  // free text to the end of the line
    if (word == "pv") {
      info.Pv.clear();
      while (words >> value) info.Pv.push_back(value);
      break;
    }
    if (!(words >> value)) break;
    if (word == "depth") {
      ParseInt(value, info.Depth);
    } else if (word == "seldepth") {
      ParseInt(value, info.SelDepth);
    } else if (word == "nodes") {
      if (ParseNumber(value, number)) info.Nodes = number;
    } else if (word == "nps") {
      if (ParseNumber(value, number)) info.Nps = number;
    } else if (word == "score") {
      std::string amount;
      if (!(words >> amount)) break;
      int score = 0;
      if (value == "cp" && ParseInt(amount, score)) {
        info.HasScore = true;
        info.Mate = false;
        info.Score = score;
        info.MateSign = 0;
      } else if (value == "mate") {
        info.HasScore = true;
        info.Mate = true;
        info.Score = ParseInt(amount, score) ? score : 0;
        info.MateSign = amount[0] == '-' ? -1 : 1;
      }
      // A bound after the score ("lowerbound", "upperbound") says nothing more here.
    }
  }
  return true;
}

std::string UsiGoCommand(const UsiGo& go) {
  switch (go.Kind) {
    case UsiGo::Mode::kInfinite:
      return "go infinite";
    case UsiGo::Mode::kMoveTime:
      return "go movetime " + std::to_string(go.MoveTimeMs);
    case UsiGo::Mode::kClock:
      break;
  }
  return "go btime " + std::to_string(go.FirstMs) + " wtime " + std::to_string(go.SecondMs) +
         " byoyomi " + std::to_string(go.ByoyomiMs);
}

double UsiGoSeconds(const UsiGo& go, bool first_to_move, double extra) {
  switch (go.Kind) {
    case UsiGo::Mode::kInfinite:
      return 0;
    case UsiGo::Mode::kMoveTime:
      return go.MoveTimeMs / 1000.0 + extra;
    case UsiGo::Mode::kClock:
      break;
  }
  return ((first_to_move ? go.FirstMs : go.SecondMs) + go.ByoyomiMs) / 1000.0 + extra;
}

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

int UsiEngine::Send(const std::string& line, std::string& message) {
  if (process_.WriteLine(line)) return 0;
  message = "エンジンが終了しています。";
  return 1;
}

int UsiEngine::WaitFor(const std::string& word, double seconds, std::string& line,
                       std::string& message) {
  while (true) {
    switch (process_.ReadLine(line, seconds)) {
      case ChildProcess::ReadResult::kLine: {
        if (StartsWithWord(line, "id") && line.compare(0, 8, "id name ") == 0)
          name_ = line.substr(8);
        UsiOptionOffer offer;
        if (ParseUsiOptionLine(line, offer)) options_.push_back(offer);
        if (StartsWithWord(line, word)) return 0;
        break;
      }
      case ChildProcess::ReadResult::kTimeout:
        message = "エンジンが時間内に " + word + " を返しませんでした。";
        return 1;
      case ChildProcess::ReadResult::kClosed:
        message = "エンジンが " + word + " の前に終了しました。";
        return 1;
    }
  }
}

int UsiEngine::Start(const std::string& command, const std::vector<UsiOption>& options,
                     std::string& message) {
  if (process_.Start(command, message) != 0) return 1;
  name_.clear();
  options_.clear();
  searching_ = false;
  std::string line;
  int failed = Send("usi", message);
  if (failed == 0) failed = WaitFor("usiok", limits_.handshake, line, message);
  for (std::size_t i = 0; failed == 0 && i < options.size(); ++i) {
    // A button is pressed by its name alone.
    const std::string value = options[i].Value.empty() ? "" : " value " + options[i].Value;
    failed = Send("setoption name " + options[i].Name + value, message);
  }
  if (failed == 0) failed = Send("isready", message);
  if (failed == 0) failed = WaitFor("readyok", limits_.handshake, line, message);
  if (failed != 0) process_.Finish(1);
  return failed;
}

int UsiEngine::NewGame(std::string& message) {
  return Send("usinewgame", message);
}

void UsiEngine::GameOver(const std::string& result) {
  std::string ignored;
  if (process_.Running()) Send("gameover " + result, ignored);
}

UsiEngine::Answer UsiEngine::Go(const std::string& position, int byoyomi_ms, MoveCode& move,
                                std::string& message) {
  UsiGo go;
  go.ByoyomiMs = byoyomi_ms;
  return Go(position, go, true, move, message);
}

UsiEngine::Answer UsiEngine::Go(const std::string& position, const UsiGo& go, bool first_to_move,
                                MoveCode& move, std::string& message) {
  if (BeginGo(position, go, first_to_move, message) != 0) return Answer::kError;
  while (true) {
    // The deadline of BeginGo ends the wait; an infinite search has none and waits for it.
    const Answer a = Poll(3600, move, message);
    if (a != Answer::kPending) return a;
  }
}

int UsiEngine::BeginGo(const std::string& position, const UsiGo& go, bool first_to_move,
                       std::string& message) {
  info_ = UsiInfo{};
  if (Send(position, message) != 0 || Send(UsiGoCommand(go), message) != 0) return 1;
  searching_ = true;
  const double seconds = UsiGoSeconds(go, first_to_move, limits_.move_extra);
  deadline_ = seconds > 0 ? SteadySeconds() + seconds : 0;
  return 0;
}

void UsiEngine::Stop() {
  if (!searching_) return;
  std::string ignored;
  Send("stop", ignored);
  const double deadline = SteadySeconds() + limits_.move_extra;
  if (deadline_ == 0 || deadline < deadline_) deadline_ = deadline;
}

UsiEngine::Answer UsiEngine::Poll(double seconds, MoveCode& move, std::string& message) {
  if (!searching_) {
    message = "エンジンは思考中ではありません。";
    return Answer::kError;
  }
  std::string line;
  double wait = seconds;
  while (true) {
    if (deadline_ > 0) {
      const double left = deadline_ - SteadySeconds();
      if (left <= 0) {
        searching_ = false;
        message = "エンジンが時間内に bestmove を返しませんでした。";
        return Answer::kError;
      }
      if (wait > left) wait = left;
    }
    switch (process_.ReadLine(line, wait)) {
      case ChildProcess::ReadResult::kLine:
        if (StartsWithWord(line, "bestmove")) {
          searching_ = false;
          return BestMove(line, move, message);
        }
        ParseUsiInfo(line, info_);
        wait = 0;  // take the rest of what has come without waiting again
        break;
      case ChildProcess::ReadResult::kTimeout:
        if (deadline_ > 0 && deadline_ <= SteadySeconds()) break;  // reported above
        return Answer::kPending;
      case ChildProcess::ReadResult::kClosed:
        searching_ = false;
        message = "エンジンが bestmove の前に終了しました。";
        return Answer::kError;
    }
  }
}

UsiEngine::Answer UsiEngine::BestMove(const std::string& line, MoveCode& move,
                                      std::string& message) {
  std::string word = line.size() > 9 ? line.substr(9) : std::string();
  const std::size_t space = word.find(' ');
  if (space != std::string::npos) word.resize(space);
  if (word == "resign") return Answer::kResign;
  if (word == "win") return Answer::kWin;
  if (!ParseUsiMove(word, move)) {
    message = "エンジンの応答が読めません: " + line;
    return Answer::kError;
  }
  return Answer::kMove;
}

void UsiEngine::Quit() {
  searching_ = false;
  if (!process_.Running()) return;
  std::string ignored;
  Send("quit", ignored);
  process_.Finish(1);
}

}  // namespace shogi
