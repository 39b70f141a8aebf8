#pragma once
// Where the clock window goes at start.
#include "platform/placement/tray_placement.h"

namespace zw {

class ClockSettings;

// Top-right corner of the screen: where the clock goes when no position was saved.
Point defaultClockPosition(Size window, Size screen);

// Brings a saved clock position back onto the screen after, for example, a change to a
// smaller resolution. Only the left and top edges are compared with the screen size, so a
// window whose left edge still lies on the screen keeps its place even if it reaches past
// the right edge; a window wholly left of or above the screen goes to 0.
Point correctedClockPosition(Point saved, Size window, Size screen);

// The clock's position at start: the saved one (or the default), corrected as above.
Point clockPositionAtStartup(const ClockSettings& settings, Size window, Size screen);

} // namespace zw
