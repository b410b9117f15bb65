// The header lines, the board diagram and the end words of the KIF and KI2 readers.
#include "records/kakinoki_header.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "records/notation.h"
#include "records/record_io.h"
#include "rules/handicap.h"

namespace shogi {
namespace {

// What an end word does to the result.
enum class EndKind { kMoverLoses, kMoverWins, kNoResult, kRepetition, kImpasse };

struct EndWord {
  std::string text;
  EndKind kind;
};

// A handicap name other programs write that our table spells differently or lacks.
struct HandicapAlias {
  std::string name;
  Handicap handicap;
  int emptied_square;  // a further square of the second player's cleared, 0 for none
};

struct HeaderTexts {
  std::string colon = Cp932("：");
  std::string handicap = Cp932("手合割：");
  std::string first_name[2] = {Cp932("先手："), Cp932("下手：")};
  std::string second_name[2] = {Cp932("後手："), Cp932("上手：")};
  std::string first_hand[2] = {Cp932("先手の持駒："), Cp932("下手の持駒：")};
  std::string second_hand[2] = {Cp932("後手の持駒："), Cp932("上手の持駒：")};
  std::string first_to_move[2] = {Cp932("先手番"), Cp932("下手番")};
  std::string second_to_move[2] = {Cp932("後手番"), Cp932("上手番")};
  std::string tournament = Cp932("棋戦：");
  std::string opening = Cp932("戦型：");
  std::string start_time = Cp932("開始日時：");
  std::string wide_space = Cp932("　");
  std::string other = Cp932("その他");
  std::vector<HandicapAlias> aliases = {
      {Cp932("飛落ち"), Handicap::kRook, 0},
      {Cp932("飛車香落ち"), Handicap::kRookLance, 0},
      {Cp932("右香落ち"), Handicap::kEven, SquareOf(9, 1)},
      {Cp932("歩三兵"), Handicap::kThreePawns, 0},
  };
  std::vector<EndWord> end_words = {
      {Cp932("投了"), EndKind::kMoverLoses},     {Cp932("詰"), EndKind::kMoverLoses},
      {Cp932("切れ負け"), EndKind::kMoverLoses}, {Cp932("反則負け"), EndKind::kMoverLoses},
      {Cp932("反則勝ち"), EndKind::kMoverWins},  {Cp932("入玉勝ち"), EndKind::kMoverWins},
      {Cp932("不戦敗"), EndKind::kMoverLoses},   {Cp932("不戦勝"), EndKind::kMoverWins},
      {Cp932("中断"), EndKind::kNoResult},       {Cp932("不詰"), EndKind::kNoResult},
      {Cp932("封じ手"), EndKind::kNoResult},     {Cp932("千日手"), EndKind::kRepetition},
      {Cp932("持将棋"), EndKind::kImpasse},
  };
  std::string summary = Cp932("まで");
  std::string variation = Cp932("変化：");
  std::string first_side[2] = {Cp932("先手"), Cp932("下手")};
  std::string second_side[2] = {Cp932("後手"), Cp932("上手")};
  std::string wins = Cp932("勝ち");
  std::string loses = Cp932("負け");
  std::string repetition = Cp932("千日手");
  std::string impasse = Cp932("持将棋");
};

const HeaderTexts& HeaderText() {
  static const HeaderTexts texts;
  return texts;
}

bool StartsWithEither(std::string_view line, const std::string (&labels)[2], std::size_t& size) {
  for (const std::string& label : labels) {
    if (StartsWith(line, label)) {
      size = label.size();
      return true;
    }
  }
  return false;
}

// `text` without the ASCII and full-width spaces at its end.
std::string_view TrimSpaces(std::string_view text) {
  const std::string& wide = HeaderText().wide_space;
  for (;;) {
    if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
      text.remove_suffix(1);
    } else if (text.size() >= 2 && text.substr(text.size() - 2) == wide &&
               Cp932CutLength(text, text.size() - 2) == text.size() - 2) {
      text.remove_suffix(2);
    } else {
      return text;
    }
  }
}

// The ResultCode of a summary line "まで64手で後手の勝ち" (also 先手/下手/上手, 勝ち or 負け,
// 千日手, 持将棋, 中断): -1 when `line` is no such line, kResultNone when it names no outcome.
int SummaryLineResult(std::string_view line) {
  const HeaderTexts& x = HeaderText();
  if (!StartsWith(line, x.summary)) return -1;
  const auto has = [&](const std::string& word) {
    return line.find(word) != std::string_view::npos;
  };
  if (has(x.repetition)) return kResultRepetition;
  if (has(x.impasse)) return kResultImpasse;
  const bool first = has(x.first_side[0]) || has(x.first_side[1]);
  const bool second = has(x.second_side[0]) || has(x.second_side[1]);
  if (first == second) return kResultNone;
  if (has(x.wins)) return first ? kResultFirstWins : kResultSecondWins;
  if (has(x.loses)) return first ? kResultSecondWins : kResultFirstWins;
  return kResultNone;
}

}  // namespace

