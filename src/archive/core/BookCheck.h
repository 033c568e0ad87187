// A check of one book as it lies on the disk: the archive read byte by byte (never opened for
// writing, no journal replayed) and the photo folder listed. Each finding is one line of Italian
// text. The one repair offered keeps a copy of the archive first and then cuts a last record left
// incomplete, which no program can read, and nothing else.
#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace BookCheck {

struct Finding {
    enum Kind {
        CutRecord,         // the last record is incomplete
        PendingJournal,    // an overwrite was interrupted; the next opening completes it
        LengthTooLarge,    // a length byte above its field's capacity
        InvalidText,       // bytes that are no text of the code page
        MissingPhoto,      // a card without its photo file
        UnreadablePhoto,   // a photo file that is not a picture
        StrayPhoto,        // a photo file of the book that belongs to no card
        OutsideAttachment, // an attachment name that leads out of the attachments folder
    };
    Kind kind;
    int position; // the card concerned; 0 for the book as a whole
    QString text;
};

// Called now and then with the bytes read so far and the archive's size.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Checks the book of that name in the program folder: the archive's findings card by card, then the
// photos'. An ArchiveError when its archive cannot be read.
QList<Finding> run(const QString& bookName, const Progress& progress = {});

struct Repair {
    QString backupPath;  // the copy kept before anything changed
    qint64 cutBytes = 0; // the bytes of the incomplete last record that were cut
};

// Keeps a copy of the archive beside it (<archive>.bak, or .bak.2, .bak.3 ... when earlier copies are
// there, which are never overwritten), then cuts an incomplete last record under the archive's lock.
// An ArchiveError, with the archive as it was, when the copy or the cut fails.
Repair repair(const QString& bookName);

} // namespace BookCheck
