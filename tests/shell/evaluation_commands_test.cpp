// The Bonanza menu's evaluation items through the scripted person: the file chosen and
// loaded, the three score messages, the missing file and the position without a king, the
// piece values taking effect at once, the ranking dialog, and the piece-value field checks.
#include "shell/evaluation_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/shell/shell_fixture.h"
#include "tests/support/fv_files.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

using test::KkpElement;

class EvaluationCommandsTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    EvaluationTable().Unload();
    LoadSettings(profile, folder.Path(), settings);
    settings.Files.EvaluationFile = fv;
    // Kings on 5九 and 1一: a raw fv of -33 from the first player's pawns in hand (0 or 1).
    test::WriteFvFile(fv, {{KkpElement(76, 8, 0), -33}, {KkpElement(76, 8, 1), -33}});
  }
  void TearDown() override { EvaluationTable().Unload(); }

  // The texts of the plain boxes shown, checking that they have no caption.
  std::vector<std::string> PlainMessages() const {
    std::vector<std::string> texts;
    for (const test::ShownMessage& m : ui.Messages) {
      EXPECT_EQ(m.Caption, "") << m.Text;
      texts.push_back(m.Text);
    }
    return texts;
  }

  const test::TempFolder folder;
  const std::string fv = folder.Path() + "fv.bin";
  MemoryProfile profile;
  ProgramSettings settings;
};

TEST_F(EvaluationCommandsTest, ScoresOfTheShownPosition) {
  struct Case {
    const char* sfen;
    ViewUpdate (*command)(ShellContext&, const ProgramSettings&);
    const char* message;
  } cases[] = {
      {"startpos", ShowMaterial, "駒の損得は、0点でした。"},
      {"8k/9/9/9/9/9/9/9/4K4 b Pr 1", ShowMaterial, "駒の損得は、-555点でした。"},
      {"8k/9/9/9/9/9/9/9/4K4 b - 1", ShowFvSum, "fv計算は、-33点でした。"},
      {"8k/9/9/9/9/9/9/9/4K4 b - 1", ShowStaticEvaluation, "静的評価は、-1点(-33,0,-33)でした。"},
      {"8k/9/9/9/9/9/9/9/4K4 b P 1", ShowStaticEvaluation, "静的評価は、86点(2751,87,-33)でした。"},
      // The file is not needed for the material balance, nor a king.
      {"4k4/9/9/9/9/9/9/9/9 b G 1", ShowMaterial, "駒の損得は、444点でした。"},
      {"4k4/9/9/9/9/9/9/9/9 b G 1", ShowFvSum, "玉のいない局面は評価できません。"},
      {"4k4/9/9/9/9/9/9/9/9 b G 1", ShowStaticEvaluation, "玉のいない局面は評価できません。"},
      {"4k4/9/9/9/9/9/9/9/9 b G 1", SearchBestMoves, "玉のいない局面は評価できません。"},
  };
  for (const Case& c : cases) {
    LoadSfen(c.sfen);
    ui.Messages.clear();
    c.command(ctx, settings);
    EXPECT_EQ(PlainMessages(), std::vector<std::string>{c.message}) << c.sfen;
  }
}

// A missing file stops each command that needs it with its name; the next use tries again.
TEST_F(EvaluationCommandsTest, AMissingFileIsNamedAndTriedAgain) {
  settings.Files.EvaluationFile = folder.Path() + "none.bin";
  const std::string message = folder.Path() + "none.binが読み込めません。";
  for (auto command : {ShowFvSum, ShowStaticEvaluation, SearchBestMoves}) command(ctx, settings);
  EXPECT_EQ(PlainMessages(), std::vector<std::string>(3, message));
  EXPECT_TRUE(ui.BestMoveLists.empty());
  test::WriteFvFile(settings.Files.EvaluationFile, {});
  ui.Messages.clear();
  ShowFvSum(ctx, settings);
  EXPECT_EQ(PlainMessages(), std::vector<std::string>{"fv計算は、0点でした。"});
}

// "fvﾌｧｲﾙ名" stores the chosen file and loads it at once; a file that cannot be read leaves
// the table unloaded with its message.
TEST_F(EvaluationCommandsTest, ChoosingTheFileStoresAndLoadsIt) {
  const std::string missing = folder.Path() + "gone.bin";
  ui.FileAnswers = {{false, "", 0}, {true, fv, 0}, {true, missing, 0}};
  ChooseFvFile(ctx, profile, settings);  // cancelled
  EXPECT_FALSE(profile.Has("ファイル名", "FV"));
  ChooseFvFile(ctx, profile, settings);
  ASSERT_EQ(ui.FileRequests.size(), 2u);
  const FileDialogRequest& r = ui.FileRequests[1];
  EXPECT_EQ(r.Title, "Fvファイル名の設定");
  ASSERT_EQ(r.Filters.size(), 2u);
  EXPECT_EQ(r.Filters[0].Caption, "Fvファイル(*.bin)");
  EXPECT_EQ(r.Filters[0].Pattern, "*.bin");
  EXPECT_EQ(r.Filters[1].Caption, "全てのファイル(*.*)");
  EXPECT_EQ(r.Filters[1].Pattern, "*.*");
  EXPECT_EQ(r.InitialPath, fv);
  EXPECT_TRUE(EvaluationTable().Loaded());
  EXPECT_TRUE(ui.Messages.empty());
  ChooseFvFile(ctx, profile, settings);
  EXPECT_EQ(profile.GetString("ファイル名", "FV", ""), missing);
  EXPECT_EQ(settings.Files.EvaluationFile, missing);
  EXPECT_FALSE(EvaluationTable().Loaded());
  EXPECT_EQ(PlainMessages(), std::vector<std::string>{missing + "が読み込めません。"});
}

