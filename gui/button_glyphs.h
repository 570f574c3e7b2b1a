#pragma once

#include <QIcon>

// The small pictures of the bitmap buttons, drawn as vectors at whatever size
// and pixel ratio a button asks for: no image files to decode at start-up and
// sharp at every scale.
enum class ButtonGlyph { Ok, Abort, Yes, All, Retry, Close };

QIcon ButtonGlyphIcon(ButtonGlyph glyph);
