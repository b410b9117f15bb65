// The Kisen and Tarvel move encodings, drop ordinals, the header count rule, the
// truncation rule and the Tarvel name fields.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "database_files/database_format.h"
#include "database_files/kisen.h"
#include "database_files/tarvel.h"
#include "platform/cp932.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::FromSfen;
using test::SplitUsi;
using test::UsiMove;

// Bytes as hex digits, and back (spaces between digits are ignored).
std::string Hex(const void* data, std::size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char b = static_cast<const unsigned char*>(data)[i];
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}
std::string Hex(const std::string& bytes) {
  return Hex(bytes.data(), bytes.size());
}
std::string Bytes(std::string_view hex) {
  std::string digits, out;
  for (char c : hex)
    if (c != ' ') digits += c;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
  return out;
}

// The moves of a game from `start`, from its StartIndex on.
struct Moves {
  MoveCode List[kMaxMoves] = {};
};
Moves MovesOf(Handicap start, std::string_view usi) {
  Moves m;
  int ply = HandicapStartIndex(start);
  for (const std::string& word : SplitUsi(usi)) m.List[ply++] = UsiMove(word);
  return m;
}
std::string UsiOf(const Moves& m, Handicap start) {
  std::string out;
  for (int i = HandicapStartIndex(start); i < kMaxMoves && !IsEndMarker(m.List[i]); ++i) {
    if (!out.empty()) out += ' ';
    out += FormatUsiMove(m.List[i]);
  }
  return out;
}

template <class Block>
Block BlockOf(std::string_view hex) {
  Block block{};
  const std::string bytes = Bytes(hex);
  std::memcpy(&block, bytes.data(), bytes.size());
  return block;
}

// Games whose stored slots were written out by hand from the layouts (slot 0 first).
struct BlockCase {
  const char* name;
  Handicap start;
  const char* usi;
  const char* kisen;  // nullptr: no Kisen start position
  const char* tarvel;
};
const BlockCase kBlockCases[] = {
    {"bishop exchange and a drop", Handicap::kEven, "7g7f 3c3d 8h2b+ 3a2b B*4e",
     "343d 1e15 6f47 0b03 2865", "343d 1e15 8b47 0b03 2886"},
    {"rook drop 107, then a pawn drop behind a bishop in hand", Handicap::kEven,
     "7g7f 3c3d 8h2b+ 3a2b 2h8h 8c8d 8g8f 8d8e 8f8e 8b8e 8h8e 7a7b R*5e 4a3b P*8d",
     "343d 1e15 6f47 0b03 4741 231a 353e 2c23 2c35 2c11 2c47 1007 2965 0c04 2366",
     "343d 1e15 8b47 0b03 4741 231a 353e 2c23 2c35 2c11 2c47 1007 2987 0c04 2381"},
    {"promotion onto square 81 (181) after the second player's drop", Handicap::kEven,
     "7g7f 3c3d 8h2b+ 3a2b 1g1f B*5e 1f1e 5e9i+", "343d 1e15 6f47 0b03 2e37 2965 252e b529",
     "343d 1e15 8b47 0b03 2e37 2986 252e d129"},
    {"lance handicap: the handicap slot first", Handicap::kLance,
     "3c3d 7g7f 2b7g+ 6i6h 7g8h 7i7h B*5e", "ffff 1e15 343d a10b 454e 473d 464f 2965",
     "ff01 1e15 343d bd0b 454e 473d 464f 2986"},
    {"bare king", Handicap::kBareKing, "5a4b", nullptr, "ff0a 0d05"},
    {"six pieces, no moves", Handicap::kSixPieces, "", "ffff", "ff07"},
};

TEST(BlockEncodingTest, EncodesTheSlotsOfTheLayouts) {
  for (const BlockCase& c : kBlockCases) {
    const Moves moves = MovesOf(c.start, c.usi);
    const int code = HandicapNumber(c.start, HandicapScheme::kTarvel);
    TarvelMoveBlock tarvel;
    const int tarvel_used = EncodeTarvelBlock(moves.List, c.start, code, tarvel);
    const std::string tarvel_hex = Hex(Bytes(c.tarvel));
    EXPECT_EQ(Hex(&tarvel, sizeof tarvel), tarvel_hex + std::string(1024 - tarvel_hex.size(), '0'))
        << c.name;
    EXPECT_EQ(tarvel_used, static_cast<int>(tarvel_hex.size() / 4)) << c.name;
    if (c.kisen == nullptr) continue;
    KisenMoveBlock kisen;
    const int kisen_used = EncodeKisenBlock(moves.List, c.start, kisen);
    const std::string kisen_hex = Hex(Bytes(c.kisen));
    EXPECT_EQ(Hex(&kisen, sizeof kisen), kisen_hex + std::string(1024 - kisen_hex.size(), '0'))
        << c.name;
    EXPECT_EQ(kisen_used, static_cast<int>(kisen_hex.size() / 4)) << c.name;
  }
}

