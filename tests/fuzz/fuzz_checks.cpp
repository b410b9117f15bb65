// The checks shared by the fuzz targets.
#include "tests/fuzz/fuzz_checks.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/byte_stream.h"
#include "platform/cp932.h"
#include "records/kif.h"
#include "records/record_io.h"
#include "rules/movegen.h"

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

void CheckRead(int rc, const std::string& message, const GameRecord& record, int move_limit) {
  if (rc != 0) {
    SHOGI_FUZZ_CHECK(rc == 1);
    SHOGI_FUZZ_CHECK(message == kMessageMalformed);
    SHOGI_FUZZ_CHECK(SameRecord(record, Sentinel()));
    return;
  }
  SHOGI_FUZZ_CHECK(record.StartIndex == 0 || record.StartIndex == 1);
  SHOGI_FUZZ_CHECK(record.PlyCount == record.StartIndex);
  SHOGI_FUZZ_CHECK(record.ResultCode >= kResultNone && record.ResultCode <= kResultImpasse);
  const int count = RecordMoveCount(record);
  SHOGI_FUZZ_CHECK(count <= move_limit);
  for (int i = record.StartIndex; i < record.StartIndex + count; ++i)
    SHOGI_FUZZ_CHECK(IsWellFormedMove(record.MoveList[i]));
  for (int i = record.StartIndex + count; i < kMaxMoves; ++i)
    SHOGI_FUZZ_CHECK(IsEndMarker(record.MoveList[i]));
  SHOGI_FUZZ_CHECK(record.StartIndex == 0 || IsEndMarker(record.MoveList[0]));
  SHOGI_FUZZ_CHECK(FieldText(record.FirstName).size() <= kReadNameBytes);
  SHOGI_FUZZ_CHECK(FieldText(record.SecondName).size() <= kReadNameBytes);
  SHOGI_FUZZ_CHECK(FieldText(record.Tournament).empty());
  SHOGI_FUZZ_CHECK(record.Year == Sentinel().Year);  // what the reader does not set stays
  const Position& p = record.InitialPosition;
  SHOGI_FUZZ_CHECK(p.Board[0] == 0 && p.Hand[0][0] == 0 && p.Hand[1][0] == 0);
  for (int s = 1; s <= 81; ++s)
    SHOGI_FUZZ_CHECK(TypeOf(p.Board[s]) <= 15 && TypeOf(p.Board[s]) != 13);
  for (Side side : {kFirst, kSecond})
    for (int t = 1; t <= 7; ++t) SHOGI_FUZZ_CHECK(p.Hand[side][t] >= 0 && p.Hand[side][t] <= 19);
}

bool IsSaneRecord(const GameRecord& record) {
  Position pos = record.InitialPosition;
  static MoveBuffer moves;
  for (int i = record.StartIndex; i < RecordEndPly(record); ++i) {
    const MoveCode m = record.MoveList[i];
    moves.count = 0;
    GeneratePseudoLegal(pos, SideOfPly(i), moves);
    if (std::find(moves.moves, moves.moves + moves.count, m) == moves.moves + moves.count)
      return false;
    ApplyMove(pos, m, SideOfPly(i));
  }
  return true;
}

void CheckKifRoundTrip(const GameRecord& record) {
  const std::string bytes = FormatKif(record, true);
  MemoryByteStream stream(bytes);
  static GameRecord again;
  again = Sentinel();
  std::string message;
  SHOGI_FUZZ_CHECK(ReadKif(stream, again, message, KifSource::kFile) == 0);
  SHOGI_FUZZ_CHECK(again.InitialPosition == record.InitialPosition);
  SHOGI_FUZZ_CHECK(again.StartIndex == record.StartIndex);
  SHOGI_FUZZ_CHECK(again.ResultCode == record.ResultCode);
  SHOGI_FUZZ_CHECK(FieldText(again.FirstName) == FieldText(record.FirstName));
  SHOGI_FUZZ_CHECK(FieldText(again.SecondName) == FieldText(record.SecondName));
  SHOGI_FUZZ_CHECK(std::equal(std::begin(record.MoveList), std::end(record.MoveList),
                              std::begin(again.MoveList)));
}

}  // namespace shogi::fuzz
