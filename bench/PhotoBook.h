// A book whose cards all show one photo file, through links named as the cards' photo files, in the
// program folder in use.
#pragma once

#include "archive/core/PhotoStore.h"

#include <QFile>

inline bool linkPhotos(const QString& bookName, const QString& photo, int cards) {
    if (!PhotoStore::ensureFolder())
        return false;
    for (int position = 1; position <= cards; ++position) {
        if (!QFile::link(photo, PhotoStore::photoPath(bookName, position)))
            return false;
    }
    return true;
}
