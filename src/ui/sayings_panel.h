// The sayings panel: five tips and then eleven sayings written onto a
// drawing panel character by character, like a typewriter, with waits in
// between during which the window goes on working.
//
// Tips 1 to 4 explain the pay form's colours and that its results are only
// a guide; tip 5 says how to reach help (the picture button at the lower
// right opens the user guide). Each tip is written whole. The sayings are
// stored with a space after every character, and the second ends with two
// spaces; splitting at the spaces (sayingPieces) gives 34, 27, 19, 29, 30,
// 30, 18, 22, 15, 15 and 8 pieces, each one character, but for the second
// saying's last piece, which is empty. Sayings 9 to 11 are one joke: two
// lines of 15 characters near the foot and the 8-character punch line above
// them, indented.
//
// Places (panel pixels) and waits (milliseconds):
//   tips 1 to 5 at (10, 20), (10, 40), ... (10, 100); 500 before tip 1, 1000
//   after each of tips 1 to 4 (each followed by a line break), 3000 after
//   tip 5;
//   sayings 1 to 8 at (0, 150), (0, 190), ... (0, 430), 9 and 10 at (0, 540)
//   and (0, 580), 11 at (60, 500); each piece is written as a space, a wait
//   of 90, the piece; 3000 after each of sayings 1 to 10.
// About 60 seconds in all; the first character of saying 1 appears 7.59 s
// after the start.
//
// Only the start of each text sets the panel's write position: a run that
// another run interrupted (a page change during a wait starts one) goes on
// from wherever that one left the position. The panel is never cleared.
#pragma once

#include <QPoint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qinghe::ui {

class DrawingPanel;

inline constexpr int kTipCount = 5;
inline constexpr int kSayingCount = 11;

// A text and where it starts (GBK; a saying in its stored, spaced form).
struct PlacedText {
    std::string text;
    QPoint place;
};

std::span<const PlacedText> sayingsPanelTips();
std::span<const PlacedText> sayingsPanelSayings();

// The pieces of a stored saying: every space ends a piece; what follows the
// last space is a piece only when it is not empty.
std::vector<std::string_view> sayingPieces(std::string_view stored);

// Writes the tips and sayings on `panel`, waiting through `wait(ms)` where
// the script waits. Returns false as soon as a wait returns false, without
// touching the panel again (it may be gone); true when all was written.
bool writeSayings(DrawingPanel& panel, const std::function<bool(int ms)>& wait);

}  // namespace qinghe::ui
