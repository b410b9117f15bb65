// The registered engines: probing an engine for its name and options, the profile round
// trip, the checks of typed option values and what an engine gets at its start.
#include "players/engine_list.h"
#include "tests/players/fake_engine.h"

#include <gtest/gtest.h>

namespace shogi {
namespace {

using test::FakeEngine;

TEST(EngineListTest, ProbedEngineSurvivesTheProfile) {
  EngineEntry entry;
  std::string message;
  ASSERT_EQ(ProbeEngine(FakeEngine("good"), {2, 1}, entry, message), 0) << message;
  EXPECT_EQ(entry.Name, "Fake Engine");
  ASSERT_EQ(entry.Offered.size(), 6u);
  EXPECT_NE(ProbeEngine(FakeEngine("mute"), {0.3, 0.3}, entry, message), 0);
  ASSERT_EQ(ProbeEngine(FakeEngine("good"), {2, 1}, entry, message), 0) << message;

  entry.ByoyomiSeconds = 12;
  SetEngineOptionValue(entry, "Skill", "7");
  SetEngineOptionValue(entry, "Book File", "");
  SetEngineOptionValue(entry, "Skill", "8");  // replaces
  EngineEntry other;
  other.Name = "二番目";
  other.Command = "/opt/other engine";
  MemoryProfile profile;
  ASSERT_TRUE(SaveEngineList(profile, {entry, other}));
  const EngineList list = LoadEngineList(profile);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Name, entry.Name);
  EXPECT_EQ(list[0].Command, entry.Command);
  EXPECT_EQ(list[0].ByoyomiSeconds, 12);
  ASSERT_EQ(list[0].Offered.size(), entry.Offered.size());
  for (std::size_t i = 0; i < entry.Offered.size(); ++i) {
    EXPECT_EQ(list[0].Offered[i].Name, entry.Offered[i].Name);
    EXPECT_EQ(list[0].Offered[i].Kind, entry.Offered[i].Kind);
    EXPECT_EQ(list[0].Offered[i].Default, entry.Offered[i].Default);
    EXPECT_EQ(list[0].Offered[i].Choices, entry.Offered[i].Choices);
    EXPECT_EQ(list[0].Offered[i].Max, entry.Offered[i].Max);
  }
  ASSERT_EQ(list[0].Values.size(), 2u);
  EXPECT_EQ(EngineOptionValue(list[0], list[0].Offered[0]), "8");
  EXPECT_EQ(EngineOptionValue(list[0], list[0].Offered[4]), "hello there");  // the default
  EXPECT_EQ(list[1].Name, "二番目");
  EXPECT_EQ(list[1].ByoyomiSeconds, kDefaultEngineByoyomi);

  // A shorter list leaves no trace of the removed entry; a damaged time falls back.
  ASSERT_TRUE(SaveEngineList(profile, {other}));
  ASSERT_TRUE(profile.WriteString(kEngineSection, "Byoyomi1", "-3"));
  const EngineList shorter = LoadEngineList(profile);
  ASSERT_EQ(shorter.size(), 1u);
  EXPECT_EQ(shorter[0].Command, "/opt/other engine");
  EXPECT_EQ(shorter[0].ByoyomiSeconds, kDefaultEngineByoyomi);
}

TEST(EngineListTest, TypedValuesAreChecked) {
  EngineEntry entry;
  std::string message;
  ASSERT_EQ(ProbeEngine(FakeEngine("good"), {2, 1}, entry, message), 0) << message;
  struct Row {
    int option;  // Skill, Own Book, Style, Book File, Greeting, Clear Hash
    const char* value;
    bool ok;
  };
  const Row rows[] = {
      {0, "0", true},      {0, "9", true},         {0, "10", false},  {0, "-1", false},
      {0, "3x", false},    {1, "true", true},      {1, "yes", false}, {2, "Risky", true},
      {2, "risky", false}, {3, "/tmp/book", true}, {4, "", true},     {5, "", true},
  };
  for (const Row& r : rows) {
    message.clear();
    EXPECT_EQ(CheckEngineOptionValue(entry.Offered[r.option], r.value, message) == 0, r.ok)
        << entry.Offered[r.option].Name << " = " << r.value;
    EXPECT_EQ(message.empty(), r.ok);
  }
  int seconds = 0;
  EXPECT_TRUE(ParseEngineByoyomi("30", seconds));
  EXPECT_EQ(seconds, 30);
  for (const char* bad : {"0", "3601", "", "5s"}) EXPECT_FALSE(ParseEngineByoyomi(bad, seconds));
}

TEST(EngineListTest, StartOptionsPressButtonsAndNameEmptyStrings) {
  EngineEntry entry;
  std::string message;
  ASSERT_EQ(ProbeEngine(FakeEngine("good"), {2, 1}, entry, message), 0) << message;
  SetEngineOptionValue(entry, "Greeting", "");
  SetEngineOptionValue(entry, "Clear Hash", "");
  SetEngineOptionValue(entry, "Style", "Solid");
  const std::vector<UsiOption> options = EngineStartOptions(entry);
  ASSERT_EQ(options.size(), 3u);
  EXPECT_EQ(options[0].Value, "<empty>");
  EXPECT_EQ(options[1].Value, "");  // a button: "setoption name Clear Hash"
  EXPECT_EQ(options[2].Value, "Solid");
}

}  // namespace
}  // namespace shogi
