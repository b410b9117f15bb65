// The computer player's view of the .JSK book.
#include "players/jsk_player_book.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/file_path.h"

namespace shogi {

int JskPlayerBook::RecordCount() {
  std::error_code error;
  const std::filesystem::path file = FilePath(*path_);
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  const std::int64_t time =
      error ? 0 : std::filesystem::last_write_time(file, error).time_since_epoch().count();
  if (error) {
    loaded_ = false;
    book_ = JskBook();
    return 0;
  }
  if (!loaded_ || loaded_path_ != *path_ || loaded_size_ != size || loaded_time_ != time) {
    std::string message;
    loaded_ = true;
    loaded_path_ = *path_;
    loaded_size_ = size;
    loaded_time_ = time;
    (void)book_.Open(*path_, message);  // a book that cannot be read holds no records
  }
  return book_.Count();
}

bool JskPlayerBook::ReadRecord(int index, player::BookRecord& record) {
  if (index < 0 || index >= book_.Count()) return false;
  static_assert(sizeof(record.Slots) == sizeof(JskRecord::Slots));
  std::memcpy(record.Slots, book_.Record(index + 1).Slots, sizeof(record.Slots));
  return true;
}

}  // namespace shogi
