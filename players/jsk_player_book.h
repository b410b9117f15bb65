// The .JSK opening book as the in-process computer player reads it: the book file the
// settings name (定跡), read whole on the first lookup and again when the name, the size or
// the time of the file changes (定跡ファイル, Tarvel->定跡).
#pragma once

#include <cstdint>
#include <string>

#include "analysis/player_book.h"
#include "database/jsk_book.h"

namespace shogi {

class JskPlayerBook : public player::OpeningBook {
 public:
  // `path` is read at every lookup; the caller keeps it alive.
  explicit JskPlayerBook(const std::string* path) : path_(path) {}

  // The records of the current file; 0 when it cannot be opened or holds none.
  int RecordCount() override;
  bool ReadRecord(int index, player::BookRecord& record) override;

 private:
  const std::string* path_;
  std::string loaded_path_;
  std::uintmax_t loaded_size_ = 0;
  std::int64_t loaded_time_ = 0;
  bool loaded_ = false;
  JskBook book_;
};

}  // namespace shogi
