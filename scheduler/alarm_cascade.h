#pragma once

// Where alarm windows open: each new one 20 pixels right of and below the previous one,
// starting in the middle of the screen; when a window would pass the usable area, the
// cascade starts again at the left edge, each new column 20 pixels lower than the last.
namespace zw {

inline constexpr int kAlarmWindowWidth = 375;
inline constexpr int kAlarmWindowHeight = 303;
inline constexpr int kAlarmCascadeStep = 20;

struct ScreenPoint {
    int left = 0;
    int top = 0;
    bool operator==(const ScreenPoint&) const = default;
};

class AlarmCascade {
public:
    // screenWidth/screenHeight: the primary screen's size at start-up. The first window is
    // centred on it; a later change of resolution does not move the start.
    AlarmCascade(int screenWidth, int screenHeight);

    // The top-left corner for the alarm window being opened now, placed against the client
    // size of a full-screen window (the screen less taskbar and caption); moves the
    // cascade on for the next window. Closing a window does not move it back.
    ScreenPoint nextPosition(int usableWidth, int usableHeight);

    // NextAlarmPosition: where the next window would go if it fits.
    ScreenPoint nextAlarmPosition() const { return next_; }
    // CascadeColumnTop: the top of the next column once the cascade starts again.
    int cascadeColumnTop() const { return columnTop_; }

private:
    ScreenPoint next_;
    int columnTop_ = 0;
};

} // namespace zw
