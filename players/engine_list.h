// The outside USI engines the person has registered: each one's name, command, time per move
// and the option values set for it, kept in the profile; registering starts an engine once
// to read its name and the options it offers.
#pragma once

#include <string>
#include <vector>

#include "platform/profile.h"
#include "players/usi_engine.h"

namespace shogi {

inline constexpr const char* kEngineSection = "エンジン";
constexpr int kMaxEngines = 32;
constexpr int kDefaultEngineByoyomi = 5;  // seconds per move
constexpr int kMaxEngineByoyomi = 3600;

struct EngineEntry {
  std::string Name;     // the engine's "id name" (UTF-8)
  std::string Command;  // its executable's path, run as given
  int ByoyomiSeconds = kDefaultEngineByoyomi;
  std::vector<UsiOptionOffer> Offered;  // the options it offered
  std::vector<UsiOption> Values;        // the values set here, sent at every start
};

using EngineList = std::vector<EngineEntry>;

// Starts `command` once for its name and options, then quits it. Nonzero with a message
// when it does not speak USI within `limits`.
[[nodiscard]] int ProbeEngine(const std::string& command, const UsiEngine::Limits& limits,
                              EngineEntry& entry, std::string& message);

// The list kept in the profile (entries without a command are dropped, at most kMaxEngines).
EngineList LoadEngineList(const Profile& profile);
// False when the profile refused a value.
[[nodiscard]] bool SaveEngineList(Profile& profile, const EngineList& list);

// The value set for `name`, or the offered default.
std::string EngineOptionValue(const EngineEntry& entry, const UsiOptionOffer& offer);
// Checks a value typed for an option: a spin's whole number within min..max, a check's
// "true" or "false", one of a combo's choices. Nonzero with a message (UTF-8).
[[nodiscard]] int CheckEngineOptionValue(const UsiOptionOffer& offer, const std::string& value,
                                         std::string& message);
// Sets or replaces the value of `name`.
void SetEngineOptionValue(EngineEntry& entry, const std::string& name, const std::string& value);
// What the engine gets at its start: every value set here, an empty string as "<empty>"; a
// button set here is pressed (no value).
std::vector<UsiOption> EngineStartOptions(const EngineEntry& entry);

// The seconds per move a typed text gives: a whole number 1..kMaxEngineByoyomi.
[[nodiscard]] bool ParseEngineByoyomi(const std::string& text, int& seconds);

}  // namespace shogi
