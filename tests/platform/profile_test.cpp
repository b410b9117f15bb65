// The in-memory profile store: sections apart, integers read whole or not at all.
#include "platform/profile.h"

#include <gtest/gtest.h>

namespace shogi {
namespace {

TEST(ProfileTest, IntegersThatDoNotReadAsNumbersGiveTheDefault) {
  MemoryProfile p;
  p.WriteString("S", "good", "-42");
  p.WriteString("S", "plus", "+7");
  p.WriteString("S", "junk", "12abc");
  p.WriteString("S", "empty", "");
  p.WriteString("S", "huge", "99999999999");
  EXPECT_EQ(p.GetInt("S", "good", 5), -42);
  EXPECT_EQ(p.GetInt("S", "plus", 5), 7);
  EXPECT_EQ(p.GetInt("S", "junk", 5), 5);
  EXPECT_EQ(p.GetInt("S", "empty", 5), 5);
  EXPECT_EQ(p.GetInt("S", "huge", 5), 5);
  EXPECT_EQ(p.GetInt("S", "missing", 5), 5);
  EXPECT_EQ(p.GetString("other", "good", "d"), "d");  // sections are apart
}

}  // namespace
}  // namespace shogi
