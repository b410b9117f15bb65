// shogi-tool diagram / bmp: the output menu's texts and the problem bitmap of a record file's
// position, made by the same code as the window's commands.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "output/output_file.h"
#include "output/problem_bitmap.h"
#include "output/text_diagram.h"
#include "platform/cp932.h"
#include "records/kaya.h"
#include "tools/command.h"
#include "tools/record_tool.h"

namespace shogi::tool {
namespace {

struct DiagramKind {
  const char* name;
  std::string (*build)(const GameRecord& record);
};

std::string Morita(const GameRecord& record) {
  return MoritaDiagram(record, 0);
}

constexpr DiagramKind kDiagramKinds[] = {
    {"standard", StandardDiagram}, {"mail", MailDiagram},     {"record", StandardRecordText},
    {"kaya", KayaDiagram},         {"merged", MergedDiagram}, {"morita", Morita},
};

// The game as one Kaya record, as the output menu's かや棋譜 appends it.
constexpr const char* kKayaRecordKind = "kaya-record";

std::string KindNames() {
  std::string names;
  for (const DiagramKind& k : kDiagramKinds)
    names += (names.empty() ? "" : " ") + std::string(k.name);
  return names + " " + kKayaRecordKind;
}

// The options shared by diagram and bmp; the rest of `args` goes to `operands`. False with
// the usage error printed.
struct PositionOptions {
  int ply = -1;  // -1: the record's end
  std::string out;
  std::string labels;
  bool flip = false;
};

bool ParseOptions(const char* name, const std::vector<std::string>& args, bool bitmap,
                  std::vector<std::string>& operands, PositionOptions& options, int& status) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--ply") {
      char* end = nullptr;
      const long value = has_value ? std::strtol(args[i + 1].c_str(), &end, 10) : -1;
      if (options.ply != -1 || end == nullptr || *end != '\0' || value < 0 || value >= kMaxMoves) {
        status = UsageError(name, "--ply needs a number of plies from 0");
        return false;
      }
      options.ply = static_cast<int>(value);
      ++i;
    } else if (!bitmap && a == "--out" && has_value) {
      options.out = args[++i];
    } else if (bitmap && a == "--labels" && has_value) {
      options.labels = args[++i];
    } else if (bitmap && a == "--flip") {
      options.flip = true;
    } else if (a.rfind("--", 0) == 0) {
      status = UsageError(name, "unknown option " + a);
      return false;
    } else {
      operands.push_back(a);
    }
  }
  return true;
}

// Reads the record and shows it at `ply` (clamped to the record's end), or at its end.
bool ReadShownRecord(const char* name, const std::string& format_name, const std::string& path,
                     int ply, GameRecord& record, int& status) {
  const RecordFormatRow* format = ToolFormat(format_name, Readable);
  if (format == nullptr) {
    status = UsageError(name, "FORMAT must be " + ToolNames(Readable));
    return false;
  }
  if (!ReadToolRecord(*format, path, record)) {
    status = kExitFailed;
    return false;
  }
  const int end = RecordEndPly(record);
  record.PlyCount = ply < 0 || ply > end ? end : std::max(ply, record.StartIndex);
  return true;
}

int RunDiagram(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  PositionOptions options;
  int status = kExitOk;
  if (!ParseOptions("diagram", args, false, operands, options, status)) return status;
  if (operands.size() != 3) return UsageError("diagram", "expected KIND, FORMAT and FILE");
  const DiagramKind* kind = nullptr;
  for (const DiagramKind& k : kDiagramKinds) {
    if (operands[0] == k.name) kind = &k;
  }
  const bool kaya_record = operands[0] == kKayaRecordKind;
  if (kind == nullptr && !kaya_record)
    return UsageError("diagram", "KIND must be one of " + KindNames());
  static GameRecord record;
  if (!ReadShownRecord("diagram", operands[1], operands[2], options.ply, record, status))
    return status;
  std::string text, message;
  if (!kaya_record) {
    text = kind->build(record);
  } else if (FormatKayaOutput(record, text, message) == 0) {
    std::erase(text, '\r');  // the output file's line ends are added as for every kind
  } else {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  if (options.out.empty()) {
    const std::string utf8 = Utf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    return kExitOk;
  }
  if (AppendOutputText(options.out, text, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  return kExitOk;
}

const std::string kDiagramUsage = "KIND FORMAT FILE [--ply N] [--out FILE]";
const std::string kDiagramSummary =
    "writes the output menu's text of a record's position (KIND: " + KindNames() +
    "), appended in cp932 to --out FILE, else in UTF-8 to standard output";
const CommandRegistration kDiagram({"diagram", kDiagramUsage.c_str(), kDiagramSummary.c_str(),
                                    RunDiagram});

// "ラベル1,ラベル2": the sides' labels of the problem picture, each at most 6 cp932 bytes.
bool ParseLabels(const std::string& text, std::string& sente, std::string& gote) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  sente = text.substr(0, comma);
  gote = text.substr(comma + 1);
  for (const std::string& label : {sente, gote}) {
    std::string bytes;
    if (!Utf8ToCp932(label, bytes) || bytes.size() > kProblemLabelBytes) return false;
  }
  return true;
}

int RunBmp(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  PositionOptions options;
  int status = kExitOk;
  if (!ParseOptions("bmp", args, true, operands, options, status)) return status;
  if (operands.size() != 3) return UsageError("bmp", "expected FORMAT, FILE and OUT.bmp");
  std::string sente = kDefaultSenteLabel, gote = kDefaultGoteLabel;
  if (!options.labels.empty() && !ParseLabels(options.labels, sente, gote))
    return UsageError("bmp", "--labels needs SENTE,GOTE of at most 6 bytes each in cp932");
  static GameRecord record;
  if (!ReadShownRecord("bmp", operands[0], operands[1], options.ply, record, status)) return status;
  Position pos = PositionAt(record, record.PlyCount);
  if (options.flip) pos = FlipProblem(pos);
  std::string message;
  const int rc = WriteProblemBitmap(operands[2], DrawProblem(pos, sente, gote), message);
  std::fprintf(rc == 0 ? stdout : stderr, "%s\n", message.c_str());
  return rc == 0 ? kExitOk : kExitFailed;
}

const CommandRegistration kBmp(
    {"bmp", "FORMAT FILE OUT.bmp [--ply N] [--labels SENTE,GOTE] [--flip]",
     "writes the 200 x 168 one-bit problem bitmap of a record's position", RunBmp});

}  // namespace
}  // namespace shogi::tool
