// The registered engines and their profile entries.
#include "players/engine_list.h"

namespace shogi {
namespace {

std::string Key(const char* what, int n) {
  return std::string(what) + std::to_string(n);
}

std::string Key(const char* what, int n, int m) {
  return Key(what, n) + "." + std::to_string(m);
}

const UsiOptionOffer* FindOffer(const EngineEntry& entry, const std::string& name) {
  for (const UsiOptionOffer& offer : entry.Offered) {
    if (offer.Name == name) return &offer;
  }
  return nullptr;
}

// An offered option is kept in the profile as the line the engine sent for it.
std::string OptionLine(const UsiOptionOffer& offer) {
  static const char* const kTypeNames[] = {"check",  "spin",   "combo",
                                           "button", "string", "filename"};
  std::string line =
      "option name " + offer.Name + " type " + kTypeNames[static_cast<int>(offer.Kind)];
  if (offer.Kind == UsiOptionOffer::Type::kButton) return line;
  line += " default " + (offer.Default.empty() ? std::string("<empty>") : offer.Default);
  if (offer.Kind == UsiOptionOffer::Type::kSpin) {
    line += " min " + std::to_string(offer.Min) + " max " + std::to_string(offer.Max);
  }
  for (const std::string& choice : offer.Choices) line += " var " + choice;
  return line;
}

}  // namespace

int ProbeEngine(const std::string& command, const UsiEngine::Limits& limits, EngineEntry& entry,
                std::string& message) {
  UsiEngine engine;
  engine.SetLimits(limits);
  if (engine.Start(command, {}, message) != 0) return 1;
  entry = EngineEntry{};
  entry.Command = command;
  entry.Name = engine.Name().empty() ? command : engine.Name();
  entry.Offered = engine.Options();
  engine.Quit();
  return 0;
}

EngineList LoadEngineList(const Profile& profile) {
  EngineList list;
  const int count = profile.GetInt(kEngineSection, "Count", 0);
  for (int n = 1; n <= count && n <= kMaxEngines; ++n) {
    EngineEntry e;
    e.Command = profile.GetString(kEngineSection, Key("Command", n), "");
    if (e.Command.empty()) continue;
    e.Name = profile.GetString(kEngineSection, Key("Name", n), e.Command);
    if (!ParseEngineByoyomi(std::to_string(profile.GetInt(kEngineSection, Key("Byoyomi", n),
                                                          kDefaultEngineByoyomi)),
                            e.ByoyomiSeconds)) {
      e.ByoyomiSeconds = kDefaultEngineByoyomi;
    }
    const int offered = profile.GetInt(kEngineSection, Key("Options", n), 0);
    for (int m = 1; m <= offered && m <= 1000; ++m) {
      UsiOptionOffer offer;
      if (ParseUsiOptionLine(profile.GetString(kEngineSection, Key("Option", n, m), ""), offer)) {
        e.Offered.push_back(offer);
      }
    }
    const int values = profile.GetInt(kEngineSection, Key("Values", n), 0);
    for (int m = 1; m <= values && m <= 1000; ++m) {
      UsiOption value;
      if (ParseUsiOption(profile.GetString(kEngineSection, Key("Value", n, m), ""), value)) {
        e.Values.push_back(value);
      }
    }
    list.push_back(std::move(e));
  }
  return list;
}

bool SaveEngineList(Profile& profile, const EngineList& list) {
  bool ok = profile.WriteInt(kEngineSection, "Count", static_cast<int>(list.size()));
  for (std::size_t i = 0; i < list.size(); ++i) {
    const EngineEntry& e = list[i];
    const int n = static_cast<int>(i) + 1;
    ok = profile.WriteString(kEngineSection, Key("Command", n), e.Command) && ok;
    ok = profile.WriteString(kEngineSection, Key("Name", n), e.Name) && ok;
    ok = profile.WriteInt(kEngineSection, Key("Byoyomi", n), e.ByoyomiSeconds) && ok;
    ok = profile.WriteInt(kEngineSection, Key("Options", n), static_cast<int>(e.Offered.size())) &&
         ok;
    for (std::size_t m = 0; m < e.Offered.size(); ++m) {
      ok = profile.WriteString(kEngineSection, Key("Option", n, static_cast<int>(m) + 1),
                               OptionLine(e.Offered[m])) &&
           ok;
    }
    ok =
        profile.WriteInt(kEngineSection, Key("Values", n), static_cast<int>(e.Values.size())) && ok;
    for (std::size_t m = 0; m < e.Values.size(); ++m) {
      ok = profile.WriteString(kEngineSection, Key("Value", n, static_cast<int>(m) + 1),
                               e.Values[m].Name + "=" + e.Values[m].Value) &&
           ok;
    }
  }
  return ok;
}

std::string EngineOptionValue(const EngineEntry& entry, const UsiOptionOffer& offer) {
  for (const UsiOption& o : entry.Values) {
    if (o.Name == offer.Name) return o.Value;
  }
  return offer.Default;
}

int CheckEngineOptionValue(const UsiOptionOffer& offer, const std::string& value,
                           std::string& message) {
  switch (offer.Kind) {
    case UsiOptionOffer::Type::kSpin: {
      int n = 0;
      if (!ParseProfileInt(value, n) || n < offer.Min || n > offer.Max) {
        message = offer.Name + ": " + std::to_string(offer.Min) + "～" + std::to_string(offer.Max) +
                  "の範囲で設定してください。";
        return 1;
      }
      return 0;
    }
    case UsiOptionOffer::Type::kCheck:
      if (value == "true" || value == "false") return 0;
      message = offer.Name + ": true か false を設定してください。";
      return 1;
    case UsiOptionOffer::Type::kCombo:
      for (const std::string& choice : offer.Choices) {
        if (value == choice) return 0;
      }
      message = offer.Name + ": 一覧から選んでください。";
      return 1;
    case UsiOptionOffer::Type::kButton:
    case UsiOptionOffer::Type::kString:
    case UsiOptionOffer::Type::kFilename:
      break;
  }
  return 0;
}

void SetEngineOptionValue(EngineEntry& entry, const std::string& name, const std::string& value) {
  for (UsiOption& o : entry.Values) {
    if (o.Name == name) {
      o.Value = value;
      return;
    }
  }
  entry.Values.push_back({name, value});
}

std::vector<UsiOption> EngineStartOptions(const EngineEntry& entry) {
  std::vector<UsiOption> out;
  for (const UsiOption& o : entry.Values) {
    const UsiOptionOffer* offer = FindOffer(entry, o.Name);
    if (offer && offer->Kind == UsiOptionOffer::Type::kButton) {
      out.push_back({o.Name, ""});
    } else {
      out.push_back({o.Name, o.Value.empty() ? std::string("<empty>") : o.Value});
    }
  }
  return out;
}

bool ParseEngineByoyomi(const std::string& text, int& seconds) {
  int n = 0;
  if (!ParseProfileInt(text, n) || n < 1 || n > kMaxEngineByoyomi) return false;
  seconds = n;
  return true;
}

}  // namespace shogi
