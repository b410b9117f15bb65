// The name-list files of the program folder as the game-conditions dialog reads them:
// players, tournaments and openings, one entry a line, cp932.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace shogi {

// The dialogs read list lines of at most this many bytes.
constexpr std::size_t kDialogListLineBytes = 99;

// Cuts `text` (cp932) at a line feed and after its last character that is neither an ASCII
// space nor a full-width space "　". Two-byte characters are stepped over whole, so a trail
// byte that looks like a space is never taken for one.
std::string TrimRight(std::string_view text);

// Every line of the cp932 text file at `path`, without its line end (LF, or CR LF), each cut
// to `max_bytes` bytes without splitting a two-byte character. False when the file cannot
// be opened.
[[nodiscard]] bool ReadListLines(const std::string& path, std::size_t max_bytes,
                                 std::vector<std::string>& lines);

// The entries of a list file: each line from byte `name_column` on, TrimRight applied,
// empty entries left out; lines beginning with `skip_prefix` (when not 0) are ignored.
// False when the file cannot be opened.
[[nodiscard]] bool ReadListEntries(const std::string& path, std::size_t name_column,
                                   char skip_prefix, std::vector<std::string>& entries);

// The dialog lists, from the first of their files that exists in `folder` (which ends in a
// separator): players from 棋士名.DAT, else KSNAME.DAT from byte 6; tournaments from
// 棋戦.DAT, else KISEN.DAT, from byte 3, skipping lines that begin with "+"; openings from
// 戦型.DAT, else SENKEI.DAT, else SENKEI/SENKEI.DAT, from byte 4. A list none of whose files
// exist stays empty.
std::vector<std::string> LoadPlayerNames(const std::string& folder);
std::vector<std::string> LoadTournamentNames(const std::string& folder);
std::vector<std::string> LoadOpeningNames(const std::string& folder);

}  // namespace shogi
