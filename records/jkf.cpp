// The JKF reader and writer, through the JSON library's document model: the file is parsed
// whole (its size and depth bounded) without exceptions, and every value is checked for its
// type before it is used.
#include "records/jkf.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/cp932.h"
#include "records/csa.h"
#include "records/notation.h"
#include "records/record_io.h"
#include "records/record_text.h"
#include "rules/handicap.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// Cumulative times stay below 100 hours, the most the KIF time column shows.

// The start positions with a name of their own in JKF.
struct JkfPreset {
  const char* Name;
  Handicap Id;
  int EmptiedSquare;  // a further square of the second player's cleared, 0 for none
};
constexpr JkfPreset kPresets[] = {
    {"HIRATE", Handicap::kEven, 0},    {"KY", Handicap::kLance, 0},
    {"KY_R", Handicap::kEven, 9},  // the lance on 9一
    {"KA", Handicap::kBishop, 0},      {"HI", Handicap::kRook, 0},
    {"HIKY", Handicap::kRookLance, 0}, {"2", Handicap::kTwoPieces, 0},
    {"4", Handicap::kFourPieces, 0},   {"6", Handicap::kSixPieces, 0},
    {"8", Handicap::kEightPieces, 0},  {"10", Handicap::kTenPieces, 0},
};

Position PresetPosition(const JkfPreset& preset) {
  Position pos = HandicapPosition(preset.Id);
  if (preset.EmptiedSquare != 0) pos.Board[preset.EmptiedSquare] = 0;
  return pos;
}

// The side to move first from a preset: the handicap giver, the second player, except in
// the even game.
int PresetStartIndex(const JkfPreset& preset) {
  return preset.Id == Handicap::kEven && preset.EmptiedSquare == 0 ? 0 : 1;
}

// The piece type of a JKF kind ("FU" .. "RY"), 0 for none.
int KindType(std::string_view kind) {
  for (int type = kPawn; type <= kDragon; ++type)
    if (type != 13 && kind == CsaPieceCode(type)) return type;
  return 0;
}

// The special words of a line's end, as the format lists them. Those the CSA format shares
// say the same there; MATTA and ERROR name no result.
bool SpecialResult(std::string_view special, int index, int& result) {
  static constexpr std::string_view kWords[] = {
      "TORYO",           "CHUDAN",          "SENNICHITE", "TIME_UP", "ILLEGAL_MOVE",
      "+ILLEGAL_ACTION", "-ILLEGAL_ACTION", "JISHOGI",    "KACHI",   "HIKIWAKE",
      "MATTA",           "TSUMI",           "FUZUMI",     "ERROR"};
  if (std::find(std::begin(kWords), std::end(kWords), special) == std::end(kWords)) return false;
  result = special == "MATTA" || special == "ERROR"
               ? kResultNone
               : CsaEndResult("%" + std::string(special), index);
  return true;
}

const char* SpecialOf(int result) {
  switch (result) {
    case kResultFirstWins:
    case kResultSecondWins:
      return "TORYO";
    case kResultRepetition:
      return "SENNICHITE";
    case kResultImpasse:
    case kResultImpasseLater:
      return "JISHOGI";
    default:
      return "CHUDAN";
  }
}

// ---- Reading -------------------------------------------------------------------------

const Json* Member(const Json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(key);
  return found == object.end() ? nullptr : &*found;
}

// A whole number in [low, high] at `key` of `object`.
std::optional<int> IntMember(const Json& object, const char* key, int low, int high) {
  const Json* value = Member(object, key);
  if (value == nullptr || !value->is_number_integer()) return std::nullopt;
  const std::int64_t n = value->get<std::int64_t>();
  if (n < low || n > high) return std::nullopt;
  return static_cast<int>(n);
}

const std::string* StringMember(const Json& object, const char* key) {
  const Json* value = Member(object, key);
  return value != nullptr && value->is_string() ? value->get_ptr<const std::string*>() : nullptr;
}

// A square {"x": file, "y": rank}; 0 when it is none.
int SquareMember(const Json& object, const char* key) {
  const Json* place = Member(object, key);
  if (place == nullptr) return 0;
  const std::optional<int> x = IntMember(*place, "x", 1, 9);
  const std::optional<int> y = IntMember(*place, "y", 1, 9);
  return x && y ? SquareOf(*x, *y) : 0;
}

