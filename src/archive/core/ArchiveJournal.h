// The journal that guards an overwrite of a card in place: the disk blocks the write touches, as they
// were before it and as the write leaves them, kept beside the archive until the write is durable.
//
// A journal is applied only to the archive it was written for. Bytes on the disk that are neither the
// old nor the new ones at that place (a copy of the archive restored from a backup, a book replaced by
// another one) show that the archive is no longer the one the interrupted write was changing: putting
// the old bytes back there would damage the cards that are now on the disk.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ArchiveJournal {

// The unit the disk writes in. A write cut short by a power failure can leave a whole block damaged,
// the bytes of the neighbouring cards in it as well, so the journal keeps whole blocks.
inline constexpr qint64 kBlock = 4096;
// A record spans at most two blocks.
inline constexpr qint64 kMaxSaved = 2 * kBlock;
// The largest journal file there is; anything larger is not one.
qint64 maxFileSize();

// The journal of an overwrite: `before` are the archive's bytes at offset (a multiple of the block)
// before the write, `after` the same bytes as the write leaves them.
QByteArray encode(qint64 offset, const QByteArray& before, const QByteArray& after);

struct Entry {
    qint64 offset = 0;
    QByteArray before;
    // Empty for a journal written by an earlier version of the program, which kept only the old bytes.
    QByteArray after;
};

// The entry a journal file holds, or nothing when the file is torn (cut short or damaged while it was
// being written, before the overwrite it guards began) or is no journal at all.
std::optional<Entry> decode(const QByteArray& file);

enum class Verdict {
    Untouched, // the archive holds the old bytes: the write never began, nothing to put back
    RollBack,  // the archive holds the old or the new byte at every place: put the old bytes back
    Foreign,   // the archive is not the one the journal was written for: leave it as it is
};

// What to do with the entry on the archive whose bytes at entry.offset are `current` (fewer bytes
// when the archive ends before the entry does).
Verdict judge(const Entry& entry, const QByteArray& current);

// The position (from 1) of the card whose overwrite the entry guards, from the first byte it changes;
// 0 when that cannot be told (an earlier version's journal, or a write that changed nothing).
int positionOf(const Entry& entry);

} // namespace ArchiveJournal
