#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

#include "engine/windows1252.h"

// The one crossing between Qt's Unicode text (controls, files, arguments) and
// the engine's Windows-1252 bytes. Characters are composed first, so that a
// letter typed with a combining accent is one character, as the user sees it;
// characters the code page cannot hold become abc::UnmappableByte.

std::string ToWindows1252(QStringView text);
// The text of a multi-line area, its line breaks as CR LF.
std::string ToWindows1252Lines(QStringView text);
QString FromWindows1252(std::string_view bytes);
