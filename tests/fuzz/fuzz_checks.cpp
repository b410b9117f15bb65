// The checks shared by the fuzz targets.
#include "tests/fuzz/fuzz_checks.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/byte_stream.h"
#include "platform/cp932.h"
#include "records/hshogi.h"
#include "records/palm.h"
#include "records/record_io.h"
#include "rules/move_rules.h"
#include "rules/record_tree.h"

namespace shogi::fuzz {

namespace {

GameRecord MakeSentinel() {
  GameRecord r;
  ResetGameRecord(r);
  r.Year = 2001;
  r.Month = 2;
  r.Day = 3;
  r.MoveList[0] = EncodeMove(SquareOf(7, 7), SquareOf(7, 6), 0);
  r.MoveTimes[0] = 11;
  r.MoveTimes[5] = 13;
  r.ResultCode = kResultImpasseLater;
  r.PlyCount = 1;
  r.Clocks[0] = 11;
  CopyCp932Field(r.FirstName, "sentinel");
  CopyCp932Field(r.Tournament, "cup");
  return r;
}

}  // namespace

const GameRecord& Sentinel() {
  static const GameRecord sentinel = MakeSentinel();
  return sentinel;
}

void CheckRead(int rc, const std::string& message, const GameRecord& record, int move_limit,
               RecordFormat format, bool header_fields) {
  // The Kaya file names its games' tournaments; the Palm file holds a Tarvel index record
  // (date, tournament, a result of up to 8) and refuses another file with a message of its own.
  const bool palm = format == RecordFormat::kPalm;
  const bool takes_title = palm || format == RecordFormat::kKaya;
  if (rc != 0) {
    SHOGI_FUZZ_CHECK(rc == 1);
    SHOGI_FUZZ_CHECK(palm ? message == kMessageOtherFormat
                          : message == kMessageMalformed || message == kMessageNotHShogi);
    SHOGI_FUZZ_CHECK(SameRecord(record, Sentinel()));
    return;
  }
  SHOGI_FUZZ_CHECK(record.StartIndex == 0 || record.StartIndex == 1);
  SHOGI_FUZZ_CHECK(record.PlyCount == record.StartIndex);
  SHOGI_FUZZ_CHECK(record.ResultCode >= kResultNone &&
                   record.ResultCode <= (palm ? kResultImpasseLater : kResultImpasse));
  const int count = RecordMoveCount(record);
  SHOGI_FUZZ_CHECK(count <= move_limit);
  for (int i = record.StartIndex; i < record.StartIndex + count; ++i)
    SHOGI_FUZZ_CHECK(IsWellFormedMove(record.MoveList[i]));
  for (int i = record.StartIndex + count; i < kMaxMoves; ++i)
    SHOGI_FUZZ_CHECK(IsEndMarker(record.MoveList[i]));
  SHOGI_FUZZ_CHECK(record.StartIndex == 0 || IsEndMarker(record.MoveList[0]));
  SHOGI_FUZZ_CHECK(FieldText(record.FirstName).size() <= kReadNameBytes);
  SHOGI_FUZZ_CHECK(FieldText(record.SecondName).size() <= kReadNameBytes);
  if (header_fields || takes_title) {
    SHOGI_FUZZ_CHECK(FieldText(record.Tournament).size() < kNameFieldSize);
    SHOGI_FUZZ_CHECK(FieldText(record.Opening).size() < kNameFieldSize);
    SHOGI_FUZZ_CHECK(FieldText(record.Comment).size() < kCommentFieldSize);
  }
  // A date the file does not give is none; one it reads from a header is a date.
  SHOGI_FUZZ_CHECK(
      palm || (record.Year == 0 && record.Month == 0 && record.Day == 0) ||
      (record.Month >= 1 && record.Month <= 12 && record.Day >= 1 && record.Day <= 31));
  const Position& p = record.InitialPosition;
  SHOGI_FUZZ_CHECK(p.Board[0] == 0 && p.Hand[0][0] == 0 && p.Hand[1][0] == 0);
  for (int s = 1; s <= 81; ++s)
    SHOGI_FUZZ_CHECK(TypeOf(p.Board[s]) <= 15 && TypeOf(p.Board[s]) != 13);
  for (Side side : {kFirst, kSecond})
    for (int t = 1; t <= 7; ++t) SHOGI_FUZZ_CHECK(p.Hand[side][t] >= 0 && p.Hand[side][t] <= 19);
}

bool NamesAreCp932Text(const GameRecord& record) {
  std::string ignored;
  return Cp932ToUtf8(FieldText(record.FirstName), ignored) &&
         Cp932ToUtf8(FieldText(record.SecondName), ignored);
}

bool SideToMoveWon(const GameRecord& record) {
  const Side to_move = SideOfPly(RecordEndPly(record));
  return (record.ResultCode == kResultFirstWins && to_move == kFirst) ||
         (record.ResultCode == kResultSecondWins && to_move == kSecond);
}

bool IsSaneRecord(const GameRecord& record) {
  Position pos = record.InitialPosition;
  for (int i = record.StartIndex; i < RecordEndPly(record); ++i) {
    if (!IsPlayableMove(pos, SideOfPly(i), record.MoveList[i])) return false;
    ApplyMove(pos, record.MoveList[i], SideOfPly(i));
  }
  return true;
}

const GameRecord& CheckRoundTrip(RecordFormat format, const GameRecord& record) {
  const RecordFormatRow& row = RecordFormatRowOf(format);
  std::string bytes, message;
  SHOGI_FUZZ_CHECK(row.FormatBytes(record, true, bytes, message) == 0);
  MemoryByteStream stream(bytes);
  static GameRecord again;
  again = Sentinel();
  SHOGI_FUZZ_CHECK(row.ReadStream(stream, again, message) == 0);
  SHOGI_FUZZ_CHECK(again.InitialPosition == record.InitialPosition);
  SHOGI_FUZZ_CHECK(again.StartIndex == record.StartIndex);
  SHOGI_FUZZ_CHECK(!NamesAreCp932Text(record) ||
                   (FieldText(again.FirstName) == FieldText(record.FirstName) &&
                    FieldText(again.SecondName) == FieldText(record.SecondName)));
  SHOGI_FUZZ_CHECK(std::equal(std::begin(record.MoveList), std::end(record.MoveList),
                              std::begin(again.MoveList)));
  return again;
}

namespace {

// Whether the tree's moves are playable from their positions, its main line is the record's
// and no line runs past `move_limit` moves.
bool IsSaneTree(const RecordTree& tree, const GameRecord& record, int move_limit) {
  if (MainLineNodes(tree, record).size() != static_cast<std::size_t>(RecordMoveCount(record)) + 1)
    return false;
  for (int id = 1; id < tree.Size(); ++id) {
    const RecordNode& node = tree.Node(id);
    const int parent = node.Parent;
    const int depth = tree.Depth(parent);
    if (depth + 1 > move_limit) return false;
    const Position before = PositionOfNode(tree, record, parent);
    if (!IsPlayableMove(before, SideOfPly(record.StartIndex + depth), node.Move)) return false;
  }
  return true;
}

// Whether every comment line is cp932 text short enough for a line of any format's file.
bool CommentsFitEveryFile(const RecordTree& tree) {
  std::string ignored;
  for (int id = 0; id < tree.Size(); ++id) {
    for (const std::string& line : tree.Node(id).Comment)
      if (line.size() > 200 || !Cp932ToUtf8(line, ignored)) return false;
  }
  return true;
}

}  // namespace

void CheckNotes(RecordFormat format, std::string_view bytes) {
  const RecordFormatRow& row = RecordFormatRowOf(format);
  static GameRecord plain, record;
  plain = record = Sentinel();
  std::string message;
  MemoryByteStream first(bytes), second(bytes);
  const int plain_rc = row.ReadStream(first, plain, message);
  RecordTree tree;
  tree.StartWithRoot();
  tree.Node(RecordTree::kRoot).Comment.push_back("sentinel");
  const int rc = row.Notes->Read(second, false, record, tree, message);
  SHOGI_FUZZ_CHECK(rc == plain_rc);
  SHOGI_FUZZ_CHECK(SameRecord(record, plain));
  if (rc != 0) {
    SHOGI_FUZZ_CHECK(tree.Size() == 1 && tree.Node(RecordTree::kRoot).Comment.size() == 1);
    return;
  }
  if (tree.Empty()) return;
  SHOGI_FUZZ_CHECK(tree.HasNotes());
  SHOGI_FUZZ_CHECK(IsSaneTree(tree, record, row.MoveLimit));
  if (!NamesAreCp932Text(record) || !CommentsFitEveryFile(tree)) return;
  const std::string listing = TreeListing(record, tree);
  for (RecordFormat writer : {format, RecordFormat::kKif}) {
    const RecordNotes* notes = RecordFormatRowOf(writer).Notes;
    std::string written;
    if (notes->Format(record, tree, true, written, message) != 0) continue;  // CSA: hands
    static GameRecord again;
    again = Sentinel();
    RecordTree tree_again;
    MemoryByteStream stream(written);
    SHOGI_FUZZ_CHECK(notes->Read(stream, false, again, tree_again, message) == 0);
    SHOGI_FUZZ_CHECK(TreeListing(again, tree_again) == listing);
  }
}

void CheckFormat(RecordFormat format, std::string_view bytes, FormatCheck extra,
                 bool header_fields) {
  const RecordFormatRow& row = RecordFormatRowOf(format);
  static GameRecord record;
  for (RecordStreamReader read : {row.ReadStream, row.ReadUrl}) {
    if (read == nullptr) continue;
    record = Sentinel();
    MemoryByteStream stream(bytes);
    std::string message;
    const int rc = read(stream, record, message);
    CheckRead(rc, message, record, row.MoveLimit, format, header_fields);
    if (rc != 0) continue;
    SHOGI_FUZZ_CHECK(IsSaneRecord(record));
    // Every record that was read can be saved in the program's own format. Its writer ends a
    // won record with 投了, the side to move resigning: a win of the side to move (反則勝ち,
    // %KACHI ...) comes back as the other side's, and the "later" results of a database
    // record (the Palm file's) have no words in it.
    SHOGI_FUZZ_CHECK(CheckRoundTrip(RecordFormat::kKif, record).ResultCode == record.ResultCode ||
                     SideToMoveWon(record) || record.ResultCode > kResultImpasse);
    if (extra != nullptr) extra(record);
  }
  if (row.Notes != nullptr) CheckNotes(format, bytes);
}

}  // namespace shogi::fuzz
