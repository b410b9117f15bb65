// Helpers of the record-format tests: texts in cp932, files, and records built from SFEN
// and USI moves.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_stream.h"
#include "rules/game_record.h"
#include "tests/records/record_compare.h"
#include "tests/support/game_builder.h"
#include "tests/support/test_files.h"

namespace shogi::test {

// The cp932 form of a UTF-8 text (fails the test if it has no cp932 form).
std::string Cp(std::string_view utf8);

// UTF-8 lines as a cp932 text with CR LF after every line.
std::string Lines(std::initializer_list<std::string_view> utf8_lines);

// The path of a file of the test data (tests/data/<relative>), and its bytes; the bytes of
// any path.
std::string TestDataPath(const std::string& relative);
std::string TestData(const std::string& relative);
using test::FileBytes;

// The bytes of a test data file with the first `from` replaced by `to`; fails the test when
// `from` is not in the file.
std::string ChangedTestData(const std::string& relative, std::string_view from,
                            std::string_view to);

// Records built from SFEN and USI moves, and their moves as USI.
using test::MakeRecord;
using test::UsiMoves;

// A record read from bytes in memory, as a stream reader (ReadKif, ReadCsa, ...) reads a file.
template <int (*Read)(ByteStream&, GameRecord&, std::string&)>
int ReadBytes(const std::string& bytes, GameRecord& record, std::string& message) {
  MemoryByteStream stream(bytes);
  return Read(stream, record, message);
}

// The even game of the golden files even.kif and even.csa: a capture on the square just
// moved to, a promotion, a drop and a think of an hour; the first player won.
GameRecord EvenGame();

// A record with a recognisable header, to check that failed reads leave it alone.
GameRecord SentinelRecord();

// Checks a read of a record that started as SentinelRecord(): `count` moves read, or, with
// a count of -1, the file refused as malformed and the record left as it was.
void ExpectReadOutcome(int rc, const GameRecord& record, const std::string& message, int count,
                       const std::string& trace);

// Folders for the files written by a test.
using test::TempFolder;

}  // namespace shogi::test