// Seconds of a time {"h": .., "m": .., "s": ..} ("h" may be missing).
std::optional<int> Seconds(const Json* time) {
  if (time == nullptr || !time->is_object()) return std::nullopt;
  const Json* hours = Member(*time, "h");
  const std::optional<int> h =
      hours == nullptr || hours->is_null() ? std::optional<int>(0) : IntMember(*time, "h", 0, 99);
  const std::optional<int> m = IntMember(*time, "m", 0, 99 * 60 + 59);
  const std::optional<int> s = IntMember(*time, "s", 0, 59);
  if (!h || !m || !s) return std::nullopt;
  return static_cast<int>(std::min<long>(*h * 3600 + *m * 60 + *s, kMaxCumulativeSeconds));
}

// The comment lines of an entry's "comments", in cp932; a string holding line ends is several
// lines.
void ReadComments(const Json& entry, std::vector<std::string>& lines) {
  const Json* comments = Member(entry, "comments");
  if (comments == nullptr || !comments->is_array()) return;
  for (const Json& text : *comments) {
    if (!text.is_string()) continue;
    const std::string cp932 = Utf8TextToCp932(text.get_ref<const std::string&>());
    std::size_t begin = 0;
    for (;;) {
      const std::size_t end = cp932.find('\n', begin);
      std::string line = cp932.substr(begin, end == std::string::npos ? end : end - begin);
      line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
      lines.push_back(std::move(line));
      if (end == std::string::npos) break;
      begin = end + 1;
    }
  }
}

// Where a line being read stands: the position before its next move and what that move
// needs to be read.
struct LineState {
  int Node;      // the tree position before the next move
  Position Pos;  // its position
  int Index;     // the list index of the next move
  int Previous;  // the destination of the move before it, 0 at the start
};

class JkfReader {
 public:
  JkfReader(GameRecord& record, RecordTree& tree) : r_(record), tree_(tree) {}

  bool ReadHeader(const Json& doc);
  bool ReadInitial(const Json& doc);
  // The entries of `moves` from `first` on, as the line from `at`; `main` for the record's.
  bool ReadLine(const Json& moves, std::size_t first, LineState at, bool main);

 private:
  bool ReadMove(const Json& move, const LineState& at, MoveCode& m) const;
  bool ReadBoard(const Json& data);

  GameRecord& r_;
  RecordTree& tree_;
};

bool JkfReader::ReadHeader(const Json& doc) {
  const Json* header = Member(doc, "header");
  if (header == nullptr) return true;
  if (!header->is_object()) return false;
  const auto text = [&](const char* key) -> std::optional<std::string> {
    const std::string* value = StringMember(*header, key);
    if (value == nullptr) return std::nullopt;
    return Utf8TextToCp932(*value);
  };
  for (const char* key : {"先手", "下手"})
    if (const auto name = text(key)) CopyCp932Field(r_.FirstName, CutName(*name));
  for (const char* key : {"後手", "上手"})
    if (const auto name = text(key)) CopyCp932Field(r_.SecondName, CutName(*name));
  if (const auto name = text("棋戦"))
    CopyCp932Field(r_.Tournament, CutName(*name, kNameFieldSize - 1));
  if (const auto name = text("戦型"))
    CopyCp932Field(r_.Opening, CutName(*name, kNameFieldSize - 1));
  if (const auto date = text("開始日時")) ReadSlashDate(*date, r_);
  return true;
}

