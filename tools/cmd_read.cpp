// shogi-tool read / convert: a record file through one of the KIF, KI2 and CSA readers, and
// from one format into another.
#include <cstdio>
#include <string>

#include "platform/cp932.h"
#include "records/csa.h"
#include "records/ki2.h"
#include "records/kif.h"
#include "rules/sfen.h"
#include "tools/command.h"

namespace shogi::tool {
namespace {

using Reader = int (*)(const std::string& path, GameRecord& record, std::string& message);
using Writer = int (*)(const std::string& path, const GameRecord& record, bool store_times,
                       std::string& message);

Reader ReaderOf(const std::string& format) {
  if (format == "kif") return ReadKif;
  if (format == "ki2") return ReadKi2;
  if (format == "csa") return ReadCsa;
  return nullptr;
}

Writer WriterOf(const std::string& format) {
  if (format == "kif") return WriteKif;
  if (format == "csa") return WriteCsa;
  return nullptr;
}

// Reads `path` with `reader`; on failure prints the reader's message to standard error.
bool Read(Reader reader, const std::string& path, GameRecord& record) {
  ResetGameRecord(record);
  std::string message;
  if (reader(path, record, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
  }
  return true;
}

int RunRead(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("read", "expected FORMAT and FILE");
  Reader reader = ReaderOf(args[0]);
  if (reader == nullptr) return UsageError("read", "FORMAT must be kif, ki2 or csa");
  static GameRecord record;
  if (!Read(reader, args[1], record)) return kExitFailed;
  const int end = RecordEndPly(record);
  std::string moves, times;
  for (int i = record.StartIndex; i < end; ++i) {
    moves += ' ';
    moves += FormatUsiMove(record.MoveList[i]);
    times += ' ';
    times += std::to_string(record.MoveTimes[i]);
  }
  std::printf("start: %s\n", ToSfen(record.InitialPosition, record.StartIndex).c_str());
  std::printf("moves:%s\n", moves.c_str());
  std::printf("times:%s\n", times.c_str());
  std::printf("result: %d\n", record.ResultCode);
  std::printf("sente: %s\n", Utf8(FieldText(record.FirstName)).c_str());
  std::printf("gote: %s\n", Utf8(FieldText(record.SecondName)).c_str());
  return kExitOk;
}

int RunConvert(const std::vector<std::string>& args) {
  if (args.size() != 4) return UsageError("convert", "expected FORMAT_IN IN FORMAT_OUT OUT");
  Reader reader = ReaderOf(args[0]);
  if (reader == nullptr) return UsageError("convert", "FORMAT_IN must be kif, ki2 or csa");
  Writer writer = WriterOf(args[2]);
  if (writer == nullptr) return UsageError("convert", "FORMAT_OUT must be kif or csa");
  static GameRecord record;
  if (!Read(reader, args[1], record)) return kExitFailed;
  std::string message;
  if (writer(args[3], record, true, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  return kExitOk;
}

const CommandRegistration kRead({"read", "FORMAT FILE",
                                 "reads a kif, ki2 or csa record and prints its start position "
                                 "(SFEN), moves (USI), times, result and names",
                                 RunRead});
const CommandRegistration kConvert({"convert", "FORMAT_IN IN FORMAT_OUT OUT",
                                    "reads a kif, ki2 or csa record and writes it as kif or csa "
                                    "with its times",
                                    RunConvert});

}  // namespace
}  // namespace shogi::tool