TEST(BlockEncodingTest, DecodesTheSlotsOfTheLayouts) {
  for (const BlockCase& c : kBlockCases) {
    const int end = HandicapStartIndex(c.start) + static_cast<int>(SplitUsi(c.usi).size());
    Moves tarvel;
    EXPECT_EQ(DecodeTarvelBlock(BlockOf<TarvelMoveBlock>(c.tarvel), c.start, tarvel.List), end);
    EXPECT_EQ(UsiOf(tarvel, c.start), c.usi) << c.name;
    if (c.kisen == nullptr) continue;
    Moves kisen;
    EXPECT_EQ(DecodeKisenBlock(BlockOf<KisenMoveBlock>(c.kisen), c.start, kisen.List), end);
    EXPECT_EQ(UsiOf(kisen, c.start), c.usi) << c.name;
  }
}

// Stored slots that are not what this program writes: the decoders keep the moves before the
// first slot that is not a playable move.
TEST(BlockEncodingTest, DecodingStopsBeforeTheFirstUnsoundSlot) {
  struct Case {
    const char* name;
    DatabaseKind kind;
    Handicap start;
    const char* slots;
    const char* usi;
  } cases[] = {
      {"a promoted piece's mark", DatabaseKind::kKisen, Handicap::kLance,
       "ffff 1e15 343d a10b 454e ab3d", "3c3d 7g7f 2b7g+ 6i6h 7g8h"},
      {"a promoted piece's mark", DatabaseKind::kTarvel, Handicap::kLance,
       "ff01 1e15 343d bd0b 454e c73d", "3c3d 7g7f 2b7g+ 6i6h 7g8h"},
      {"destination 90", DatabaseKind::kKisen, Handicap::kEven, "343d 5a15 1e15", "7g7f"},
      {"destination 100 ends the game", DatabaseKind::kKisen, Handicap::kEven, "343d 643d 1e15",
       "7g7f"},
      {"a drop ordinal beyond the hand", DatabaseKind::kKisen, Handicap::kEven, "343d 1e65",
       "7g7f"},
      {"a drop of no piece type", DatabaseKind::kTarvel, Handicap::kEven, "343d 1e95", "7g7f"},
      {"a drop of a piece not in hand", DatabaseKind::kTarvel, Handicap::kEven, "343d 1e86",
       "7g7f"},
      {"the opponent's piece", DatabaseKind::kKisen, Handicap::kEven, "1e15 343d", ""},
      {"a handicap slot in an even game", DatabaseKind::kTarvel, Handicap::kEven, "ff0a 343d", ""},
      {"the origin 0", DatabaseKind::kTarvel, Handicap::kEven, "3400", ""},
  };
  for (const Case& c : cases) {
    Moves moves;
    const int end = c.kind == DatabaseKind::kKisen
                        ? DecodeKisenBlock(BlockOf<KisenMoveBlock>(c.slots), c.start, moves.List)
                        : DecodeTarvelBlock(BlockOf<TarvelMoveBlock>(c.slots), c.start, moves.List);
    EXPECT_EQ(UsiOf(moves, c.start), c.usi) << c.name;
    EXPECT_EQ(end, HandicapStartIndex(c.start) + static_cast<int>(SplitUsi(c.usi).size()))
        << c.name;
    EXPECT_TRUE(IsEndMarker(moves.List[end])) << c.name;
  }
}

TEST(BlockEncodingTest, DropOrdinalCountsTheHigherPiecesInHand) {
  struct Case {
    const char* sfen;
    Side side;
    int type;
    int ordinal;
  } cases[] = {
      {"4k4/9/9/9/9/9/9/9/4K4 b R2GP 1", kFirst, kRook, 101},
      {"4k4/9/9/9/9/9/9/9/4K4 b R2GP 1", kFirst, kGold, 102},
      {"4k4/9/9/9/9/9/9/9/4K4 b R2GP 1", kFirst, kPawn, 104},
      {"4k4/9/9/9/9/9/9/9/4K4 w b2s3p 1", kSecond, kSilver, 102},
      {"4k4/9/9/9/9/9/9/9/4K4 w b2s3p 1", kSecond, kPawn, 104},
  };
  for (const Case& c : cases) {
    const Position pos = FromSfen(c.sfen).pos;
    EXPECT_EQ(DropOrdinal(pos, c.side, c.type), c.ordinal) << c.sfen << " " << c.type;
    EXPECT_EQ(DroppedTypeOfOrdinal(pos, c.side, c.ordinal), c.type) << c.sfen << " " << c.type;
  }
  // Ordinals that name no piece of the hand R G G P.
  const Position pos = FromSfen("4k4/9/9/9/9/9/9/9/4K4 b R2GP 1").pos;
  EXPECT_EQ(DroppedTypeOfOrdinal(pos, kFirst, 103), kGold);
  for (int ordinal : {0, 100, 105, 255}) EXPECT_EQ(DroppedTypeOfOrdinal(pos, kFirst, ordinal), 0);
}

