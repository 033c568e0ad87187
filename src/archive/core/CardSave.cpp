#include "archive/core/CardSave.h"

#include "archive/core/BookArchive.h"
#include "archive/core/Cp1252.h"
#include "base/TextRules.h"

namespace CardSave {

std::optional<TScheda::Field> firstMissing(const Texts& texts) {
    for (TScheda::Field field : {TScheda::Titolo, TScheda::Data, TScheda::Location}) {
        if (TextRules::trim(texts[field]).isEmpty())
            return field;
    }
    return std::nullopt;
}

std::optional<Unstorable> firstUnstorable(const Texts& texts) {
    for (int f = 0; f < TScheda::kFieldCount; ++f) {
        if (const std::optional<char32_t> c = Cp1252::firstUnheld(TextRules::trim(texts[f])))
            return Unstorable{TScheda::Field(f), *c};
    }
    return std::nullopt;
}

FileStamp photoStampOf(const QString& bookName, int position) {
    return FileStamp::of(PhotoStore::photoPath(bookName, position));
}

Outcome save(const QString& archivePath, const QString& bookName, std::optional<int> position,
             TScheda& record, const Texts& texts, const CardPhoto& photo, const Seen* expected) {
    BookArchive archive;
    archive.open(archivePath);
    // From the count to the end of the photo's write no other copy of the program may save into
    // this book: what is checked below is what is overwritten.
    archive.lockForWriting();
    TScheda filled = record;
    for (int f = 0; f < TScheda::kFieldCount; ++f)
        filled.setField(TScheda::Field(f), texts[f]);
    if (position) {
        if (*position > archive.count())
            return {Outcome::Gone, *position, false, {}};
        if (expected) {
            archive.seek(*position - 1);
            // This very save, left on the disk by an earlier try that failed at its end, is no change
            // made elsewhere.
            const TScheda::Bytes onDisk = archive.read().bytes();
            const bool sameRecord = onDisk == expected->record.bytes() || onDisk == filled.bytes();
            if (!sameRecord || photoStampOf(bookName, *position) != expected->photo)
                return {Outcome::ChangedElsewhere, *position, false, {}};
        }
    }
    archive.seek(position ? *position - 1 : archive.count());
    record = filled;
    archive.write(record);
    Outcome outcome;
    outcome.position = archive.position();
    const std::unique_ptr<FileLock> lock = archive.closeKeepingLock(); // the photo follows a saved card only
    // The photo the card already has on disk is left as it is, byte for byte; anything else is written.
    // A photo that cannot be written leaves the earlier file as it was.
    outcome.photoSaved = PhotoStore::isStoredPhotoOf(photo, bookName, outcome.position) ||
                         PhotoStore::saveCardPhoto(photo.full(), bookName, outcome.position);
    outcome.seen = {record, photoStampOf(bookName, outcome.position)};
    return outcome;
}

} // namespace CardSave
