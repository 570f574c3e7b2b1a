#pragma once

class QWidget;

// Keeps a top-level window of a fixed layout within the available area of
// its screen: as large as its layout where the screen has room for it, else
// as large as the screen allows, frame included (the window's content then
// scrolls). Fitted again when the window moves to another screen or its
// screen's area or scale changes, so a larger screen gives it its whole
// layout back. A maximised or full-screen window is left to the window
// manager.
//
// Call before the first show; the window's size then is its layout's size.
void KeepWithinScreen(QWidget *window);