void KakinokiHeader::TakeHandicap(std::string_view name) {
  const HeaderTexts& x = HeaderText();
  name = TrimSpaces(name);
  needs_diagram_ = false;
  for (const HandicapRow& row : kHandicaps) {
    if (row.RecordName == nullptr || name != Cp932(row.RecordName)) continue;
    r_.InitialPosition = HandicapPosition(row.Id);
    r_.StartIndex = HandicapStartIndex(row.Id);
    return;
  }
  for (const HandicapAlias& alias : x.aliases) {
    if (name != alias.name) continue;
    r_.InitialPosition = HandicapPosition(alias.handicap);
    if (alias.emptied_square != 0) r_.InitialPosition.Board[alias.emptied_square] = 0;
    r_.StartIndex = 1;
    return;
  }
  // その他 and any name we do not know: only a diagram tells the position.
  needs_diagram_ = true;
}

void KakinokiHeader::StartDiagram(std::string_view gote_hand) {
  std::memset(&r_.InitialPosition, 0, sizeof r_.InitialPosition);
  r_.InitialPosition.King[kFirst] = r_.InitialPosition.King[kSecond] = kNoKing;
  ReadHandText(gote_hand, r_.InitialPosition.Hand[kSecond]);
  ranks_ = 0;
}

bool KakinokiHeader::Take(std::string_view line, bool& malformed) {
  const HeaderTexts& x = HeaderText();
  malformed = false;
  std::size_t label = 0;
  if (ranks_ >= 0 && ranks_ < 9) {
    // Inside a diagram every line belongs to it; the ranks are the lines beginning "|".
    if (!line.empty() && line[0] == '|') {
      if (!ReadDiagramRank(line, ++ranks_, r_.InitialPosition)) {
        malformed = true;
        return true;
      }
      if (ranks_ == 9) {
        FindKingSquares(r_.InitialPosition);
        needs_diagram_ = false;
      }
    }
    return true;
  }
  if (line.empty() || line[0] == '*' || line[0] == '#' || line[0] == '&') return true;
  if (StartsWith(line, x.handicap)) {
    TakeHandicap(line.substr(x.handicap.size()));
  } else if (StartsWithEither(line, x.second_hand, label)) {
    StartDiagram(line.substr(label));
  } else if (StartsWithEither(line, x.first_hand, label)) {
    ReadHandText(line.substr(label), r_.InitialPosition.Hand[kFirst]);
  } else if (StartsWithEither(line, x.first_name, label)) {
    CopyCp932Field(r_.FirstName, CutName(line.substr(label)));
    first_name_ = true;
  } else if (StartsWithEither(line, x.second_name, label)) {
    CopyCp932Field(r_.SecondName, CutName(line.substr(label)));
    second_name_ = true;
  } else if (StartsWith(line, x.tournament)) {
    CopyCp932Field(r_.Tournament, CutName(line.substr(x.tournament.size()), kNameFieldSize - 1));
  } else if (StartsWith(line, x.opening)) {
    CopyCp932Field(r_.Opening, CutName(line.substr(x.opening.size()), kNameFieldSize - 1));
  } else if (StartsWith(line, x.start_time)) {
    ReadSlashDate(line.substr(x.start_time.size()), r_);
  } else if (StartsWithEither(line, x.second_to_move, label)) {
    r_.StartIndex = 1;
  } else if (StartsWithEither(line, x.first_to_move, label)) {
    r_.StartIndex = 0;
  } else {
    // Any other "key：value" line (終了日時, 場所, 持ち時間 ...) carries nothing we keep.
    const std::size_t colon = line.find(x.colon);
    return colon != std::string_view::npos && Cp932CutLength(line, colon) == colon;
  }
  return true;
}

bool KakinokiHeader::ReadyForMoves() const {
  return !needs_diagram_ && (ranks_ < 0 || ranks_ == 9);
}

int EndWordResult(std::string_view text, int index) {
  for (const EndWord& word : HeaderText().end_words) {
    if (!StartsWith(text, word.text)) continue;
    const bool first_to_move = SideOfPly(index) == kFirst;
    switch (word.kind) {
      case EndKind::kMoverLoses:
        return first_to_move ? kResultSecondWins : kResultFirstWins;
      case EndKind::kMoverWins:
        return first_to_move ? kResultFirstWins : kResultSecondWins;
      case EndKind::kNoResult:
        return kResultNone;
      case EndKind::kRepetition:
        return kResultRepetition;
      case EndKind::kImpasse:
        return kResultImpasse;
    }
  }
  return -1;
}

bool BeginsEndWordText(std::string_view text, std::size_t at) {
  // Hiragana begin at 0x829F in cp932; katakana and kanji follow. Full-width digits,
  // letters and signs come before.
  constexpr Kanji kFirstKana = 0x829F;
  if (at + 1 >= text.size() || !IsCp932LeadByte(static_cast<unsigned char>(text[at]))) return false;
  const Kanji k = KanjiAt(text, at);
  return k >= kFirstKana && k != Notation().same;
}

bool EndsMainLine(std::string_view line, int& result) {
  if (StartsWith(line, HeaderText().variation)) return true;
  const int summary = SummaryLineResult(line);
  if (summary < 0) return false;
  result = summary;
  return true;
}

}  // namespace shogi
