// Every setting's profile key and default, and the window's start position.
#include "shell/settings.h"

#include <gtest/gtest.h>

#include "rules/types.h"

namespace shogi {
namespace {

constexpr int kNone = -99999;

TEST(SettingsTest, EmptyProfileGivesEveryDefault) {
  MemoryProfile p;
  ProgramSettings s;
  LoadSettings(p, "C:\\", s);
  // The root folder is followed directly by the name.
  EXPECT_EQ(s.Files.Book, "C:\\Kaelmo.JSK");
  struct Row {
    const std::string* value;
    const char* expected;
  } rows[] = {
      {&s.Files.Record, "C:\\*.kif"},
      {&s.Files.Csa, "C:\\*.csa"},
      {&s.Files.Kakinoki, "C:\\*.kif"},
      {&s.Files.Eisei, "C:\\*.kif"},
      {&s.Files.Ki2, "C:\\*.ki2"},
      {&s.Files.Palm, "C:\\KaelmoDB.PDB"},
      {&s.Files.Bitmap, "C:\\kyokumen.bmp"},
      {&s.Files.Tarvel, "C:\\*.mix"},
      {&s.Files.Tarvel2, "C:\\*.mix"},
      {&s.Files.Kisen, "C:\\*.idx"},
      {&s.Files.Distributed, "C:\\*.idx"},
      {&s.Files.Output, "C:\\*.txt"},
      {&s.Files.BonanzaBook, "book.bin"},
      {&s.Files.EvaluationFile, "fv.bin"},
      {&s.UrlKakinoki, ""},
      {&s.UrlCsa, ""},
  };
  for (const Row& r : rows) EXPECT_EQ(*r.value, r.expected);
  EXPECT_EQ(s.LoadFormat, 0);
  EXPECT_EQ(s.SaveFormat, 0);
  EXPECT_EQ(s.Yearbook, 0);
  const int values[16] = {0, 87, 232, 257, 369, 444, 569, 642, 0, 534, 489, 510, 495, 0, 827, 945};
  for (int t = 0; t < 16; ++t) EXPECT_EQ(s.PieceValues[t], values[t]) << t;
}

TEST(SettingsTest, StoredValuesWinAndRememberedNamesAreWrittenBack) {
  MemoryProfile p;
  p.WriteString("ファイル名", "CSA", "/data/last.csa");
  p.WriteString("URL", "柿木", "http://example.invalid/a.kif");
  p.WriteInt("種類", "セーブ", 3);
  p.WriteInt("Settings", "koma07", 700);
  p.WriteInt("Settings", "koma08", 1);      // the king has no key: ignored
  p.WriteInt("Settings", "koma01", 32768);  // beyond what the dialog stores: the default
  p.WriteString("Settings", "koma02", "-1");
  ProgramSettings s;
  LoadSettings(p, "/work/", s);
  EXPECT_EQ(s.Files.Csa, "/data/last.csa");
  EXPECT_EQ(s.UrlKakinoki, "http://example.invalid/a.kif");
  EXPECT_EQ(s.SaveFormat, 3);
  EXPECT_EQ(s.PieceValues[kRook], 700);
  EXPECT_EQ(s.PieceValues[kKing], 0);
  EXPECT_EQ(s.PieceValues[kPawn], 87);
  EXPECT_EQ(s.PieceValues[kLance], 232);

  RememberFileName(p, s, "柿木2", "/r/x.ki2");
  EXPECT_EQ(s.Files.Ki2, "/r/x.ki2");
  EXPECT_EQ(p.GetString("ファイル名", "柿木2", ""), "/r/x.ki2");
  EXPECT_EQ(PieceValueKey(13), "");
  EXPECT_EQ(PieceValueKey(15), "koma15");
}

// The stored corner is used only on a screen, and the frame kept whole on that screen.
TEST(SettingsTest, WindowOpensOnAScreen) {
  const std::vector<ScreenArea> screens = {{0, 0, 1024, 740}, {1024, -200, 800, 600}};
  const struct {
    int x, y;  // stored; kNone for nothing stored
    int width, height;
    int expected_x, expected_y;
  } cases[] = {
      {kNone, 0, 650, 480, 187, 130},      // centred on the main screen
      {kNone, 0, 1200, 900, 0, 0},         // larger than the screen: its corner
      {30, 40, 650, 480, 30, 40},          // as stored
      {900, 600, 650, 480, 374, 260},      // moved to stay whole on the screen
      {1500, -150, 650, 480, 1174, -150},  // on the second screen
      {-2000, 50, 650, 480, 187, 130},     // on no screen: centred
      {2000, 2000, 650, 480, 187, 130},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    MemoryProfile p;
    if (c.x != kNone) SaveWindowPlacement(p, {c.x, c.y});
    const WindowPlacement w = LoadWindowPlacement(p, screens, c.width, c.height);
    EXPECT_EQ(w.X, c.expected_x);
    EXPECT_EQ(w.Y, c.expected_y);
  }
  MemoryProfile p;
  SaveWindowPlacement(p, {30, 40});
  EXPECT_EQ(p.GetInt("初期位置", "横座標", -1), 30);
}

}  // namespace
}  // namespace shogi
