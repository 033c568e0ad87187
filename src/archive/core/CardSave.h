// Saving the card on screen: the three texts a card cannot do without, the characters a card cannot
// store, and the write itself, which overwrites the card in place when it has a position and appends
// it when it has none, then writes its photo.
//
// Several copies of the program may work on one book (bookers of an agency on a shared folder). A
// save holds the archive's lock from the first look at the card to the end of the photo's write, and
// overwrites a card only while it is still what this copy showed: its record byte for byte and its
// photo file. A card another copy changed meanwhile is reported, not overwritten, unless the user
// chose to overwrite it.
#pragma once

#include "archive/core/PhotoStore.h"
#include "archive/core/TScheda.h"
#include "base/FileStamp.h"

#include <QString>

#include <array>
#include <optional>

namespace CardSave {

// The texts of a card in record order: the twelve edit fields Titolo ... Note, then File01-03 and
// Desc01-03.
using Texts = std::array<QString, TScheda::kFieldCount>;

// The first required text that is empty once trimmed, in the order title, date, location.
std::optional<TScheda::Field> firstMissing(const Texts& texts);

// A character of a text that Windows-1252 does not hold, and the field whose text holds it.
struct Unstorable {
    TScheda::Field field;
    char32_t character;
};

// The first character, in record order, that a save would not store as it is (it would be written
// as a best-fit letter or as "?"); none when every text is stored exactly. A save checks this before
// it writes anything.
std::optional<Unstorable> firstUnstorable(const Texts& texts);

// A card as this copy of the program showed it: its record as read or last saved, and the stamp its
// photo file had then.
struct Seen {
    TScheda record;
    FileStamp photo;
};

// What the card on disk is now, for the card read at a position: taken when a card is shown.
FileStamp photoStampOf(const QString& bookName, int position);

struct Outcome {
    enum Kind {
        Saved,            // the card and its photo were written
        ChangedElsewhere, // another copy changed the card since it was seen: nothing written
        Gone,             // the book no longer holds a card at that position: nothing written
    } kind = Saved;
    int position = 0;       // the card's position once saved
    bool photoSaved = true; // false: the photo file could not be written (the record was)
    Seen seen;              // the card as it now stands on disk, when saved
};

// Fills the record buffer with the texts (each stored by the field rules, the bytes after each text
// left as the buffer had them), writes it at the position or appends it, then writes the photo as
// the card's photo file: a photo read from that very file is left as it is, anything else is written.
// With `expected`, a card at a position is overwritten only while the disk still holds that record
// and photo file. The record is on the disk when this returns Saved. Throws ArchiveError; the archive
// is closed on every path.
Outcome save(const QString& archivePath, const QString& bookName, std::optional<int> position,
             TScheda& record, const Texts& texts, const CardPhoto& photo, const Seen* expected);

} // namespace CardSave
