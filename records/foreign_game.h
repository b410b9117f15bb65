// What the readers of other programs' records share: the game a reader builds up move by
// move through the common check, times, the result of a resignation by the side to move,
// and the KIF-like move text that many of those programs write.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/byte_stream.h"
#include "records/notation.h"
#include "rules/game_record.h"

namespace shogi {

// A record being read: a scratch copy of the caller's record from the even game, StartIndex
// 0, that the reader fills and installs only when the whole file was read.
class ForeignGame {
 public:
  ForeignGame(const GameRecord& current, int move_limit);
  ForeignGame(const ForeignGame&) = delete;
  ForeignGame& operator=(const ForeignGame&) = delete;

  // The position before the next move, and the side that plays it.
  const Position& Pos() const { return pos_; }
  Side ToMove() const { return SideOfPly(index_); }
  int MoveCount() const { return index_ - r_.StartIndex; }
  // The destination of the last move, for "同" (0 before the first move).
  int PreviousDestination() const { return previous_; }
  // Whether the reader's limit of moves is reached: the reader stops there.
  bool Full() const { return MoveCount() >= limit_; }

  // Adds a move of the side to move, without a promotion mark on a piece that is promoted
  // already (WithoutRedundantMark); false, with nothing added, when the move cannot be
  // played (IsPlayableMove) or the limit is reached.
  [[nodiscard]] bool Add(MoveCode m);
  // The same for a KI2 token (with or without its side mark), resolved in the position.
  [[nodiscard]] bool AddKi2(std::string_view token);

  // The time of the last move: the seconds it took, added to the mover's previous
  // cumulative time; or the mover's cumulative time itself. Capped below 100 hours.
  void AddSpentSeconds(long seconds);
  void SetCumulativeSeconds(long seconds);

  // The side to move resigned (or was mated): the other side won.
  void EndByResignation();
  void SetResult(int result_code) { r_.ResultCode = result_code; }
  void SetName(Side side, std::string_view name);
  // Takes a name line: the text after `sente_label` or `gote_label` as that side's name.
  void TakeNameLine(std::string_view line, std::string_view sente_label,
                    std::string_view gote_label);

  GameRecord& Record() { return r_; }

  // Installs the record read (PlyCount at StartIndex) into `record`: 0. A game without a
  // single move is what a reader makes of a file of another format (a name or an end word
  // it shares with its own format at most): 1 with "ファイルに異常があります。" and `record`
  // untouched.
  [[nodiscard]] int Install(GameRecord& record, std::string& message);

 private:
  GameRecord r_;
  Position pos_;
  int index_ = 0;
  int previous_ = 0;
  const int limit_;
};

// Reads a KIF-like move at byte `at` of `line`: the destination (file digit and rank
// numeral, or "同" with an optional full-width space for the previous destination), the
// piece name ("成" before it for 成香 成桂 成銀), then "成", "不成" or "打", then the origin
// as "(" file rank ")" in ASCII digits: right after the words (spaces skipped), or at byte
// `origin_at` when that is given. The rank may also be a full-width digit. False when the
// text is no such move or the piece named does not stand on the origin in `pos`.
[[nodiscard]] bool ReadKifLikeMove(std::string_view line, std::size_t at, const Position& pos,
                                   int previous, MoveCode& move,
                                   std::size_t origin_at = std::string_view::npos);

// Whether the text at byte `at` begins as a KIF-like move does (a file digit or "同"), so
// that a line that cannot be read as one is a damaged move rather than another line.
bool BeginsKifLikeMove(std::string_view line, std::size_t at);

// The seconds of "h:mm:ss" or "mm:ss" at the front of `text`, or of plain digits; -1 when
// there is no number.
long ReadClockSeconds(std::string_view text);

// The whole of a file of fixed records, up to `max_bytes`: false when it is longer or the
// stream failed.
[[nodiscard]] bool ReadAllBytes(ByteStream& stream, std::string& bytes, std::size_t max_bytes);

// Whether `line` holds `text` at byte `at`.
bool HasAt(std::string_view line, std::size_t at, std::string_view text);

// What a line of a record was to its reader: not the reader's, a line of the format that
// is no move (a header the file is known by), a move, the end of the game, or damage.
enum class LineTaken { kOther, kFormat, kMove, kEnd, kMalformed };

// The reader of a text file that begins with a fixed preamble of `preamble_bytes` bytes
// (none when 0) and then holds lines (at most 255 bytes, ending at a line feed): `take`
// is given each line and adds its moves to `game`; reading stops at an end, when the game
// is full, or at damage (the file is malformed; so is a line of moves longer than the limit).
// `preamble` receives the preamble's bytes. The read succeeds, installing the game into
// `record`, when some line was of the format and the game has a move (ForeignGame::Install).
[[nodiscard]] int ReadRecordLines(ByteStream& stream, std::size_t preamble_bytes,
                                  std::string& preamble, ForeignGame& game,
                                  const std::function<LineTaken(std::string_view)>& take,
                                  GameRecord& record, std::string& message);

// Reads the tokens of a line of KI2 moves ("▲７六歩△３四歩"; gote's mark `gote_mark`) into
// `game`: a token "投了" or "詰み" ends the game by resignation, "中断" with no result. A
// token that is no playable move is damage; a line without a mark is not the reader's.
LineTaken TakeKi2Line(std::string_view line, ForeignGame& game, Kanji gote_mark);

// A KIF-like move of a numbered line at byte `at` added to the game, or the line's end word
// "まで" / "投了" at byte `end_at` (the side to move resigned).
LineTaken TakeKifLikeLine(std::string_view line, std::size_t at, std::size_t end_at,
                          ForeignGame& game);

}  // namespace shogi
