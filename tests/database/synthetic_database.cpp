// Random games and synthetic databases.
#include "tests/database/synthetic_database.h"

#include <cstring>
#include <fstream>
#include <optional>

#include "database_files/kisen.h"
#include "database_files/tarvel.h"
#include "platform/cp932.h"
#include "platform/file_path.h"
#include "rules/move_rules.h"

namespace shogi::test_support {
namespace {

constexpr int kPlayers = 997;  // a prime below 999, so that the two players differ
constexpr int kListNames = 99;

// The layout struct's bytes.
template <class Layout>
const char* BytesOf(const Layout& layout) {
  return reinterpret_cast<const char*>(&layout);
}

template <class Index>
void SetSharedFields(const SyntheticFields& f, int handicap_code, Index& index) {
  index.Tournament.Set(f.Tournament);
  index.Opening.Set(f.Opening);
  index.Year.Set(f.Year);
  index.Month.Set(f.Month);
  index.Day.Set(f.Day);
  index.Result.Set(f.Result);
  index.Handicap.Set(handicap_code);
}

// Index record n of a synthetic database.
std::string IndexRecordOf(const DatabaseFormat& format, int n, int handicap_code) {
  const SyntheticFields f = SyntheticFieldsOf(n);
  if (format.Kind == DatabaseKind::kKisen) {
    KisenIndexRecord index{};
    index.FirstPlayer.Set(f.Players[0]);
    index.SecondPlayer.Set(f.Players[1]);
    SetSharedFields(f, handicap_code, index);
    return std::string(BytesOf(index), sizeof index);
  }
  TarvelIndexRecord index{};
  const std::string first = SyntheticPlayerName(f.Players[0]);
  const std::string second = SyntheticPlayerName(f.Players[1]);
  std::memcpy(index.FirstName, first.data(), first.size());
  std::memcpy(index.SecondName, second.data(), second.size());
  SetSharedFields(f, handicap_code, index);
  return std::string(BytesOf(index), sizeof index);
}

void WriteFile(const std::string& path, const std::string& utf8) {
  const std::string bytes = Cp932(utf8);
  std::ofstream(FilePath(path), std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// List lines "number, spaces up to `column`, name" for the numbers 1..`highest`.
std::string ListLines(int highest, std::size_t column, const std::string& name) {
  std::string text;
  for (int n = 1; n <= highest; ++n) {
    std::string line = std::to_string(n);
    line.resize(column, ' ');
    text += line + name + std::to_string(n) + "\r\n";
  }
  return text;
}

}  // namespace

void RandomGame(Handicap start, int plies, std::mt19937& rng, GameRecord& game) {
  ResetGameRecord(game);
  game.InitialPosition = HandicapPosition(start);
  game.StartIndex = HandicapStartIndex(start);
  game.ResultCode = kResultNone;
  game.FirstName[0] = game.SecondName[0] = '\0';
  Position pos = game.InitialPosition;
  static LegalMoveList legal;
  for (int ply = game.StartIndex; ply < game.StartIndex + plies && ply + 1 < kMaxMoves; ++ply) {
    game.PlyCount = ply;
    if (LegalMoves(game, pos, legal) == 0) break;
    const MoveCode m = legal.Move(static_cast<int>(rng() % static_cast<unsigned>(legal.count)));
    game.MoveList[ply] = m;
    ApplyMove(pos, m, SideOfPly(ply));
  }
  game.PlyCount = game.StartIndex;
}

std::vector<GameRecord> RandomGames(const DatabaseFormat& format, int count, int max_plies,
                                    int handicap_share, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<Handicap> handicaps;
  for (const HandicapRow& row : kHandicaps) {
    if (row.Id != Handicap::kEven && HandicapNumber(row.Id, format.Scheme) != kNoHandicapNumber)
      handicaps.push_back(row.Id);
  }
  std::vector<GameRecord> games(static_cast<std::size_t>(count));
  for (GameRecord& game : games) {
    const Handicap start = rng() % static_cast<unsigned>(handicap_share) == 0
                               ? handicaps[rng() % handicaps.size()]
                               : Handicap::kEven;
    RandomGame(start, 1 + static_cast<int>(rng() % static_cast<unsigned>(max_plies)), rng, game);
  }
  return games;
}

SyntheticFields SyntheticFieldsOf(int n) {
  return SyntheticFields{{1 + n % kPlayers, 1 + (7 * n) % kPlayers},
                         1 + n % 99,
                         1 + n % 97,
                         1950 + n % 70,
                         1 + n % 12,
                         1 + n % 28,
                         n % 5};
}

std::string SyntheticPlayerName(int number) {
  return Cp932("棋士") + std::to_string(number);
}

void WriteSyntheticLists(const std::string& folder) {
  const std::string players = ListLines(999, 6, "棋士");
  WriteFile(folder + "KSNAME.DAT", players);
  std::string plain_players;  // 棋士名.DAT: whole lines are names
  for (int n = 1; n <= 999; ++n) plain_players += "棋士" + std::to_string(n) + "\r\n";
  WriteFile(FolderFilePath(folder, "棋士名.DAT"), plain_players);
  WriteFile(folder + "KISEN.DAT", ListLines(kListNames, 3, "棋戦"));
  WriteFile(FolderFilePath(folder, "棋戦.DAT"), ListLines(kListNames, 3, "棋戦"));
  WriteFile(folder + "SENKEI.DAT", ListLines(kListNames, 4, "戦型"));
  WriteFile(FolderFilePath(folder, "戦型.DAT"), ListLines(kListNames, 4, "戦型"));
}

int GameOfNumber(int n, int games) {
  return static_cast<int>((static_cast<long long>(n) * 7919) % games);
}

bool WriteSyntheticDatabase(const DatabaseFormat& format, const DatabasePaths& paths, int count,
                            const std::vector<GameRecord>& games) {
  // Each game's block and handicap code, encoded once.
  std::vector<std::string> blocks;
  std::vector<int> codes;
  for (const GameRecord& game : games) {
    const std::optional<Handicap> start =
        MatchHandicap(game.InitialPosition, game.StartIndex, format.Scheme);
    if (!start) return false;
    codes.push_back(HandicapNumber(*start, format.Scheme));
    std::uint8_t block[kMoveBlockBytes];
    format.EncodeBlock(game.MoveList, *start, codes.back(), block);
    blocks.emplace_back(reinterpret_cast<const char*>(block), kMoveBlockBytes);
  }
  std::ofstream index(FilePath(paths.Index(format)), std::ios::binary | std::ios::trunc);
  std::ofstream moves(FilePath(paths.Moves(format)), std::ios::binary | std::ios::trunc);
  std::string header(format.IndexRecordBytes, '\0');
  for (int i = 0; i < 4; ++i)
    header[static_cast<std::size_t>(i)] = static_cast<char>(count >> (8 * i));
  index << header;
  std::string index_chunk, moves_chunk;
  const int size = static_cast<int>(games.size());
  for (int n = 1; n <= count; ++n) {
    const int g = GameOfNumber(n, size);
    index_chunk += IndexRecordOf(format, n, codes[static_cast<std::size_t>(g)]);
    moves_chunk += blocks[static_cast<std::size_t>(g)];
    if (moves_chunk.size() >= (8u << 20) || n == count) {
      index << index_chunk;
      moves << moves_chunk;
      index_chunk.clear();
      moves_chunk.clear();
    }
  }
  index.close();
  moves.close();
  return index.good() && moves.good();
}

}  // namespace shogi::test_support
