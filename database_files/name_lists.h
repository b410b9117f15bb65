// The name-list files of the program folder: players, tournaments and openings, one entry a
// line, cp932. The databases turn list numbers into names through tables built from them
// and names into numbers through the two lookups; the dialogs fill their lists from them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace shogi {

// The dialogs read list lines of at most this many bytes, the databases of this many (a
// line buffer of 100 and of 80 bytes with its terminator).
constexpr std::size_t kDialogListLineBytes = 99;
constexpr std::size_t kListLineBytes = 79;

// Cuts `text` (cp932) at a line feed and after its last character that is neither an ASCII
// space nor a full-width space "　". Two-byte characters are stepped over whole, so a trail
// byte that looks like a space is never taken for one.
std::string TrimRight(std::string_view text);

// `text` (cp932) without any ASCII space or full-width space, up to a line feed.
std::string SqueezeSpaces(std::string_view text);

// Whether SqueezeSpaces(text) equals `squeezed`, without building the squeezed text (the
// search compares every record's names this way).
bool SqueezedEquals(std::string_view text, std::string_view squeezed);

// The number at the start of a list line as C's atoi reads it: leading white space, an
// optional sign, decimal digits; 0 when there are none. Saturates instead of overflowing.
int ListNumber(std::string_view line);

// Every line of the cp932 text file at `path`, without its line end (LF, or CR LF), each cut
// to `max_bytes` bytes without splitting a two-byte character; the rest of a longer line is
// dropped. False when the file cannot be opened.
[[nodiscard]] bool ReadListLines(const std::string& path, std::size_t max_bytes,
                                 std::vector<std::string>& lines);

// The entries of a list file as the dialogs show them: each line from byte `name_column`
// on, TrimRight applied, empty entries left out; lines beginning with `skip_prefix` (when
// not 0) are ignored. False when the file cannot be opened.
[[nodiscard]] bool ReadListEntries(const std::string& path, std::size_t name_column,
                                   char skip_prefix, std::vector<std::string>& entries);

// The six list files.
enum class NameList : int {
  kKisenPlayers,       // KSNAME.DAT: number, name from byte 6, numbers 0..999
  kKisenTournaments,   // KISEN.DAT: number, name from byte 3, 0..99; '+' lines are not entries
  kKisenOpenings,      // SENKEI.DAT, else SENKEI/SENKEI.DAT: number, name from byte 4, 0..99
  kTarvelPlayers,      // 棋士名.DAT: the whole line is a name (the dialogs' list only)
  kTarvelTournaments,  // 棋戦.DAT: number, name from byte 3, 1..99
  kTarvelOpenings,     // 戦型.DAT: number, name from byte 4, 1..99
};

// The path of the program's file `utf8_name` (a name written in these sources) in `folder`,
// which ends in a separator: the name as the file system spells it.
std::string FolderFilePath(const std::string& folder, const char* utf8_name);

// The path of list `list` in `folder` (which ends in a separator). The Kisen openings are
// SENKEI.DAT, or SENKEI/SENKEI.DAT when only that one exists. This is also the file the
// menus' 棋士名変更, 棋戦名変更 and 戦型名変更 items open in the text editor.
std::string NameListPath(const std::string& folder, NameList list);

// One numbered line of a list: its number, the text from the name column with TrimRight
// applied, and that text with SqueezeSpaces applied (what the lookups compare).
struct NameEntry {
  int Number = 0;
  std::string Text;
  std::string Squeezed;
};

// The numbered entries of list `list` in `folder`, in file order: lines with a number
// outside the list's range, and '+' lines of KISEN.DAT, are left out. Lines are read with
// `line_bytes` at most (the dialogs read longer lines than the databases). A missing file
// gives no entries (false); nothing is reported, as the names then read as blanks.
bool ReadNameEntries(const std::string& folder, NameList list, std::vector<NameEntry>& entries,
                     std::size_t line_bytes = kListLineBytes);

// The names a dialog's combo box offers from list `list` in `folder`: the text from the
// list's name column of every line, TrimRight applied, empty names left out; lines of a
// tournament list that begin with '+' are no names. A missing file gives none.
std::vector<std::string> DialogListNames(const std::string& folder, NameList list);

// `KisenNameLookup`: the number of the first entry (file order, numbers 1..`highest`) whose
// squeezed text is not empty and occurs in the squeezed `name` starting at a character
// boundary; 0 when none does or the squeezed name is empty. Kisen registration looks up
// players with highest 999, tournaments and openings with 30.
int KisenNameLookup(const std::vector<NameEntry>& entries, std::string_view name, int highest);

// Exact lookup: the number of the first entry (file order, numbers 1..`highest`) whose
// squeezed text equals the squeezed `name` byte for byte; 0 when the squeezed name is empty
// or no entry equals it.
int ExactNameLookup(const std::vector<NameEntry>& entries, std::string_view name, int highest);

// How a table of names by number is built from a list.
struct NameTableShape {
  int Entries;            // numbers 0..Entries-1
  std::size_t TextLimit;  // bytes kept of each name, never splitting a two-byte character
  const char* Default;    // the name of a number without a line
};

// The tables the databases read with (listing and search keep their own specs).
inline constexpr NameTableShape kKisenPlayerTable = {1000, 12, "            "};
inline constexpr NameTableShape kKisenTournamentTable = {100, 14, "              "};
inline constexpr NameTableShape kKisenOpeningTable = {100, 14, "              "};
inline constexpr NameTableShape kTarvelTournamentTable = {100, 16, ""};
inline constexpr NameTableShape kTarvelOpeningTable = {100, 14, ""};

// Names by number. A number outside the table, or without a line, gives the default.
class NameTable {
 public:
  NameTable() = default;
  NameTable(const std::vector<NameEntry>& entries, const NameTableShape& offer);

  const std::string& operator[](int number) const;

 private:
  std::vector<std::string> names_;  // every number of the table, the default where unlisted
  std::string default_;
};

// The dialog lists, from the first of their files that exists in `folder` (which ends in a
// separator): players from 棋士名.DAT, else KSNAME.DAT from byte 6; tournaments from
// 棋戦.DAT, else KISEN.DAT, from byte 3, skipping lines that begin with "+"; openings from
// 戦型.DAT, else SENKEI.DAT, else SENKEI/SENKEI.DAT, from byte 4. A list none of whose files
// exist stays empty.
std::vector<std::string> LoadPlayerNames(const std::string& folder);
std::vector<std::string> LoadTournamentNames(const std::string& folder);
std::vector<std::string> LoadOpeningNames(const std::string& folder);

}  // namespace shogi
