// Line reading, name fields, the fresh record of a reader, opening and writing record files.
#include "records/record_io.h"

#include <algorithm>
#include <cstring>

#include "platform/cp932.h"
#include "platform/replacing_file.h"

namespace shogi {

LineReader::LineReader(ByteStream& stream, std::size_t max_bytes, LineEnd end)
    : stream_(stream), max_bytes_(std::min(max_bytes, kMaxLineBytes)), end_(end) {}

bool LineReader::Refill() {
  if (eof_) return false;
  if (total_ >= kMaxInputBytes) {
    eof_ = failed_ = true;
    return false;
  }
  std::size_t want = std::min(sizeof buffer_, kMaxInputBytes - total_);
  std::size_t n = stream_.Read(buffer_, want);
  if (n == 0) {
    eof_ = true;
    failed_ = stream_.Failed();
    return false;
  }
  begin_ = 0;
  end_of_data_ = n;
  total_ += n;
  return true;
}

bool LineReader::Next(std::string_view& line) {
  std::size_t length = 0;
  bool any = false;  // a byte of this line was consumed, even if it was a dropped CR
  cut_ = false;
  for (;;) {
    if (begin_ == end_of_data_ && !Refill()) break;
    any = true;
    const char c = buffer_[begin_];
    const bool ends = c == '\n' || (c == '\r' && end_ == LineEnd::kCarriageReturnOrLineFeed);
    if (ends) {
      ++begin_;
      line = std::string_view(line_, length);
      return true;
    }
    ++begin_;
    if (c == '\r') continue;
    if (length == max_bytes_) {
      cut_ = true;  // the line is full: the rest up to its end is dropped
      continue;
    }
    line_[length++] = c;
  }
  if (!any && length == 0) return false;
  line = std::string_view(line_, length);
  return true;
}

bool ReadSlashDate(std::string_view text, GameRecord& record) {
  int value[3] = {0, 0, 0};
  const std::size_t digits[3] = {4, 2, 2};
  std::size_t at = 0;
  for (int part = 0; part < 3; ++part) {
    if (part > 0 && (at >= text.size() || text[at++] != '/')) return false;
    std::size_t n = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && n < digits[part]) {
      value[part] = value[part] * 10 + (text[at++] - '0');
      ++n;
    }
    if (n == 0) return false;
  }
  if (value[1] < 1 || value[1] > 12 || value[2] < 1 || value[2] > 31) return false;
  record.Year = value[0];
  record.Month = value[1];
  record.Day = value[2];
  return true;
}

void PrepareRecordForReading(const GameRecord& current, GameRecord& scratch) {
  scratch = current;
  scratch.InitialPosition = kInitialPosition;
  scratch.StartIndex = 0;
  scratch.PlyCount = 0;
  for (MoveCode& m : scratch.MoveList) m = MoveCode{};
  std::memset(scratch.MoveTimes, 0, sizeof scratch.MoveTimes);
  scratch.Clocks[0] = scratch.Clocks[1] = 0;
  scratch.ResultCode = kResultNone;
  std::memset(scratch.FirstName, 0, sizeof scratch.FirstName);
  std::memset(scratch.SecondName, 0, sizeof scratch.SecondName);
  std::memset(scratch.Tournament, 0, sizeof scratch.Tournament);
  std::memset(scratch.Opening, 0, sizeof scratch.Opening);
  scratch.Year = scratch.Month = scratch.Day = 0;
}

bool HoldsNoGame(const GameRecord& r) {
  return r.StartIndex == 0 && r.InitialPosition == kInitialPosition && IsEndMarker(r.MoveList[0]) &&
         r.ResultCode == kResultNone && FieldText(r.FirstName).empty() &&
         FieldText(r.SecondName).empty();
}

int WritableMoveCount(const GameRecord& record) {
  int i = record.StartIndex;
  while (i < kMaxMoves && !IsEndMarker(record.MoveList[i]) && IsWellFormedMove(record.MoveList[i]))
    ++i;
  return i - record.StartIndex;
}

int OpenRecordFile(const std::string& path, FileByteStream& file, std::string& message) {
  if (file.Open(path)) return 0;
  message = kMessageFileMissing;
  return 1;
}

int ReadRecordPath(const std::string& path, RecordStreamReader read, GameRecord& record,
                   std::string& message) {
  FileByteStream file;
  if (OpenRecordFile(path, file, message) != 0) return 1;
  return read(file, record, message);
}

int WriteRecordFile(const std::string& path, std::string_view bytes, std::string& message) {
  if (WriteFileReplacing(path, bytes)) return 0;
  message = kMessageCannotCreate;
  return 1;
}

const char* UrlFailureMessage(DownloadState state) {
  return state == DownloadState::kTimedOut ? kMessageUrlTimedOut : kMessageUrlMissing;
}

}  // namespace shogi
