#pragma once

#include <QString>

#include "analysis/key_search.h"

// What the key search dialog and the command line both say about a search.

inline QString MethodName(abc::CipherMethod method)
{
    return method == abc::CipherMethod::ABC ? QStringLiteral("ABC-Chiffre") : QStringLiteral("ABCD-Chiffre");
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
