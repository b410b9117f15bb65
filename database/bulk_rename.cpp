// The bulk changes: the index copied record by record with the field replaced.
#include "database/bulk_rename.h"

#include <cstring>
#include <functional>
#include <tuple>

#include "database/game_database.h"
#include "database_files/little_endian.h"
#include "database_files/tarvel.h"
#include "platform/cp932.h"
#include "platform/message_pump.h"

namespace shogi {
namespace {

// A number typed into the dialog: decimal digits only, at most 9 of them; -1 for any other
// text.
int TypedNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return -1;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// Rewrites the index of the database at `paths` with `replace` applied to every record
// (it returns how many changes it made there).
int RewriteIndex(const DatabaseFormat& format, const DatabasePaths& paths,
                 const CommandHooks& hooks, const std::function<int(std::uint8_t*)>& replace,
                 int& changed, std::string& message) {
  changed = 0;
  hooks.Show(kStatusRenaming);
  GameDatabase db;
  std::string ignored;
  std::uint8_t record[kMaxIndexRecordBytes];
  if (db.Open(format, paths, RecordFile::Mode::kRead, ignored) != 0 || !db.ReadIndex(0, record)) {
    message = kMessageCannotAccess;
    return 1;
  }
  DatabaseRewrite rewrite;
  if (!rewrite.Begin(format, paths, DatabaseRewrite::Files::kIndexOnly) ||
      !rewrite.Header(record, static_cast<std::uint32_t>(db.Count()))) {
    message = kMessageRenameCannotCreate;
    return 1;
  }
  for (int n = 1; n <= db.Count(); ++n) {
    if (!db.ReadIndex(n, record)) {
      message = kMessageCannotAccess;
      return 1;
    }
    changed += replace(record);
    if (!rewrite.Record(record)) {
      message = kMessageRenameCannotCreate;
      return 1;
    }
    PumpMessages();
  }
  if (changed == 0) {  // the staged index goes with `rewrite`
    message = kMessageNoneMatched;
    return 1;
  }
  db.Close();
  if (!rewrite.Commit()) {
    message = kMessageRenameCannotCreate;
    return 1;
  }
  message = Printed(kMessageChanged, changed);
  return 0;
}

}  // namespace

const ListNumberFields& RenamedFields(const DatabaseFormat& format, RenamedList list) {
  switch (list) {
    case RenamedList::kPlayers:
      return format.PlayerNumbers;
    case RenamedList::kTournaments:
      return format.TournamentNumbers;
    case RenamedList::kOpenings:
      break;
  }
  return format.OpeningNumbers;
}

RenameInput CheckRenameNumbers(std::string_view old_text, std::string_view new_text, int highest,
                               int& old_number, int& new_number, std::string& message,
                               std::string& caption) {
  const int typed_old = TypedNumber(old_text), typed_new = TypedNumber(new_text);
  for (const auto& [typed, field, name] :
       {std::tuple{typed_old, RenameInput::kOldNumber, kCaptionOldNumber},
        std::tuple{typed_new, RenameInput::kNewNumber, kCaptionNewNumber}}) {
    if (typed < 0 || typed > highest) {
      message = Printed(kMessageNumberRange, highest);
      caption = name;
      return field;
    }
  }
  if (typed_old == typed_new) {
    message = kMessageNothingToChange;
    caption.clear();
    return RenameInput::kOldNumber;
  }
  old_number = typed_old;
  new_number = typed_new;
  return RenameInput::kAccepted;
}

int RenameNumbers(const DatabaseFormat& format, const DatabasePaths& paths, RenamedList list,
                  int old_number, int new_number, const CommandHooks& hooks, int& changed,
                  std::string& message) {
  changed = 0;
  if (old_number == new_number) {
    message = kMessageNothingToChange;
    return 1;
  }
  const ListNumberFields& fields = RenamedFields(format, list);
  return RewriteIndex(
      format, paths, hooks,
      [&](std::uint8_t* record) {
        int replaced = 0;
        for (int offset : fields.Offsets) {
          if (offset < 0) continue;
          Le16 field;
          std::memcpy(field.Bytes, record + offset, 2);
          if (field.Get() != old_number) continue;
          field.Set(new_number);
          std::memcpy(record + offset, field.Bytes, 2);
          ++replaced;
        }
        return replaced;
      },
      changed, message);
}

int RenamePlayerNames(const DatabaseFormat& format, const DatabasePaths& paths,
                      std::string_view old_name, std::string_view new_name,
                      const CommandHooks& hooks, int& changed, std::string& message) {
  changed = 0;
  if (old_name == new_name) {
    message = kMessageNothingToChange;
    return 1;
  }
  const std::string_view old_stored =
      old_name.substr(0, Cp932CutLength(old_name, kTarvelNameBytes));
  return RewriteIndex(
      format, paths, hooks,
      [&](std::uint8_t* record) {
        bool replaced = false;
        for (int offset : format.PlayerNameOffsets) {
          if (offset < 0) continue;
          char* field = reinterpret_cast<char*>(record + offset);
          if (std::string_view(field, strnlen(field, kTarvelNameBytes)) != old_stored) continue;
          SetTarvelName(field, new_name);
          replaced = true;
        }
        return replaced ? 1 : 0;
      },
      changed, message);
}

}  // namespace shogi
