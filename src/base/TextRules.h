// The two text rules that every part of the program shares: trimming and A-Z case folding.
#pragma once

#include <QString>
#include <QStringView>

namespace TextRules {

// Removes every character whose code is 32 or below (blanks and control characters) at both ends.
// Inner characters stay. Narrower than QString::trimmed(), which also knows Unicode spaces.
QString trim(QStringView text);

// Folds the letters A to Z to lower case and leaves every other character as it is.
QString foldAZ(QStringView text);

// Raises the letters a to z to upper case and leaves every other character as it is.
QString upperAZ(QStringView text);

// One character folded as foldAZ folds it.
inline char16_t foldedAZ(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

inline bool isTrimmedAway(QChar c) {
    return c.unicode() <= 32;
}

} // namespace TextRules
