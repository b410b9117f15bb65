// The in-memory settings store.
#include "platform/profile.h"

#include <charconv>

namespace shogi {

bool ParseProfileInt(std::string_view text, int& value) {
  if (text.empty()) return false;
  std::size_t start = text[0] == '+' ? 1 : 0;
  if (start == text.size()) return false;
  int parsed = 0;
  auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

std::string MemoryProfile::GetString(std::string_view section, std::string_view key,
                                     std::string_view default_value) const {
  auto it = values_.find(std::make_pair(std::string(section), std::string(key)));
  return it == values_.end() ? std::string(default_value) : it->second;
}

int MemoryProfile::GetInt(std::string_view section, std::string_view key, int default_value) const {
  auto it = values_.find(std::make_pair(std::string(section), std::string(key)));
  int value = default_value;
  if (it == values_.end() || !ParseProfileInt(it->second, value)) return default_value;
  return value;
}

bool MemoryProfile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
  values_[std::make_pair(std::string(section), std::string(key))] = std::string(value);
  return true;
}

bool MemoryProfile::WriteInt(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool MemoryProfile::Has(std::string_view section, std::string_view key) const {
  return values_.count(std::make_pair(std::string(section), std::string(key))) != 0;
}

}  // namespace shogi
