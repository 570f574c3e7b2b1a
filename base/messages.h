#pragma once

#include <QString>

#include "analysis/key_search.h"

// What the window, the key search dialog and the command line all say.

inline QString MethodName(abc::CipherMethod method)
{
    return method == abc::CipherMethod::ABC ? QStringLiteral("ABC-Chiffre") : QStringLiteral("ABCD-Chiffre");
}

inline QString EmptyKeywordMessage()
{
    return QStringLiteral("Das Schlüsselwort darf nicht leer sein!");
}

// A cleaned text longer than the key columns hold.
inline QString MatrixTooSmallMessage(int capacity, long long left)
{
    return QStringLiteral("Die Matrix fasst bei diesem Schlüssel nur %1 Buchstaben, "
                          "%2 Buchstaben des bereinigten Textes passen nicht hinein!")
        .arg(capacity)
        .arg(left);
}

inline QString TooShortMessage()
{
    return QStringLiteral("Der Text ist zu kurz für eine Schlüsselsuche (mindestens %1 Buchstaben).")
        .arg(abc::search::MinTextLength);
}

inline QString NoCandidateMessage()
{
    return QStringLiteral("Kein Kandidat liest sich wie deutscher Text.");
}

// Shown for a column order that no keyword of 26 letters gives.
inline QString UnwritableKeyText()
{
    return QStringLiteral("(mehr als 26 Buchstaben nötig)");
}

// The phase a search is in: the word lists, or climbs at one key length.
inline QString SearchPhaseText(int keyLength)
{
    return keyLength > 0 ? QStringLiteral("Schlüssellänge %1").arg(keyLength) : QStringLiteral("Schlüsselwörter");
}
