// The quick find over the result lines: the same key pressed again moves on to the next line that
// holds it, wrapping after the last; a new key starts again from the first line. The last key is kept
// for the whole program and emptied each time the search window is shown.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace QuickFind {

// The line to select for the key, given the selected line (none: the first), or nothing when no line
// holds the key. Remembers the key as the last one either way.
std::optional<int> find(const QStringList& lines, std::optional<int> selected, const QString& key);

QString lastKey();
void forgetLastKey();

} // namespace QuickFind
