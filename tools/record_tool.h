// What the shogi-tool commands on record files share (read, convert, db): the formats of
// the format table by their tool names, reading a record file, and printing a record.
#pragma once

#include <string>

#include "records/record_format.h"
#include "rules/game_record.h"
#include "rules/record_tree.h"

namespace shogi::tool {

bool Readable(const RecordFormatRow& row);
bool Writable(const RecordFormatRow& row);

// The tool names of the formats that `has` accepts, as "kif, ki2 or csa".
std::string ToolNames(bool (*has)(const RecordFormatRow&));

// The format named `name` if `has` accepts it, else nullptr.
const RecordFormatRow* ToolFormat(const std::string& name, bool (*has)(const RecordFormatRow&));

// Reads `path` as `format` into a reset record (game `number` of a file of several games);
// on failure prints the reader's message to standard error.
// With `undated` the record starts without a date, so that only a date of the file is kept.
bool ReadToolRecord(const RecordFormatRow& format, const std::string& path, GameRecord& record,
                    int number = 1, bool undated = false);
// The same keeping the file's comments and variations in `tree` (empty for a format without
// them).
bool ReadToolRecord(const RecordFormatRow& format, const std::string& path, GameRecord& record,
                    RecordTree& tree, int number = 1, bool undated = false);

// Prints the start position (SFEN), the moves (USI), the times, the result and the names,
// one line each.
void PrintRecord(const GameRecord& record);

// Prints the tree's lines and comments (TreeListing).
void PrintVariations(const GameRecord& record, const RecordTree& tree);

// Prints the lines "date: YYYY-MM-DD", "tournament: ..." and "opening: ..."; with
// `only_given`, only the lines whose field the record holds (a date with a year, a text that
// is not empty).
void PrintRecordHeader(const GameRecord& record, bool only_given);

}  // namespace shogi::tool