TEST(BlockEncodingTest, KisenCountIsSixteenBitsUpToTwoMebibytes) {
  struct Case {
    const char* header;
    std::uint64_t index_bytes;
    std::uint32_t count;
  } cases[] = {
      {"ffff0100", 2097152, 65535},
      {"ffff0100", 2097184, 131071},
      {"05000000", 64, 5},
      {"00000100", 2097152, 0},
  };
  for (const Case& c : cases) {
    const auto header = BlockOf<KisenHeader>(c.header);
    EXPECT_EQ(KisenGameCount(header, c.index_bytes), c.count) << c.header << " " << c.index_bytes;
    EXPECT_EQ(TarvelGameCount(BlockOf<TarvelHeader>(c.header)), header.Count.Get());
  }
}

// A game of `plies` king moves to and fro from `start`.
Moves ShuffleGame(Handicap start, int plies) {
  static const char* const kEven[] = {"5i5h", "5a5b", "5h5i", "5b5a"};
  static const char* const kGiverFirst[] = {"5a5b", "5i5h", "5b5a", "5h5i"};
  Moves m;
  const int first = HandicapStartIndex(start);
  for (int k = 0; k < plies; ++k)
    m.List[first + k] = UsiMove((first == 0 ? kEven : kGiverFirst)[k % 4]);
  return m;
}

TEST(BlockEncodingTest, AFullBlockCutsTheGameAndMarksItsResult) {
  struct Case {
    Handicap start;
    int plies;
    int result;
    int used;  // slots
    int stored;
    bool unsound_last = false;  // slot 255 holds a move that cannot be made
  } cases[] = {
      {Handicap::kEven, 300, kResultFirstWins, 256, kResultFirstWinsLater},
      {Handicap::kEven, 300, kResultImpasse, 256, kResultImpasseLater},
      {Handicap::kEven, 300, kResultNone, 256, kResultNone},
      {Handicap::kEven, 300, kResultSecondWinsLater, 256, kResultSecondWinsLater},
      {Handicap::kEven, 256, kResultFirstWins, 256, kResultFirstWins},
      {Handicap::kLance, 256, kResultSecondWins, 256, kResultSecondWinsLater},
      {Handicap::kLance, 255, kResultSecondWins, 256, kResultSecondWins},
      {Handicap::kEven, 300, kResultFirstWins, 255, kResultFirstWins, true},
  };
  for (const Case& c : cases) {
    GameRecord r;
    ResetGameRecord(r);
    r.StartIndex = HandicapStartIndex(c.start);
    Moves moves = ShuffleGame(c.start, c.plies);
    if (c.unsound_last) moves.List[255] = UsiMove("5a5b");  // that king stands on 5b
    std::memcpy(r.MoveList, moves.List, sizeof r.MoveList);
    r.ResultCode = c.result;
    KisenMoveBlock kisen;
    TarvelMoveBlock tarvel;
    const int used = EncodeKisenBlock(r.MoveList, c.start, kisen);
    EXPECT_EQ(used, c.used) << c.plies;
    EXPECT_EQ(EncodeTarvelBlock(r.MoveList, c.start, 1, tarvel), c.used) << c.plies;
    EXPECT_EQ(StoredResult(r, used), c.stored) << c.plies << " plies, result " << c.result;
    Moves back;
    EXPECT_EQ(DecodeKisenBlock(kisen, c.start, back.List), c.used);
    EXPECT_TRUE(
        std::equal(back.List + r.StartIndex, back.List + c.used, moves.List + r.StartIndex));
  }
}

TEST(BlockEncodingTest, TarvelNamesTakeTwelveBytesWithoutSplittingACharacter) {
  struct Case {
    const char* utf8;
    const char* field;  // the 12 stored bytes
    const char* read;   // the name read back
  } cases[] = {
      {"羽生善治名人", "894890b691508ea196bc906c", "羽生善治名人"},
      {"X谷川浩司九段", "58924a90ec8d5f8e698be300", "X谷川浩司九"},
      {"abcdefghijklm", "6162636465666768696a6b6c", "abcdefghijkl"},
      {"abc", "616263000000000000000000", "abc"},
  };
  const DatabaseNames names;
  for (const Case& c : cases) {
    GameRecord r;
    ResetGameRecord(r);
    CopyCp932Field(r.FirstName, Cp932(c.utf8));
    CopyCp932Field(r.SecondName, Cp932(c.utf8));
    TarvelIndexRecord index = BlockOf<TarvelIndexRecord>(std::string(80, 'f'));
    WriteTarvelIndex(r, 0, 0, names, index);
    EXPECT_EQ(Hex(index.FirstName, 12), c.field) << c.utf8;
    EXPECT_EQ(Hex(index.SecondName, 12), c.field) << c.utf8;
    const IndexFields fields = TarvelIndexFields(index, names);
    EXPECT_EQ(Utf8(fields.FirstPlayer), c.read);
    EXPECT_EQ(Utf8(fields.SecondPlayer), c.read);
  }
  // A stored field that ends in a lead byte (the next field's first byte would complete it)
  // or holds a control character is read up to the character before it.
  for (const char* field : {"6162636465666768696a6b88", "6162636465666768696a6b0d"}) {
    TarvelIndexRecord index = BlockOf<TarvelIndexRecord>(std::string(field) + "4100");
    EXPECT_EQ(TarvelIndexFields(index, names).FirstPlayer, "abcdefghijk") << field;
  }
}

}  // namespace
}  // namespace shogi
