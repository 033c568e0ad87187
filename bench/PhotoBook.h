// A book whose cards all show one photo file, through links named as the cards' photo files, in the
// program folder in use.
#pragma once

#include "archive/core/PhotoStore.h"

#include <QFile>
#include <QStringList>

// Card n shows photos[(n - 1) % photos.size()], so a few distinct files stand for a book of many.
inline bool linkPhotos(const QString& bookName, const QStringList& photos, int cards) {
    if (photos.isEmpty() || !PhotoStore::ensureFolder())
        return false;
    for (int position = 1; position <= cards; ++position) {
        const QString link = PhotoStore::photoPath(bookName, position);
        QFile::remove(link);
        if (!QFile::link(photos[(position - 1) % photos.size()], link))
            return false;
    }
    return true;
}

inline bool linkPhotos(const QString& bookName, const QString& photo, int cards) {
    if (!PhotoStore::ensureFolder())
        return false;
    for (int position = 1; position <= cards; ++position) {
        if (!QFile::link(photo, PhotoStore::photoPath(bookName, position)))
            return false;
    }
    return true;
}
