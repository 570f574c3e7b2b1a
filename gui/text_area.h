#pragma once

class QPlainTextEdit;
class QString;

// Shows a text in one of the window's monospace text areas, wrapped as the
// area wraps it, also when the text runs to megabytes.
void ShowText(QPlainTextEdit *area, const QString &text);
