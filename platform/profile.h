// The per-user settings store: named sections of string and integer values with defaults,
// and an in-memory store for tests and for a run without a settings file.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace shogi {

// Sections and keys are UTF-8 ("ファイル名", "棋譜"). A value that is missing, or an integer
// that does not read as one, gives the caller's default.
class Profile {
 public:
  virtual ~Profile() = default;

  virtual std::string GetString(std::string_view section, std::string_view key,
                                std::string_view default_value) const = 0;
  virtual int GetInt(std::string_view section, std::string_view key, int default_value) const = 0;
  // False when the value could not be stored.
  virtual bool WriteString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
  virtual bool WriteInt(std::string_view section, std::string_view key, int value) = 0;
};

// Reads a whole decimal integer (optional sign, no trailing text, within int range).
[[nodiscard]] bool ParseProfileInt(std::string_view text, int& value);

// Keeps every value as text, as a settings file does.
class MemoryProfile : public Profile {
 public:
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view default_value) const override;
  int GetInt(std::string_view section, std::string_view key, int default_value) const override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;
  bool WriteInt(std::string_view section, std::string_view key, int value) override;

  bool Has(std::string_view section, std::string_view key) const;
  std::size_t Size() const { return values_.size(); }

 private:
  std::map<std::pair<std::string, std::string>, std::string, std::less<>> values_;
};

}  // namespace shogi
