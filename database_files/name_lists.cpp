// Reading the name-list files, the name tables and the two lookups.
#include "database_files/name_lists.h"

#include <climits>
#include <cstdio>
#include <initializer_list>

#include "platform/cp932.h"
#include "platform/file_path.h"

namespace shogi {
namespace {

constexpr unsigned char kWideSpaceLead = 0x81, kWideSpaceTrail = 0x40;  // "　" in cp932

#ifdef _WIN32
constexpr const char* kSenkeiSubfolder = "SENKEI\\SENKEI.DAT";
#else
constexpr const char* kSenkeiSubfolder = "SENKEI/SENKEI.DAT";
#endif

// How each list file is laid out, in the order of NameList.
struct ListLayout {
  const char* FileName;  // UTF-8
  std::size_t NameColumn;
  bool SkipPlusLines;
  int Lowest, Highest;  // the numbers a line may carry
  bool Tournaments;     // the dialogs offer no name of a line that begins with '+'
};
constexpr ListLayout kListLayouts[] = {
    {"KSNAME.DAT", 6, false, 0, 999, false}, {"KISEN.DAT", 3, true, 0, 99, true},
    {"SENKEI.DAT", 4, false, 0, 99, false},  {"棋士名.DAT", 0, false, 0, 0, false},
    {"棋戦.DAT", 3, false, 1, 99, true},     {"戦型.DAT", 4, false, 1, 99, false},
};

const ListLayout& LayoutOf(NameList list) {
  return kListLayouts[static_cast<int>(list)];
}

// The width of the character at `text[i]`: two bytes for a lead byte with a byte after it.
std::size_t CharacterWidth(std::string_view text, std::size_t i) {
  return IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

bool IsSpaceCharacter(std::string_view text, std::size_t i, std::size_t width) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  return width == 1
             ? c == ' '
             : c == kWideSpaceLead && static_cast<unsigned char>(text[i + 1]) == kWideSpaceTrail;
}

std::string_view UpToLineFeed(std::string_view text) {
  return text.substr(0, text.find('\n'));
}

// The dialog names of the first of `lists` whose file can be opened.
std::vector<std::string> FirstList(const std::string& folder,
                                   std::initializer_list<NameList> lists) {
  std::vector<std::string> entries;
  for (NameList list : lists) {
    const ListLayout& layout = LayoutOf(list);
    if (ReadListEntries(NameListPath(folder, list), layout.NameColumn, layout.Tournaments ? '+' : 0,
                        entries))
      break;
  }
  return entries;
}

}  // namespace

std::string TrimRight(std::string_view text) {
  text = UpToLineFeed(text);
  std::size_t keep = 0;  // bytes up to the end of the last character that is not a space
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = CharacterWidth(text, i);
    const bool space = IsSpaceCharacter(text, i, width);
    i += width;
    if (!space) keep = i;
  }
  return std::string(text.substr(0, keep));
}

// Calls `take(character)` for every character of `text` up to a line feed that is not a
// space; stops early when `take` returns false. Returns whether it went through.
template <class Take>
bool ForEachNonSpace(std::string_view text, Take take) {
  text = UpToLineFeed(text);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = CharacterWidth(text, i);
    if (!IsSpaceCharacter(text, i, width) && !take(text.substr(i, width))) return false;
    i += width;
  }
  return true;
}

std::string SqueezeSpaces(std::string_view text) {
  std::string out;
  ForEachNonSpace(text, [&](std::string_view c) {
    out.append(c);
    return true;
  });
  return out;
}

bool SqueezedEquals(std::string_view text, std::string_view squeezed) {
  std::size_t at = 0;
  return ForEachNonSpace(text,
                         [&](std::string_view c) {
                           if (squeezed.compare(at, c.size(), c) != 0) return false;
                           at += c.size();
                           return true;
                         }) &&
         at == squeezed.size();
}

