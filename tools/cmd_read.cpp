// shogi-tool read / convert: a record file through a reader of the format table, and from
// one format into another.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "records/record_format.h"
#include "rules/sfen.h"
#include "tools/command.h"

namespace shogi::tool {
namespace {

// The tool names of the formats that `has` accepts, as "kif, ki2 or csa".
std::string ToolNames(bool (*has)(const RecordFormatRow&)) {
  std::vector<const char*> names;
  for (const RecordFormatRow& row : RecordFormats()) {
    if (row.ToolName != nullptr && has(row)) names.push_back(row.ToolName);
  }
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
    text += names[i];
  }
  return text;
}

bool Readable(const RecordFormatRow& row) {
  return row.Read != nullptr;
}
bool Writable(const RecordFormatRow& row) {
  return row.Write != nullptr;
}

// The format named `name` if `has` accepts it, else nullptr.
const RecordFormatRow* ToolFormat(const std::string& name, bool (*has)(const RecordFormatRow&)) {
  const RecordFormatRow* row = FindRecordFormat(name);
  return row != nullptr && has(*row) ? row : nullptr;
}

// Reads `path` as `format`; on failure prints the reader's message to standard error.
bool Read(const RecordFormatRow& format, const std::string& path, GameRecord& record) {
  ResetGameRecord(record);
  std::string message;
  if (ReadRecord(format.Format, path, record, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
  }
  return true;
}

int RunRead(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("read", "expected FORMAT and FILE");
  const RecordFormatRow* format = ToolFormat(args[0], Readable);
  if (format == nullptr) return UsageError("read", "FORMAT must be " + ToolNames(Readable));
  static GameRecord record;
  if (!Read(*format, args[1], record)) return kExitFailed;
  const int end = RecordEndPly(record);
  std::string moves, times;
  for (int i = record.StartIndex; i < end; ++i) {
    moves += ' ';
    moves += FormatUsiMove(record.MoveList[i]);
    times += ' ';
    times += std::to_string(record.MoveTimes[i]);
  }
  std::printf("start: %s\n", ToSfen(record.InitialPosition, SideOfPly(record.StartIndex)).c_str());
  std::printf("moves:%s\n", moves.c_str());
  std::printf("times:%s\n", times.c_str());
  std::printf("result: %d\n", record.ResultCode);
  std::printf("sente: %s\n", Utf8(FieldText(record.FirstName)).c_str());
  std::printf("gote: %s\n", Utf8(FieldText(record.SecondName)).c_str());
  return kExitOk;
}

int RunConvert(const std::vector<std::string>& args) {
  if (args.size() != 4) return UsageError("convert", "expected FORMAT_IN IN FORMAT_OUT OUT");
  const RecordFormatRow* in = ToolFormat(args[0], Readable);
  if (in == nullptr) return UsageError("convert", "FORMAT_IN must be " + ToolNames(Readable));
  const RecordFormatRow* out = ToolFormat(args[2], Writable);
  if (out == nullptr) return UsageError("convert", "FORMAT_OUT must be " + ToolNames(Writable));
  static GameRecord record;
  if (!Read(*in, args[1], record)) return kExitFailed;
  std::string message;
  if (WriteRecord(out->Format, args[3], record, true, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  return kExitOk;
}

// The summaries name the formats of the table; they live as long as the registrations.
const std::string kReadSummary = "reads a " + ToolNames(Readable) +
                                 " record and prints its start position (SFEN), moves (USI), "
                                 "times, result and names";
const std::string kConvertSummary = "reads a " + ToolNames(Readable) + " record and writes it as " +
                                    ToolNames(Writable) + " with its times";

const CommandRegistration kRead({"read", "FORMAT FILE", kReadSummary.c_str(), RunRead});
const CommandRegistration kConvert({"convert", "FORMAT_IN IN FORMAT_OUT OUT",
                                    kConvertSummary.c_str(), RunConvert});

}  // namespace
}  // namespace shogi::tool
