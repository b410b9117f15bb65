// What every record-reader fuzz target checks: a failed read leaves the record alone, a
// successful one is well-formed and sane, and it survives a write and a second read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "records/record_format.h"
#include "rules/game_record.h"
#include "tests/records/record_compare.h"

// The entry point of every fuzz target, called by libFuzzer or by the corpus replay.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace shogi::fuzz {

// Stops the fuzzer with a finding when `condition` does not hold.
#define SHOGI_FUZZ_CHECK(condition)                                                      \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

// A record with a recognisable content that a failed read must leave as it is.
const GameRecord& Sentinel();

// Checks the outcome of one read: `rc` and `message` as the reader returned them, `record`
// after the read, `move_limit` the reader's limit, `format` the reader's format. A reader of
// `header_fields` may set the tournament, opening, comment and date.
void CheckRead(int rc, const std::string& message, const GameRecord& record, int move_limit,
               RecordFormat format, bool header_fields = false);

// Whether every move of the record is playable in the position it is played from, as every
// record a reader accepts must be.
bool IsSaneRecord(const GameRecord& record);

// Whether both names are cp932 text. Bytes that are not may come back otherwise from a
// written file: with them the file can be valid UTF-8 and invalid cp932, which the readers
// take as UTF-8.
bool NamesAreCp932Text(const GameRecord& record);

// Whether the record's winner is the side to move at its end (a win on the opponent's foul
// or a declaration), which the KIF and CSA writers cannot state.
bool SideToMoveWon(const GameRecord& record);

// Writes `record` with the writer of `format` and reads it back with its reader: the start
// position, StartIndex, names and moves must come back unchanged. Returns the record read.
const GameRecord& CheckRoundTrip(RecordFormat format, const GameRecord& record);

// The format's own checks of a record that one of its readers accepted.
using FormatCheck = void (*)(const GameRecord& record);

// Runs the reader of `format` that keeps comments and variations over `bytes`: it must agree
// with the plain reader, leave record and tree alone when it fails, and give a tree that
// follows the record's main line, whose every move is playable, and whose lines and comments
// survive the format's own writer and the KIF writer.
void CheckNotes(RecordFormat format, std::string_view bytes);

// Runs every stream reader of `format` (file and URL rules) over `bytes`. A failed read must
// leave the record alone; a successful one must be well-formed and sane, survive a KIF
// round trip with its result, and pass `extra` when given; a format with comments and
// variations passes CheckNotes too.
void CheckFormat(RecordFormat format, std::string_view bytes, FormatCheck extra = nullptr,
                 bool header_fields = false);

}  // namespace shogi::fuzz
