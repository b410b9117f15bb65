// Every setting's profile key and default, and the window's start position.
#include "shell/settings.h"

#include <gtest/gtest.h>

#include "rules/types.h"

namespace shogi {
namespace {

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

TEST(SettingsTest, WindowIsCentredOnTheWorkAreaUnlessStored) {
  MemoryProfile p;
  WindowPlacement w = LoadWindowPlacement(p, 1024, 740);
  EXPECT_EQ(w.X, 187);  // the 650 x 480 window in the middle
  EXPECT_EQ(w.Y, 130);
  w = LoadWindowPlacement(p, 600, 400);  // a screen smaller than the window
  EXPECT_EQ(w.X, 0);
  EXPECT_EQ(w.Y, 0);
  SaveWindowPlacement(p, {30, 40});
  w = LoadWindowPlacement(p, 1024, 740);
  EXPECT_EQ(w.X, 30);
  EXPECT_EQ(w.Y, 40);
  EXPECT_EQ(p.GetInt("初期位置", "横座標", -1), 30);
}

}  // namespace
}  // namespace shogi
