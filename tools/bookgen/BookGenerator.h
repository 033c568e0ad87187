// Made-up books as large as anyone will keep: archives of cards whose texts read like a real
// photographer's notes (Italian words, accented letters, lengths that vary from card to card), and
// photos the size a 24- or 45-megapixel camera writes. The same seed always gives the same bytes.
#pragma once

#include <QSize>
#include <QString>

#include <cstdint>

namespace BookGenerator {

// Portrait photos of the two camera classes a studio uses.
inline constexpr QSize k24Megapixel{4000, 6000};
inline constexpr QSize k45Megapixel{5504, 8256};

// The size in bytes of an archive of `cards` cards.
std::int64_t archiveSize(int cards);

// Writes a new archive of `cards` cards at path, replacing any file there; false on failure.
bool writeArchive(const QString& path, int cards, std::uint32_t seed = 1);

// Writes a JPEG photo of the given size: soft light falling across the frame with fine grain, so it
// compresses like a real photo; false on failure.
bool writePhoto(const QString& path, QSize size, int quality = 92, std::uint32_t seed = 1);

// Makes the file only when nothing of the expected size is there yet (archives) or nothing is there
// (photos), so repeated benchmark runs reuse what an earlier run made.
bool ensureArchive(const QString& path, int cards);
bool ensurePhoto(const QString& path, QSize size);

} // namespace BookGenerator
