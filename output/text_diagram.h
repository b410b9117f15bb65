// The text diagrams and the text record of the output menu, built as cp932 text with "\n"
// line ends: the standard, mail, Kaya, merged and Morita diagrams of the shown position and
// the standard record of the whole game.
#pragma once

#include <string>

#include "rules/game_record.h"

namespace shogi {

// The standard record writes list indices 0..300 and no further.
constexpr int kRecordTextLastIndex = 300;

// The labels of the two sides: 先手 / 後手, or 下手 / 上手 when gote moves first.
std::string SideLabel(const GameRecord& record, Side side);

// "持駒  金,銀2,歩3" (kinds from 飛 down to 歩, ASCII counts from 2), "持駒  なし" when empty.
std::string HandText(const Position& pos, Side side);

// The hand of the problem pictures and the Morita diagram, all full-width: "金銀二歩十一"
// (kinds from 飛 down to 歩, kanji counts from 2, 十 and the rest from ten), "なし" when empty.
std::string KanjiHandText(const Position& pos, Side side);

// The caption of the shown position's last move: "先手5手目７六歩", "後手6手目同歩"; "" at the
// record's start.
std::string LastMoveCaption(const GameRecord& record);

// The diagrams of the position after record.PlyCount plies.
std::string StandardDiagram(const GameRecord& record);
std::string MailDiagram(const GameRecord& record);
std::string KayaDiagram(const GameRecord& record);
std::string MergedDiagram(const GameRecord& record);
// `counter`: the Morita diagrams already written to the output file; the title shows the
// full-width digit of (counter + 1) mod 10.
std::string MoritaDiagram(const GameRecord& record, int counter);

// The whole game as the standard record: names, six moves a line, the result line.
std::string StandardRecordText(const GameRecord& record);

// `text` with every "\n" written as CR LF, as files and the clipboard hold text.
std::string WithCrLf(const std::string& text);

}  // namespace shogi
