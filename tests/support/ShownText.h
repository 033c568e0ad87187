// What a one-line field shows of a text longer than the field.
#pragma once

#include <QLineEdit>
#include <QPoint>

// The position of the character the field shows first, at its left edge: 0 when the text is read from
// its beginning.
inline int firstShown(QLineEdit* field) {
    field->grab(); // lays the text out where the screen shows it
    return field->cursorPositionAt(QPoint(1, field->height() / 2));
}
