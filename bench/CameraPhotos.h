// Four distinct photos from a 24-megapixel camera, made once in the benchmarks' data folder
// ("Foto_24MP_1.jpg" ...) and kept between runs; through links they stand for the photos of a book's
// cards. Each is made with its own seed, so no two are alike.
#pragma once

#include "BookGenerator.h"
#include "Figures.h"

#include <QFile>
#include <QStringList>

#include <cstdint>

namespace CameraPhotos {

inline constexpr int kCount = 4;

// Photo n, from 1.
inline QString path(int n) {
    return Figures::dataFile(QStringLiteral("Foto_24MP_%1.jpg").arg(n));
}

inline QStringList all() {
    QStringList photos;
    for (int n = 1; n <= kCount; ++n)
        photos << path(n);
    return photos;
}

// Makes the photos that are not there yet; false when one cannot be written.
inline bool ensure() {
    for (int n = 1; n <= kCount; ++n) {
        if (!QFile::exists(path(n)) &&
            !BookGenerator::writePhoto(path(n), BookGenerator::k24Megapixel, 92, std::uint32_t(n)))
            return false;
    }
    return true;
}

} // namespace CameraPhotos