bool JkfReader::ReadBoard(const Json& data) {
  Position& pos = r_.InitialPosition;
  std::memset(&pos, 0, sizeof pos);
  const std::optional<int> color = IntMember(data, "color", 0, 1);
  const Json* board = Member(data, "board");
  const Json* hands = Member(data, "hands");
  if (!color || board == nullptr || hands == nullptr || !hands->is_array() || hands->size() != 2)
    return false;
  // The board is board[x - 1][y - 1], or an empty object for an empty board.
  if (board->is_array()) {
    if (board->size() != 9) return false;
    for (int x = 1; x <= 9; ++x) {
      const Json& file = (*board)[static_cast<std::size_t>(x - 1)];
      if (!file.is_array() || file.size() != 9) return false;
      for (int y = 1; y <= 9; ++y) {
        const Json& square = file[static_cast<std::size_t>(y - 1)];
        const Json* kind = Member(square, "kind");
        if (!square.is_object()) return false;
        if (kind == nullptr || kind->is_null()) continue;
        const int type = kind->is_string() ? KindType(kind->get_ref<const std::string&>()) : 0;
        const std::optional<int> side = IntMember(square, "color", 0, 1);
        if (type == 0 || !side) return false;
        pos.Board[SquareOf(x, y)] =
            static_cast<std::int8_t>(CodeOf(type, static_cast<Side>(*side)));
      }
    }
  } else if (!board->is_object() || !board->empty()) {
    return false;
  }
  for (Side side : {kFirst, kSecond}) {
    const Json& hand = (*hands)[static_cast<std::size_t>(side)];
    if (!hand.is_object()) return false;
    for (const auto& [kind, count] : hand.items()) {
      const int type = KindType(kind);
      if (type == 0 || !count.is_number_integer()) return false;
      const std::int64_t n = count.get<std::int64_t>();
      if (n < 0 || n > kMaxHandCount || (n > 0 && type > kRook)) return false;
      if (type <= kRook) pos.Hand[side][type] = static_cast<std::int8_t>(n);
    }
  }
  FindKingSquares(pos);
  r_.StartIndex = *color;
  return true;
}

bool JkfReader::ReadInitial(const Json& doc) {
  const Json* initial = Member(doc, "initial");
  if (initial == nullptr || initial->is_null()) return true;  // the even game
  if (!initial->is_object()) return false;
  const Json* data = Member(*initial, "data");
  if (data != nullptr && data->is_object()) return ReadBoard(*data);
  const std::string* name = StringMember(*initial, "preset");
  if (name == nullptr) return false;
  for (const JkfPreset& preset : kPresets) {
    if (*name != preset.Name) continue;
    r_.InitialPosition = PresetPosition(preset);
    r_.StartIndex = PresetStartIndex(preset);
    return true;
  }
  return false;
}

bool JkfReader::ReadMove(const Json& move, const LineState& at, MoveCode& m) const {
  if (!move.is_object()) return false;
  const Side side = SideOfPly(at.Index);
  if (const Json* color = Member(move, "color"); color != nullptr && !color->is_null()) {
    if (IntMember(move, "color", 0, 1) != static_cast<int>(side)) return false;
  }
  int to = SquareMember(move, "to");
  const Json* same = Member(move, "same");
  if (to == 0 && same != nullptr && same->is_boolean() && same->get<bool>()) to = at.Previous;
  const std::string* kind = StringMember(move, "piece");
  const int type = kind != nullptr ? KindType(*kind) : 0;
  if (to == 0 || type == 0) return false;
  const Json* promote = Member(move, "promote");
  const bool promotes = promote != nullptr && promote->is_boolean() && promote->get<bool>();
  const Json* origin = Member(move, "from");
  if (origin == nullptr || origin->is_null()) {
    if (type > kRook || promotes) return false;
    m = EncodeMove(DropOrigin(type), to, 0);
  } else {
    const int from = SquareMember(move, "from");
    if (from == 0 || !BelongsTo(at.Pos.Board[from], side) || TypeOf(at.Pos.Board[from]) != type)
      return false;
    if (promotes && !CanPromote(type)) return false;
    m = EncodeMove(from, to, promotes ? 1 : 0);
  }
  return IsPlayableMove(at.Pos, side, m);
}

