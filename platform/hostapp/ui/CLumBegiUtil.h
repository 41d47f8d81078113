// The colours of the host's beginner-style windows (navigators and their
// buttons): a table of two colour sets, and the shift that follows the
// system's colours when the user asked for those.
#pragma once

#include "win32/windows.h"

// Per-channel difference between two colours.
struct LumColorDiff {
    int red = 0;
    int green = 0;
    int blue = 0;
};

class CLumBegiUtil {
  public:
    // Number of indexes in each colour set.
    static constexpr int kColorCount = 32;

    // The colour of an index in a set (0 or 1) as it is shown: the table's
    // colour, shifted toward the system's colours when those are in use.
    // Black for an index or set outside the table.
    static COLORREF getColor(int index, int set);
    // The table's own colour, never shifted.
    static COLORREF getColorRaw(int index, int set);
    // What turns `from` into `to`, channel by channel.
    static LumColorDiff getColorDiff(COLORREF to, COLORREF from);
    // Applies a difference, keeping each channel within 0 to 255.
    static COLORREF shiftColor(COLORREF color, const LumColorDiff& diff);
    static bool isUsingSysColor();
    // The host's option "use the system's colours".
    static void setUsingSysColor(bool use);
};
