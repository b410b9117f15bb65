// Reading the name-list files.
#include "shell/name_lists.h"

#include <cstdio>
#include <initializer_list>

#include "platform/cp932.h"

namespace shogi {
namespace {

constexpr unsigned char kWideSpaceLead = 0x81, kWideSpaceTrail = 0x40;  // "　" in cp932

#ifdef _WIN32
constexpr const char* kSenkeiSubfolder = "SENKEI\\SENKEI.DAT";
#else
constexpr const char* kSenkeiSubfolder = "SENKEI/SENKEI.DAT";
#endif

// A list file's name as the file system spells it (cp932 on Windows, UTF-8 elsewhere).
std::string ListFileName(const char* utf8) {
#ifdef _WIN32
  return Cp932(utf8);
#else
  return utf8;
#endif
}

// The entries of the first file of `names` (in `folder`) that can be opened.
std::vector<std::string> FirstList(const std::string& folder,
                                   std::initializer_list<const char*> names,
                                   std::size_t name_column, char skip_prefix) {
  std::vector<std::string> entries;
  for (const char* name : names) {
    if (ReadListEntries(folder + ListFileName(name), name_column, skip_prefix, entries)) break;
  }
  return entries;
}

}  // namespace

std::string TrimRight(std::string_view text) {
  std::size_t newline = text.find('\n');
  if (newline != std::string_view::npos) text = text.substr(0, newline);
  std::size_t keep = 0;  // bytes up to the end of the last character that is not a space
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t width = IsCp932LeadByte(c) && i + 1 < text.size() ? 2 : 1;
    bool space = width == 1 ? c == ' '
                            : c == kWideSpaceLead &&
                                  static_cast<unsigned char>(text[i + 1]) == kWideSpaceTrail;
    i += width;
    if (!space) keep = i;
  }
  return std::string(text.substr(0, keep));
}

bool ReadListLines(const std::string& path, std::size_t max_bytes,
                   std::vector<std::string>& lines) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
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

std::vector<std::string> LoadPlayerNames(const std::string& folder) {
  std::vector<std::string> entries;
  if (ReadListEntries(folder + ListFileName("棋士名.DAT"), 0, 0, entries)) return entries;
  return FirstList(folder, {"KSNAME.DAT"}, 6, 0);
}

std::vector<std::string> LoadTournamentNames(const std::string& folder) {
  return FirstList(folder, {"棋戦.DAT", "KISEN.DAT"}, 3, '+');
}

std::vector<std::string> LoadOpeningNames(const std::string& folder) {
  return FirstList(folder, {"戦型.DAT", "SENKEI.DAT", kSenkeiSubfolder}, 4, 0);
}

}  // namespace shogi