bool JkfReader::ReadLine(const Json& moves, std::size_t first, LineState at, bool main) {
  if (!moves.is_array()) return false;
  for (std::size_t i = first; i < moves.size(); ++i) {
    const Json& entry = moves[i];
    if (!entry.is_object()) return false;
    const Json* forks = Member(entry, "forks");
    if (forks != nullptr && !forks->is_null() && !forks->is_array()) return false;
    // Each fork is played in place of this entry, from the same position.
    const auto read_forks = [&]() {
      if (forks == nullptr || forks->is_null()) return true;
      for (const Json& fork : *forks)
        if (!ReadLine(fork, 0, at, false)) return false;
      return true;
    };
    if (const std::string* special = StringMember(entry, "special")) {
      int result = kResultNone;
      if (!SpecialResult(*special, at.Index, result)) return false;
      // A fork that is a word in place of a move has no position of its own to hold it.
      if (!main && i == first) return true;
      RecordNode& node = tree_.Node(at.Node);
      node.Ends = true;
      ReadComments(entry, node.Comment);
      if (main) {
        r_.ResultCode = result;
        // The clock of the side to move at the end, kept at the end marker.
        const Json* time = Member(entry, "time");
        const std::optional<int> clock =
            time != nullptr ? Seconds(Member(*time, "total")) : std::nullopt;
        if (clock && at.Index < kMaxMoves) r_.MoveTimes[at.Index] = *clock;
      } else {
        node.Result = result;
      }
      return read_forks();
    }
    const Json* move = Member(entry, "move");
    if (move == nullptr) return false;
    if (at.Index - r_.StartIndex >= kJkfMoveLimit) return true;  // the rest is left out
    MoveCode m;
    if (!ReadMove(*move, at, m)) return false;
    // The mover's clock: the total, else this move's time added to the mover's previous one.
    const int grandparent = tree_.Node(at.Node).Parent;
    const int earlier = grandparent > RecordTree::kRoot ? tree_.Node(grandparent).Time : 0;
    const Json* time = Member(entry, "time");
    int clock = 0;
    if (time != nullptr && time->is_object()) {
      if (const std::optional<int> total = Seconds(Member(*time, "total"))) {
        clock = *total;
      } else if (const std::optional<int> now = Seconds(Member(*time, "now"))) {
        clock = static_cast<int>(std::min<long>(earlier + *now, kMaxCumulativeSeconds));
      }
    }
    // The move first, so that the forks played in place of it come after it.
    const int node = tree_.AddMove(at.Node, m, clock);
    if (node < 0 || !read_forks()) return false;
    ReadComments(entry, tree_.Node(node).Comment);
    if (main) {
      r_.MoveList[at.Index] = m;
      r_.MoveTimes[at.Index] = clock;
    }
    ApplyMove(at.Pos, m, SideOfPly(at.Index));
    at.Node = node;
    at.Previous = DestinationOf(m);
    ++at.Index;
  }
  return true;
}

// The bytes of the stream, at most kJkfMaxBytes; false when there are more or reading failed.
bool ReadAll(ByteStream& stream, std::string& text) {
  char buffer[16384];
  for (;;) {
    const std::size_t n = stream.Read(buffer, sizeof buffer);
    if (n == 0) return !stream.Failed();
    if (text.size() + n > kJkfMaxBytes) return false;
    text.append(buffer, n);
  }
}

}  // namespace

int ReadJkf(ByteStream& stream, bool /*utf8_by_name*/, GameRecord& record, RecordTree& tree,
            std::string& message) {
  message = kMessageMalformed;
  std::string text;
  if (!ReadAll(stream, text)) return 1;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  bool too_deep = false;
  const Json::parser_callback_t limit = [&too_deep](int depth, Json::parse_event_t, Json&) {
    if (depth > kJkfMaxDepth) too_deep = true;
    return !too_deep;
  };
  const Json doc = Json::parse(text, limit, /*allow_exceptions=*/false);
  if (too_deep || doc.is_discarded() || !doc.is_object()) return 1;
  const Json* moves = Member(doc, "moves");
  if (moves == nullptr || !moves->is_array() || moves->empty()) return 1;

  GameRecord r;
  PrepareRecordForReading(record, r);
  RecordTree t;
  t.StartWithRoot();
  JkfReader reader(r, t);
  if (!reader.ReadHeader(doc) || !reader.ReadInitial(doc)) return 1;
  ReadComments((*moves)[0], t.Node(RecordTree::kRoot).Comment);
  if (!reader.ReadLine(*moves, 1, {RecordTree::kRoot, r.InitialPosition, r.StartIndex, 0}, true))
    return 1;
  r.PlyCount = r.StartIndex;
  record = r;
  ConformTree(t, r);
  if (!t.HasNotes()) t.Clear();
  tree = std::move(t);
  message.clear();
  return 0;
}

