// What every record-reader fuzz target checks: a failed read leaves the record alone, a
// successful one is well-formed, and a sane record survives a write and a second read.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "rules/game_record.h"
#include "tests/records/record_compare.h"

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
// after the read, `move_limit` the reader's limit.
void CheckRead(int rc, const std::string& message, const GameRecord& record, int move_limit);

// Whether every move of the record is a pseudo-legal move of the position it is played in,
// as any record of a real game is.
bool IsSaneRecord(const GameRecord& record);

// Writes the record as KIF, reads it back and checks that nothing changed.
void CheckKifRoundTrip(const GameRecord& record);

}  // namespace shogi::fuzz