int ListNumber(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || (line[i] >= '\t' && line[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
  long long value = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;  // saturated
  }
  if (negative) value = -value;
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

bool ReadListLines(const std::string& path, std::size_t max_bytes,
                   std::vector<std::string>& lines) {
  std::FILE* file = OpenFile(path, "rb");
  if (!file) return false;
  std::string line;
  auto finish = [&] {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line.resize(Cp932CutLength(line, max_bytes));
    lines.push_back(line);
    line.clear();
  };
  // A list is small; its size is still bounded so that a huge file cannot exhaust memory.
  constexpr std::size_t kMaxListBytes = 16u << 20;
  std::size_t total = 0;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 && total < kMaxListBytes) {
    total += n;
    for (std::size_t i = 0; i < n; ++i) {
      if (buffer[i] == '\n') {
        finish();
      } else if (line.size() <= max_bytes + 1) {  // the rest of an overlong line is dropped
        line.push_back(buffer[i]);
      }
    }
  }
  if (!line.empty()) finish();
  std::fclose(file);
  return true;
}

bool ReadListEntries(const std::string& path, std::size_t name_column, char skip_prefix,
                     std::vector<std::string>& entries) {
  std::vector<std::string> lines;
  if (!ReadListLines(path, kDialogListLineBytes, lines)) return false;
  for (const std::string& line : lines) {
    if (skip_prefix != 0 && !line.empty() && line[0] == skip_prefix) continue;
    if (line.size() <= name_column) continue;
    std::string entry = TrimRight(std::string_view(line).substr(name_column));
    if (!entry.empty()) entries.push_back(std::move(entry));
  }
  return true;
}

std::string FolderFilePath(const std::string& folder, const char* utf8_name) {
  return folder + utf8_name;  // paths are UTF-8 on every system
}

std::string NameListPath(const std::string& folder, NameList list) {
  const std::string path = FolderFilePath(folder, LayoutOf(list).FileName);
  if (list == NameList::kKisenOpenings && !FileOpensForReading(path)) {
    const std::string subfolder = folder + kSenkeiSubfolder;
    if (FileOpensForReading(subfolder)) return subfolder;
  }
  return path;
}

bool ReadNameEntries(const std::string& folder, NameList list, std::vector<NameEntry>& entries,
                     std::size_t line_bytes) {
  entries.clear();
  const ListLayout& layout = LayoutOf(list);
  std::vector<std::string> lines;
  if (!ReadListLines(NameListPath(folder, list), line_bytes, lines)) return false;
  for (const std::string& line : lines) {
    if (layout.SkipPlusLines && !line.empty() && line[0] == '+') continue;
    const int number = ListNumber(line);
    if (number < layout.Lowest || number > layout.Highest) continue;
    NameEntry entry;
    entry.Number = number;
    if (line.size() > layout.NameColumn)
      entry.Text = TrimRight(std::string_view(line).substr(layout.NameColumn));
    entry.Squeezed = SqueezeSpaces(entry.Text);
    entries.push_back(std::move(entry));
  }
  return true;
}

std::vector<std::string> DialogListNames(const std::string& folder, NameList list) {
  return FirstList(folder, {list});
}

int KisenNameLookup(const std::vector<NameEntry>& entries, std::string_view name, int highest) {
  const std::string squeezed = SqueezeSpaces(name);
  if (squeezed.empty()) return 0;
  for (const NameEntry& entry : entries) {
    if (entry.Number < 1 || entry.Number > highest || entry.Squeezed.empty()) continue;
    for (std::size_t i = 0; i < squeezed.size(); i += CharacterWidth(squeezed, i)) {
      if (squeezed.compare(i, entry.Squeezed.size(), entry.Squeezed) == 0) return entry.Number;
    }
  }
  return 0;
}

int ExactNameLookup(const std::vector<NameEntry>& entries, std::string_view name, int highest) {
  const std::string squeezed = SqueezeSpaces(name);
  if (squeezed.empty()) return 0;
  for (const NameEntry& entry : entries) {
    if (entry.Number >= 1 && entry.Number <= highest && entry.Squeezed == squeezed)
      return entry.Number;
  }
  return 0;
}

NameTable::NameTable(const std::vector<NameEntry>& entries, const NameTableShape& offer)
    : names_(static_cast<std::size_t>(offer.Entries), offer.Default), default_(offer.Default) {
  for (const NameEntry& entry : entries) {
    if (entry.Number < 0 || entry.Number >= offer.Entries) continue;
    names_[static_cast<std::size_t>(entry.Number)] =
        entry.Text.substr(0, Cp932CutLength(entry.Text, offer.TextLimit));
  }
}

const std::string& NameTable::operator[](int number) const {
  if (number < 0 || static_cast<std::size_t>(number) >= names_.size()) return default_;
  return names_[static_cast<std::size_t>(number)];
}

std::vector<std::string> LoadPlayerNames(const std::string& folder) {
  return FirstList(folder, {NameList::kTarvelPlayers, NameList::kKisenPlayers});
}

std::vector<std::string> LoadTournamentNames(const std::string& folder) {
  return FirstList(folder, {NameList::kTarvelTournaments, NameList::kKisenTournaments});
}

std::vector<std::string> LoadOpeningNames(const std::string& folder) {
  return FirstList(folder, {NameList::kTarvelOpenings, NameList::kKisenOpenings});
}

}  // namespace shogi