int ReadJkf(ByteStream& stream, GameRecord& record, std::string& message) {
  RecordTree tree;
  return ReadJkf(stream, false, record, tree, message);
}

int ReadJkf(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadJkf, record, message);
}

// ---- Writing -------------------------------------------------------------------------

namespace {

OrderedJson Place(int square) {
  return OrderedJson{{"x", FileOf(square)}, {"y", RankOf(square)}};
}

OrderedJson Time(int spent, int cumulative) {
  spent = std::max(spent, 0);
  cumulative = std::max(cumulative, 0);
  return OrderedJson{
      {"now", {{"m", spent / 60}, {"s", spent % 60}}},
      {"total", {{"h", cumulative / 3600}, {"m", cumulative / 60 % 60}, {"s", cumulative % 60}}}};
}

OrderedJson Comments(const std::vector<std::string>& lines) {
  OrderedJson comments = OrderedJson::array();
  for (const std::string& line : lines) comments.push_back(Utf8(line));
  return comments;
}

OrderedJson MoveJson(MoveCode m, const Position& before, int index, int previous) {
  const Side side = SideOfPly(index);
  const int to = DestinationOf(m);
  OrderedJson move;
  move["color"] = static_cast<int>(side);
  if (IsDrop(m)) {
    move["piece"] = CsaPieceCode(DroppedType(m.from));
  } else {
    move["from"] = Place(m.from);
    move["piece"] = CsaPieceCode(TypeOf(before.Board[m.from]));
  }
  move["to"] = Place(to);
  if (to == previous) move["same"] = true;
  if (IsPromotion(m)) move["promote"] = true;
  if (before.Board[to] != 0) move["capture"] = CsaPieceCode(TypeOf(before.Board[to]));
  return move;
}

class JkfWriter {
 public:
  JkfWriter(const GameRecord& record, const RecordTree& tree, bool store_times)
      : r_(record), tree_(tree), store_times_(store_times) {}

  // The entries of the line that begins with `first` (the root for the main line: its first
  // entry then holds only the start's comment).
  OrderedJson Line(int first) const;

 private:
  OrderedJson Forks(int from) const;

