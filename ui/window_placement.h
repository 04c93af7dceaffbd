#pragma once
// Where a window stands on the screen. A design position is the frame's (title bar and border
// included), not the client area's: placed by its client area, a window at the top of the screen
// would have its title bar above the screen's edge.
#include <QPoint>

class QWidget;

namespace ui {

// Puts the window's frame at topLeft. Under a window manager the frame's size is known only once
// the window is on the screen, so the position is handed to the window system as the frame's
// when the window is first shown, and the window manager places the frame there.
void placeFrame(QWidget* window, QPoint topLeft);

}  // namespace ui
