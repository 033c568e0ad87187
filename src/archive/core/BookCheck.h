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
        PendingJournal,    // an overwrite was interrupted; the next opening puts the card back
        TornJournal,       // an overwrite was interrupted before it began; the next opening drops it
        ForeignJournal,    // a journal written for another copy of the archive; the next opening keeps
                           // it aside, unapplied
        SaveInProgress,    // another copy of the program is saving right now: no damage
        LengthTooLarge,    // a length byte above its field's capacity
        InvalidText,       // bytes that are no text of the code page
        MissingPhoto,      // a card without its photo file
        UnreadablePhoto,   // a photo file that is not a picture
        StrayPhoto,        // a photo file of the book that belongs to no card
        OutsideAttachment, // an attachment name that leads out of the attachments folder
        MissingAttachment, // an attachment file that is not in the attachments folder
        IncompleteCard,    // a card without a title, a date or a location (an imported photo's card
                           // whose place the metadata did not say): the editor asks for it at the
                           // next save
    };
    // True for what is a problem of the book; a save in progress and a card still to complete are none.
    bool isProblem() const { return kind != SaveInProgress && kind != IncompleteCard; }
    Kind kind;
    int position; // the card concerned; 0 for the book as a whole
    QString text;
};

// Called now and then with the bytes read so far and the archive's size.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Checks the book of that name in the program folder: the journal, the archive's findings card by
// card, then the photos' and the attachments'. An ArchiveError when its archive cannot be read or
// holds more cards than the program can count.
QList<Finding> run(const QString& bookName, const Progress& progress = {});

struct Repair {
    QString backupPath;  // the copy kept before anything changed; empty when nothing was cut
    qint64 cutBytes = 0; // the bytes of the incomplete last record that were cut
};

// Under the archive's lock (so no save appends meanwhile, and an interrupted overwrite is dealt with
// first, as any opening does): when the last record is incomplete, keeps a copy of the archive beside
// it (<archive>.bak, or .bak.2, .bak.3 ... when earlier copies are there, which are never
// overwritten) and then cuts that record. An archive that ends on a whole record is left as it is and
// no copy is made. An ArchiveError, with the archive as it was, when the copy or the cut fails.
Repair repair(const QString& bookName);

} // namespace BookCheck
