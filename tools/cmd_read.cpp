// shogi-tool read / convert: a record file through a reader of the format table, and from
// one format into another.
#include <cstdio>
#include <string>
#include <vector>

#include "records/record_format.h"
#include "tools/command.h"
#include "tools/record_tool.h"

namespace shogi::tool {
namespace {

int RunRead(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("read", "expected FORMAT and FILE");
  const RecordFormatRow* format = ToolFormat(args[0], Readable);
  if (format == nullptr) return UsageError("read", "FORMAT must be " + ToolNames(Readable));
  static GameRecord record;
  if (!ReadToolRecord(*format, args[1], record)) return kExitFailed;
  PrintRecord(record);
  return kExitOk;
}

int RunConvert(const std::vector<std::string>& args) {
  if (args.size() != 4) return UsageError("convert", "expected FORMAT_IN IN FORMAT_OUT OUT");
  const RecordFormatRow* in = ToolFormat(args[0], Readable);
  if (in == nullptr) return UsageError("convert", "FORMAT_IN must be " + ToolNames(Readable));
  const RecordFormatRow* out = ToolFormat(args[2], Writable);
  if (out == nullptr) return UsageError("convert", "FORMAT_OUT must be " + ToolNames(Writable));
  static GameRecord record;
  if (!ReadToolRecord(*in, args[1], record)) return kExitFailed;
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
