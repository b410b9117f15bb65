// Record formats by tool name, reading a record file and printing a record.
#include "tools/record_tool.h"

#include <cstdio>
#include <vector>

#include "database_files/name_lists.h"
#include "platform/byte_stream.h"
#include "platform/cp932.h"
#include "platform/http_client.h"
#include "rules/sfen.h"

namespace shogi::tool {

bool Readable(const RecordFormatRow& row) {
  return row.Read != nullptr || row.Collection != nullptr;
}
bool Writable(const RecordFormatRow& row) {
  return row.Write != nullptr;
}

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

const RecordFormatRow* ToolFormat(const std::string& name, bool (*has)(const RecordFormatRow&)) {
  const RecordFormatRow* row = FindRecordFormat(name);
  return row != nullptr && has(*row) ? row : nullptr;
}

namespace {

// A record from a URL through the format's URL reader (and its comments and variations where
// the format has them).
int ReadUrlRecord(const RecordFormatRow& format, const std::string& url, GameRecord& record,
                  RecordTree& tree, std::string& message) {
  if (format.ReadUrl == nullptr) {
    message = std::string("the format ") + format.ToolName + " is not read from a URL";
    return 1;
  }
  std::string body, error;
  const DownloadState state = FetchUrl(url, body, error);
  if (state != DownloadState::kDone) {
    message = std::string(UrlFailureMessage(state)) + " (" + error + ")";
    return 1;
  }
  MemoryByteStream stream(body);
  if (format.Notes != nullptr && format.Notes->ReadUrl != nullptr)
    return format.Notes->ReadUrl(stream, false, record, tree, message);
  tree.Clear();
  return format.ReadUrl(stream, record, message);
}

}  // namespace

bool ReadToolRecord(const RecordFormatRow& format, const std::string& path, GameRecord& record,
                    int number, bool undated) {
  RecordTree tree;
  return ReadToolRecord(format, path, record, tree, number, undated);
}

bool ReadToolRecord(const RecordFormatRow& format, const std::string& path, GameRecord& record,
                    RecordTree& tree, int number, bool undated) {
  ResetGameRecord(record);
  if (undated) record.Year = record.Month = record.Day = 0;
  std::string message;
  int failed;
  if (IsHttpUrl(path)) {
    failed = ReadUrlRecord(format, path, record, tree, message);
  } else if (format.Collection != nullptr) {
    failed = format.Collection->ReadNumber(path, number, record, message);
    tree.Clear();
  } else {
    failed = ReadRecord(format.Format, path, record, tree, message);
  }
  if (failed != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
  }
  return true;
}

void PrintVariations(const GameRecord& record, const RecordTree& tree) {
  std::fputs(TreeListing(record, tree).c_str(), stdout);
}

void PrintRecord(const GameRecord& record) {
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
}

void PrintRecordHeader(const GameRecord& record, bool only_given) {
  if (!only_given || record.Year > 0)
    std::printf("date: %04d-%02d-%02d\n", record.Year, record.Month, record.Day);
  const std::string tournament = Utf8(TrimRight(FieldText(record.Tournament)));
  const std::string opening = Utf8(TrimRight(FieldText(record.Opening)));
  if (!only_given || !tournament.empty()) std::printf("tournament: %s\n", tournament.c_str());
  if (!only_given || !opening.empty()) std::printf("opening: %s\n", opening.c_str());
}

}  // namespace shogi::tool
