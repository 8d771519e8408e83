#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pausewell {

inline constexpr int kCornerRight = 20;
inline constexpr int kCornerBottom = 40;

// The window's top-left corner: 20 px from the right and 40 px from the bottom of
// the screen, all in logical pixels.
constexpr QPoint cornerPosition(const QRect &screen, const QSize &window) {
    return {screen.x() + screen.width() - window.width() - kCornerRight,
            screen.y() + screen.height() - window.height() - kCornerBottom};
}

} // namespace pausewell