  const GameRecord& r_;
  const RecordTree& tree_;
  bool store_times_;
};

OrderedJson JkfWriter::Forks(int from) const {
  OrderedJson forks = OrderedJson::array();
  for (int branch : BranchesFrom(tree_, from)) forks.push_back(Line(branch));
  return forks;
}

OrderedJson JkfWriter::Line(int first) const {
  OrderedJson entries = OrderedJson::array();
  const bool main = first == RecordTree::kRoot;
  const int parent = main ? -1 : tree_.Node(first).Parent;
  int depth = main ? 0 : tree_.Depth(parent);
  Position pos = main ? r_.InitialPosition : PositionOfNode(tree_, r_, parent);
  int previous = parent > RecordTree::kRoot ? DestinationOf(tree_.Node(parent).Move) : 0;
  int at = first;
  if (main) {
    OrderedJson start = OrderedJson::object();
    if (!tree_.Node(at).Comment.empty()) start["comments"] = Comments(tree_.Node(at).Comment);
    entries.push_back(std::move(start));
  }
  for (bool first_move = !main;; first_move = false) {
    if (!first_move) {
      const RecordNode& node = tree_.Node(at);
      if (node.Ends || node.Next.empty()) break;
      at = node.Next.front();
    }
    const RecordNode& node = tree_.Node(at);
    const int index = r_.StartIndex + depth;
    if (!IsWellFormedMove(node.Move) || index + 1 >= kMaxMoves) break;
    OrderedJson entry;
    entry["move"] = MoveJson(node.Move, pos, index, previous);
    if (store_times_) {
      const int earlier = depth >= 2 ? tree_.Node(tree_.Node(node.Parent).Parent).Time : 0;
      entry["time"] = Time(node.Time - earlier, node.Time);
    }
    if (!node.Comment.empty()) entry["comments"] = Comments(node.Comment);
    // The variations played in place of this move branch off the position before it.
    if (!first_move && node.Parent >= 0) {
      OrderedJson forks = Forks(node.Parent);
      if (!forks.empty()) entry["forks"] = std::move(forks);
    }
    entries.push_back(std::move(entry));
    ApplyMove(pos, node.Move, SideOfPly(index));
    previous = DestinationOf(node.Move);
    ++depth;
  }
  // The word that ended the line, with the variations played in place of it.
  const RecordNode& last = tree_.Node(at);
  const int result = main ? r_.ResultCode : last.Result;
  const bool said = main ? result != kResultNone || depth > 0 : result >= 0;
  OrderedJson forks = last.Ends ? Forks(at) : OrderedJson::array();
  if (said || !forks.empty()) {
    OrderedJson end;
    end["special"] = SpecialOf(result);
    const int index = r_.StartIndex + depth;
    if (main && store_times_ && index < kMaxMoves) end["time"] = Time(0, r_.MoveTimes[index]);
    if (!forks.empty()) end["forks"] = std::move(forks);
    entries.push_back(std::move(end));
  }
  return entries;
}

OrderedJson Initial(const GameRecord& record) {
  for (const JkfPreset& preset : kPresets) {
    if (record.StartIndex == PresetStartIndex(preset) &&
        record.InitialPosition == PresetPosition(preset))
      return OrderedJson{{"preset", preset.Name}};
  }
  const Position& pos = record.InitialPosition;
  OrderedJson board = OrderedJson::array();
  for (int x = 1; x <= 9; ++x) {
    OrderedJson file = OrderedJson::array();
    for (int y = 1; y <= 9; ++y) {
      const int code = pos.Board[SquareOf(x, y)];
      const int type = TypeOf(code);
      if (code == 0 || type > kDragon || type == 13) {
        file.push_back(OrderedJson::object());
      } else {
        file.push_back({{"color", code > 0 ? 0 : 1}, {"kind", CsaPieceCode(type)}});
      }
    }
    board.push_back(std::move(file));
  }
  OrderedJson hands = OrderedJson::array();
  for (Side side : {kFirst, kSecond}) {
    OrderedJson hand = OrderedJson::object();
    for (int type = kPawn; type <= kRook; ++type)
      hand[CsaPieceCode(type)] = std::max<int>(pos.Hand[side][type], 0);
    hands.push_back(std::move(hand));
  }
  return OrderedJson{
      {"preset", "OTHER"},
      {"data",
       {{"color", record.StartIndex}, {"board", std::move(board)}, {"hands", std::move(hands)}}}};
}

}  // namespace

std::string FormatJkf(const GameRecord& record, const RecordTree& given, bool store_times) {
  RecordTree tree = given;
  if (tree.Empty()) {
    tree.StartFrom(record);
  } else {
    ConformTree(tree, record);
  }
  OrderedJson header = OrderedJson::object();
  header["先手"] = Utf8(CutName(FieldText(record.FirstName), kNameFieldSize));
  header["後手"] = Utf8(CutName(FieldText(record.SecondName), kNameFieldSize));
  if (!FieldText(record.Tournament).empty()) header["棋戦"] = Utf8(FieldText(record.Tournament));
  if (!FieldText(record.Opening).empty()) header["戦型"] = Utf8(FieldText(record.Opening));
  if (record.Year > 0 && record.Month >= 1 && record.Month <= 12 && record.Day >= 1 &&
      record.Day <= 31) {
    char date[32];
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", record.Year, record.Month, record.Day);
    header["開始日時"] = date;
  }
  OrderedJson doc;
  doc["header"] = std::move(header);
  doc["initial"] = Initial(record);
  doc["moves"] = JkfWriter(record, tree, store_times).Line(RecordTree::kRoot);
  return doc.dump(-1, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

int WriteJkf(const std::string& path, const GameRecord& record, bool store_times,
             std::string& message) {
  return WriteRecordFile(path, FormatJkf(record, RecordTree{}, store_times), message);
}

}  // namespace shogi
