// The database tests' folder, list files, golden games and file bytes.
#include "tests/database/database_test_util.h"

#include <filesystem>

#include "database/game_database.h"
#include "database/search_list.h"
#include "platform/cp932.h"
#include "platform/file_path.h"
#include "tests/support/game_builder.h"

namespace shogi::test {

void DatabaseFolderTest::WriteList(const std::string& name, std::string_view utf8) const {
  std::filesystem::create_directories(FilePath(Folder() + name).parent_path());
  PutFileBytes(Folder() + name, Cp932(utf8));
}

void DatabaseFolderTest::WriteGoldenLists() const {
  WriteList("KSNAME.DAT", "3     谷川浩司\r\n12    羽生　善治\r\n");
  WriteList("KISEN.DAT", "+01 第10期\r\n05 名人戦\r\n");
  WriteList("SENKEI.DAT", "07  矢倉\r\n");
  WriteList("棋戦.DAT", "1  竜王戦\r\n5  第10期　名人戦\r\n");
  WriteList("戦型.DAT", "7   矢倉\r\n");
}

DatabasePaths DatabaseFolderTest::PathsOf(std::string_view name) const {
  DatabasePaths paths;
  std::string message;
  EXPECT_EQ(DatabasePathsOf(Folder() + std::string(name), paths, message), 0) << name;
  return paths;
}

DatabasePaths DatabaseFolderTest::CopyGolden(const DatabaseFormat& format) const {
  const DatabasePaths golden = GoldenPaths(format);
  const DatabasePaths paths =
      PathsOf(format.Kind == DatabaseKind::kKisen ? "games.idx" : "games.mix");
  PutFileBytes(paths.Index(format), FileBytes(golden.Index(format)));
  PutFileBytes(paths.Moves(format), FileBytes(golden.Moves(format)));
  return paths;
}

DatabasePaths DatabaseFolderTest::WriteGames(const DatabaseFormat& format, std::string_view name,
                                             const std::vector<GameRecord>& games) const {
  const DatabasePaths paths = PathsOf(name);
  const std::size_t bytes = format.IndexRecordBytes;
  std::string index(bytes, '\0'), moves;
  const auto count = static_cast<std::uint32_t>(games.size());
  for (int i = 0; i < 4; ++i) index[i] = static_cast<char>(count >> (8 * i));
  const DatabaseNames names;
  for (const GameRecord& game : games) {
    const Handicap start = MatchHandicap(game.InitialPosition, game.StartIndex, format.Scheme)
                               .value_or(Handicap::kEven);
    std::uint8_t record[kMaxIndexRecordBytes] = {}, block[kMoveBlockBytes];
    const int code = HandicapNumber(start, format.Scheme);
    format.EncodeBlock(game.MoveList, start, code, block);
    format.WriteIndex(game, code, game.ResultCode, names, record);
    index.append(reinterpret_cast<const char*>(record), bytes);
    moves.append(reinterpret_cast<const char*>(block), kMoveBlockBytes);
  }
  PutFileBytes(paths.Index(format), index);
  PutFileBytes(paths.Moves(format), moves);
  return paths;
}

DatabasePaths GoldenPaths(const DatabaseFormat& format) {
  const bool kisen = format.Kind == DatabaseKind::kKisen;
  DatabasePaths paths;
  paths.Base = std::string(SHOGI_TEST_DATA) + (kisen ? "/kisen/two_games" : "/tarvel/two_games");
  paths.LowerCase = true;
  return paths;
}

void SetHeader(GameRecord& r, const char* first, const char* second, const char* tournament,
               const char* opening, int game_number, int year, int month, int day, int result) {
  CopyCp932Field(r.FirstName, Cp932(first));
  CopyCp932Field(r.SecondName, Cp932(second));
  CopyCp932Field(r.Tournament, Cp932(tournament));
  CopyCp932Field(r.Opening, Cp932(opening));
  r.GameNumber = game_number;
  r.Year = year;
  r.Month = month;
  r.Day = day;
  r.ResultCode = result;
}

GameRecord GoldenEvenGame() {
  GameRecord r = MakeRecord("startpos", "7g7f 3c3d 8h2b+ 3a2b B*4e");
  SetHeader(r, "羽生善治名人", "X谷川浩司九段", "第10期名人戦", "矢倉", 2, 2001, 4, 9,
            kResultFirstWins);
  return r;
}

GameRecord GoldenLanceGame() {
  GameRecord r = MakeRecord("lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",
                            "3c3d 7g7f 2b7g+ 6i6h 7g8h 7i7h B*5e");
  SetHeader(r, "大山康晴", "谷川浩司", "", "", 0, 1999, 12, 31, kResultSecondWins);
  return r;
}

GameRecord DatedGame(int year, int month, int day, int plies) {
  static const std::vector<std::string> kOpening = SplitUsi(
      "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d P*2c 2d2f 3a4b 5i5h 7a7b "
      "3i3h 5a5b 1g1f 1c1d");
  std::string usi;
  for (int i = 0; i < plies; ++i) usi += kOpening[static_cast<std::size_t>(i)] + " ";
  GameRecord r = MakeRecord("startpos", usi);
  SetHeader(r, "先手", "後手", "", "", 0, year, month, day, kResultFirstWins);
  return r;
}

YearbookPaths WriteYearbookFiles(const std::string& folder, const std::vector<YearbookGame>& games,
                                 int index_games, int data_games) {
  std::string headers, index(8, '\0'), data;
  int game = 0;
  for (const YearbookGame& g : games) {
    std::string header(512, '\0');
    const auto put_text = [&](std::size_t offset, const std::string& utf8) {
      const std::string text = utf8 == "\t" ? std::string(1, '\x09') : Cp932(utf8);
      header.replace(offset, text.size(), text);
    };
    put_text(0, g.Title);
    put_text(320, g.FirstFamily);
    put_text(340, g.FirstGiven);
    put_text(404, g.SecondFamily);
    put_text(424, g.SecondGiven);
    const int declared = g.DeclaredMoves < 0 ? static_cast<int>(g.Moves.size()) : g.DeclaredMoves;
    header[452] = static_cast<char>(g.Year & 0xFF);
    header[453] = static_cast<char>(g.Year >> 8);
    header[454] = static_cast<char>(g.Month);
    header[455] = static_cast<char>(g.Day);
    header[481] = static_cast<char>(g.Result);
    header[486] = static_cast<char>(declared & 0xFF);
    header[487] = static_cast<char>(declared >> 8);
    for (char& c : header) c = static_cast<char>(~c);
    headers += header;
    if (g.Title == "\t") continue;  // not a game: no move index entry, no move data
    const std::size_t length = 16 + 4 * g.Moves.size();
    if (index_games < 0 || game < index_games) {
      std::string entry(8, '\0');
      entry[4] = static_cast<char>(length & 0xFF);
      entry[5] = static_cast<char>(length >> 8);
      index += entry;
    }
    if (data_games < 0 || game < data_games) {
      data += std::string(16, '\0');
      for (const auto& m : g.Moves)
        data += std::string{static_cast<char>(m[0]), static_cast<char>(m[1]),
                            static_cast<char>(m[2]), '\0'};
    }
    ++game;
  }
  const YearbookPaths paths{folder + "headers.dat", folder + "index.dat", folder + "moves.dat"};
  PutFileBytes(paths.Headers, headers);
  PutFileBytes(paths.MoveIndex, index);
  PutFileBytes(paths.MoveData, data);
  return paths;
}

YearbookGame NotAGame() {
  YearbookGame g;
  g.Title = "\t";
  return g;
}

namespace {
std::optional<std::string> BytesIfThere(const std::string& path) {
  if (!std::filesystem::exists(path)) return std::nullopt;
  return FileBytes(path);
}
}  // namespace

DatabaseFiles FilesOf(const DatabaseFormat& format, const DatabasePaths& paths) {
  return {BytesIfThere(paths.Index(format)), BytesIfThere(paths.Moves(format)),
          std::filesystem::exists(RewriteStagingPath(format, paths))};
}

void PutFiles(const DatabaseFormat& format, const DatabasePaths& paths,
              const DatabaseFiles& files) {
  for (const auto& [path, bytes] : {std::pair{paths.Index(format), &files.Index},
                                    std::pair{paths.Moves(format), &files.Moves}}) {
    std::filesystem::remove(path);
    if (bytes->has_value()) PutFileBytes(path, **bytes);
  }
}

int WriteGames(const DatabaseFormat& format, const DatabasePaths& paths, const std::string& folder,
               const std::vector<GameRecord>& games, std::string& message) {
  std::filesystem::remove(paths.Index(format));
  std::filesystem::remove(paths.Moves(format));
  if (CreateDatabase(format, paths, message) != 0) return 1;
  for (const GameRecord& game : games) {
    int number = 0;
    if (RegisterGame(format, paths, folder, game, number, message) != 0) return 1;
  }
  return 0;
}

bool ReadListed(const std::string& path, std::vector<int>& numbers) {
  numbers.clear();
  int count = 0;
  const auto add = [&numbers](int n) { return numbers.push_back(n), true; };
  return CountSearchList(path, 1 << 20, count) && ForEachSearchListEntry(path, count, add);
}

void PutSearchList(const std::string& path, const std::vector<int>& numbers) {
  SearchListWriter list;
  bool written = list.Open(path);
  for (int n : numbers) written = written && list.Add(n);
  ASSERT_TRUE(written && list.Commit()) << path;
}

}  // namespace shogi::test
