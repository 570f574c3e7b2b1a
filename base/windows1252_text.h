#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The one crossing between the controls' Unicode text and the engine's
// Windows-1252 bytes.

// A character that Windows-1252 cannot hold becomes this byte, which the code
// page leaves undefined: no rule keeps it and no key letter matches it.
inline constexpr char UnmappableByte = '\x81';

std::string ToWindows1252(QStringView text);
// The text of a multi-line area, its line breaks as CR LF.
std::string ToWindows1252Lines(QStringView text);
QString FromWindows1252(std::string_view bytes);
