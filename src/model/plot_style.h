// How a series is drawn: the marker at each point and the line joining them.
#pragma once

namespace zx {

enum class MarkerShape { None, FilledCircle, FilledRectangle, FilledTriangle, Circle, Rectangle, Triangle };

// None leaves the points unjoined.
enum class LinePattern { None, Solid, Dash, Dot, DashDot, DashDotDot };

}  // namespace zx
