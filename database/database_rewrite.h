// Rewriting a database's files whole — the sort, the merges, deleting a game, swapping two,
// the bulk changes, the yearbook import and removing a database — so that neither a failed
// write nor a crash can lose the database or leave its two files out of step.
//
// The new index and move files are written complete into a staging folder beside the index
// ("<index file>-rewrite", e.g. "games.IDX-rewrite") and flushed to the disk; an empty mark
// file made in that folder then commits the rewrite, and the new move file and the new index
// are renamed over the old ones, in that order (see platform/file_transaction.h). A crash
// before the mark leaves the old pair untouched; a crash after it leaves a mark that
// RecoverDatabase finds: it finishes the renames, so the pair is the new one. Every path
// that opens a database (GameDatabase::Open, ProbeDatabase, CreateDatabase) recovers first,
// so no reader ever sees one new file beside one old one, and every rewrite starts from a
// finished state. A staging file that cannot be made or written leaves the old files as
// they were, and the command reports "ファイルが作成できません。".
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "database/game_database.h"
#include "database_files/database_format.h"
#include "platform/file_transaction.h"

namespace shogi {

// What a long database command tells the window: a progress word for the status bar (UTF-8)
// while it runs, and the yes/no question it asks before it writes. Empty functions show
// nothing and answer yes (the command-line tool). Window messages are pumped once per record
// through platform/message_pump.h.
struct CommandHooks {
  std::function<void(const char* word)> Status;
  std::function<bool(const std::string& question)> Ask;

  void Show(const char* word) const {
    if (Status) Status(word);
  }
  bool Confirmed(const std::string& question) const { return !Ask || Ask(question); }
};

// A message or question with its numbers (or text) filled in, printf-style.
template <class... Args>
std::string Printed(const char* format, Args... args) {
  const int size = std::snprintf(nullptr, 0, format, args...);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  std::snprintf(text.data(), text.size() + 1, format, args...);
  return text;
}

// The staging folder of the rewrites of the database at `paths`.
std::string RewriteStagingPath(const DatabaseFormat& format, const DatabasePaths& paths);

// Finishes (or, before its mark, throws away) a rewrite of the database that a crash cut
// short. 0; or 1 with "ファイルに異常があります。" when that cannot be done.
[[nodiscard]] int RecoverDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                                  std::string& message);

// A new index (and move file) being written in place of a database's files.
class DatabaseRewrite {
 public:
  // kIndexOnly leaves the move file alone; kNone writes nothing (a removal).
  enum class Files { kPair, kIndexOnly, kNone };

  // Starts the new files; false when the staging files cannot be made (the index's is made
  // first: IndexStaged tells which one failed).
  [[nodiscard]] bool Begin(const DatabaseFormat& format, const DatabasePaths& paths,
                           Files files = Files::kPair);
  bool IndexStaged() const { return index_staged_; }
  // The header: the bytes of `old_header` (nullptr: zeros) with all four count bytes set to
  // `count`, so that bytes 2-3 that a Kisen 16-bit count ignored come out zero.
  [[nodiscard]] bool Header(const std::uint8_t* old_header, std::uint32_t count);
  // Appends one index record / one move block.
  [[nodiscard]] bool Record(const std::uint8_t* record);
  [[nodiscard]] bool Block(const std::uint8_t* block);
  // Writes the count into the header again, for a count known only at the end.
  [[nodiscard]] bool SetCount(std::uint32_t count);
  // Replaces the database's files with the new ones; false (old files kept) on a failure.
  [[nodiscard]] bool Commit();
  // Removes the database's two files together (begun with Files::kNone).
  [[nodiscard]] bool RemoveDatabase();

 private:
  const DatabaseFormat* format_ = nullptr;
  std::optional<FileTransaction> transaction_;
  bool index_staged_ = false;
};

// Appends games first..last of `from` (records and blocks) to `to`, pumping messages once
// per game. 0; or 1 with "ファイルに異常があります。" (a game that cannot be read) or
// "ファイルが作成できません。".
[[nodiscard]] int CopyGames(const GameDatabase& from, int first, int last, DatabaseRewrite& to,
                            std::string& message);

// Whether two database paths name the same files (either file; the files' identity, not
// their names, is compared).
bool SameDatabase(const DatabaseFormat& format, const DatabasePaths& a, const DatabasePaths& b);

// The count header of a new index with `count` games (bytes 0-3) over `old_header`'s other
// bytes (nullptr: zeros), into `header` (format.IndexRecordBytes bytes).
void RewrittenHeader(const DatabaseFormat& format, const std::uint8_t* old_header,
                     std::uint32_t count, std::uint8_t* header);

}  // namespace shogi
