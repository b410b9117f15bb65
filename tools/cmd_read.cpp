// shogi-tool read / convert / records: a record file through a reader of the format table,
// from one format into another, and the list of a file that holds several games.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "records/kaya.h"
#include "records/record_format.h"
#include "tools/command.h"
#include "tools/record_tool.h"

namespace shogi::tool {
namespace {

bool HoldsSeveralGames(const RecordFormatRow& row) {
  return row.Collection != nullptr;
}

// A whole number of at least 1 for an option, as --record and --replace take it.
bool ParseGameNumber(const std::vector<std::string>& args, std::size_t i, int& number) {
  char* end = nullptr;
  const long value = i + 1 < args.size() ? std::strtol(args[i + 1].c_str(), &end, 10) : 0;
  if (end == nullptr || *end != '\0' || value < 1 || value > 1000000) return false;
  number = static_cast<int>(value);
  return true;
}

int RunRead(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  int number = 0;
  bool variations = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--variations") {
      variations = true;
      continue;
    }
    if (args[i] != "--record") {
      operands.push_back(args[i]);
      continue;
    }
    if (number != 0 || !ParseGameNumber(args, i, number))
      return UsageError("read", "--record needs a game number from 1");
    ++i;
  }
  if (operands.size() != 2) return UsageError("read", "expected FORMAT and FILE or URL");
  const RecordFormatRow* format = ToolFormat(operands[0], Readable);
  if (format == nullptr) return UsageError("read", "FORMAT must be " + ToolNames(Readable));
  if (number != 0 && !HoldsSeveralGames(*format))
    return UsageError(
        "read", "--record needs a format of several games a file: " + ToolNames(HoldsSeveralGames));
  static GameRecord record;
  RecordTree tree;
  if (!ReadToolRecord(*format, operands[1], record, tree, number == 0 ? 1 : number, true))
    return kExitFailed;
  PrintRecord(record);
  PrintRecordHeader(record, true);
  if (variations) PrintVariations(record, tree);
  return kExitOk;
}

int RunConvert(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  bool store_times = true;
  KayaWriteMode mode = KayaWriteMode::kNew;
  int replaced = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--no-times") {
      store_times = false;
    } else if (args[i] == "--append" && mode == KayaWriteMode::kNew) {
      mode = KayaWriteMode::kAppend;
    } else if (args[i] == "--replace" && mode == KayaWriteMode::kNew) {
      if (!ParseGameNumber(args, i, replaced))
        return UsageError("convert", "--replace needs a game number from 1");
      mode = KayaWriteMode::kReplace;
      ++i;
    } else if (args[i] == "--append" || args[i] == "--replace") {
      return UsageError("convert", "--append and --replace go alone");
    } else {
      operands.push_back(args[i]);
    }
  }
  if (operands.size() != 4) return UsageError("convert", "expected FORMAT_IN IN FORMAT_OUT OUT");
  const RecordFormatRow* in = ToolFormat(operands[0], Readable);
  if (in == nullptr) return UsageError("convert", "FORMAT_IN must be " + ToolNames(Readable));
  const RecordFormatRow* out = ToolFormat(operands[2], Writable);
  if (out == nullptr) return UsageError("convert", "FORMAT_OUT must be " + ToolNames(Writable));
  if (mode != KayaWriteMode::kNew && out->Format != RecordFormat::kKaya)
    return UsageError("convert", "--append and --replace write into a kaya file");
  static GameRecord record;
  RecordTree tree;
  if (!ReadToolRecord(*in, operands[1], record, tree)) return kExitFailed;
  std::string message;
  const int failed =
      out->Format == RecordFormat::kKaya
          ? WriteKaya(operands[3], record, mode, replaced, message)
          : WriteRecord(out->Format, operands[3], record, tree, store_times, message);
  if (failed != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  return kExitOk;
}

int RunRecords(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("records", "expected FORMAT and FILE");
  const RecordFormatRow* format = ToolFormat(args[0], HoldsSeveralGames);
  if (format == nullptr)
    return UsageError("records", "FORMAT must be " + ToolNames(HoldsSeveralGames));
  std::string header, message;
  std::vector<std::string> rows;
  if (format->Collection->List(args[1], header, rows, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  std::printf("%s\n", header.c_str());
  for (const std::string& row : rows) std::printf("%s\n", row.c_str());
  return kExitOk;
}

// The summaries name the formats of the table; they live as long as the registrations.
const std::string kReadSummary =
    "reads a " + ToolNames(Readable) +
    " record (kif, csa and jkf from an http or https URL too; game N of a file of several games) "
    "and prints its start position (SFEN), moves (USI), times, result and names; with "
    "--variations also every line of its moves (line 0 the main line, then each variation from "
    "the start) and every comment line with the line and the move it follows";
const std::string kConvertSummary =
    "reads a " + ToolNames(Readable) + " record and writes it as " + ToolNames(Writable) +
    " with its times (not with --no-times) and its comments and variations where both formats "
    "hold them (csa: comments only); --append puts the game in front of a kaya file's games, "
    "--replace N in place of game N";

const std::string kRecordsSummary = "prints the list of the games of a file of several games (" +
                                    ToolNames(HoldsSeveralGames) + "), its header line first";

const CommandRegistration kRead({"read", "FORMAT FILE|URL [--record N] [--variations]",
                                 kReadSummary.c_str(), RunRead});
const CommandRegistration kRecords({"records", "FORMAT FILE", kRecordsSummary.c_str(), RunRecords});
const CommandRegistration kConvert({"convert",
                                    "FORMAT_IN IN FORMAT_OUT OUT [--no-times] "
                                    "[--append | --replace N]",
                                    kConvertSummary.c_str(), RunConvert});

}  // namespace
}  // namespace shogi::tool