// "駒の価値設定": OK writes the 13 values and they count at once; cancel changes nothing.
TEST_F(EvaluationCommandsTest, PieceValuesTakeEffectAtOnce) {
  LoadSfen("8k/9/9/9/9/9/9/4+R4/4K4 b 2Pr 1");
  ui.PieceValueAnswers.push_back([](PieceValueTable& v) {
    EXPECT_EQ(v, kDefaultPieceValues);
    v[kPawn] = 0;
    v[kDragon] = 1000;
    return true;
  });
  ui.PieceValueAnswers.push_back([](PieceValueTable& v) {
    v[kRook] = 1;
    return false;
  });
  EditPieceValueSettings(ctx, profile, settings);
  EditPieceValueSettings(ctx, profile, settings);
  ShowMaterial(ctx, settings);
  EXPECT_EQ(PlainMessages(), std::vector<std::string>{"駒の損得は、358点でした。"});  // 1000 - 642
  EXPECT_EQ(profile.GetInt("Settings", "koma01", -1), 0);
  EXPECT_EQ(profile.GetInt("Settings", "koma15", -1), 1000);
  EXPECT_EQ(profile.GetInt("Settings", "koma07", -1), 642);
  EXPECT_EQ(settings.PieceValues[kRook], 642);
  EXPECT_FALSE(profile.Has("Settings", "koma08"));
  EXPECT_FALSE(profile.Has("Settings", "koma13"));
  // A new run reads them back.
  ProgramSettings again;
  LoadSettings(profile, folder.Path(), again);
  EXPECT_EQ(again.PieceValues, settings.PieceValues);
}

// "最善手検索": the moves in notation with their scores, best first, for the side to move.
TEST_F(EvaluationCommandsTest, TheRankingDialogShowsTheMovesInNotation) {
  // The rook has just come to 5e: the pawn takes it there (同).
  LoadSfen("4k4/9/9/4p4/9/4R4/9/9/4K4 b - 1", "5f5e");
  state.Record.PlyCount = 1;
  RebuildShown(state);
  SearchBestMoves(ctx, settings);
  ASSERT_EQ(ui.BestMoveLists.size(), 1u) << ui.LastMessage();
  const std::vector<BestMoveRow>& rows = ui.BestMoveLists[0];
  ASSERT_GT(rows.size(), 1u);
  EXPECT_EQ(rows[0].Move, "△同　歩");
  EXPECT_EQ(rows[0].Score, 87 + 642);
  EXPECT_LT(rows[1].Score, 0);
  EXPECT_TRUE(ui.Messages.empty());
}

TEST(PieceValueFieldsTest, TakeWholeNumbersFromZeroTo32767) {
  struct Case {
    const char* what;
    int field;
    const char* text;
    int bad_field;  // -1: accepted
  } cases[] = {
      {"zero", 0, "0", -1},           {"the largest", 12, "32767", -1},
      {"with spaces", 5, " 12 ", -1}, {"too large", 12, "32768", 12},
      {"negative", 3, "-1", 3},       {"empty", 7, "", 7},
      {"letters", 1, "8a", 1},        {"a fraction", 2, "1.5", 2},
      {"full-width", 4, "１２", 4},
  };
  for (const Case& c : cases) {
    std::array<std::string, kValuedPieceCount> texts;
    for (int i = 0; i < kValuedPieceCount; ++i) texts[i] = std::to_string(100 + i);
    texts[c.field] = c.text;
    PieceValueTable values = kDefaultPieceValues;
    int bad = -1;
    std::string message;
    const bool ok = ParsePieceValueFields(texts, values, bad, message) == 0;
    EXPECT_EQ(ok, c.bad_field < 0) << c.what;
    if (!ok) {
      EXPECT_EQ(bad, c.bad_field) << c.what;
      EXPECT_EQ(message, "0～32767の範囲の整数を入力してください。") << c.what;
      EXPECT_EQ(values, kDefaultPieceValues) << c.what << ": changed on refusal";
      continue;
    }
    // The fields land at their types: pawn .. rook, promoted pawn .. silver, horse, dragon.
    const int types[] = {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 14, 15};
    for (int i = 0; i < kValuedPieceCount; ++i) {
      EXPECT_EQ(values[types[i]], i == c.field ? std::stoi(c.text) : 100 + i) << c.what << " " << i;
    }
    EXPECT_EQ(values[kKing], 0);
  }
}

}  // namespace
}  // namespace shogi
