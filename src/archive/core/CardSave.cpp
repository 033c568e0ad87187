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

int save(const QString& archivePath, std::optional<int> position, TScheda& record, const Texts& texts) {
    BookArchive archive;
    archive.Open(archivePath);
    // From the count to the end of the write no other copy of the program may save into this book.
    archive.LockForWriting();
    archive.Seek(position ? *position - 1 : archive.Count());
    for (int f = 0; f < TScheda::kFieldCount; ++f)
        record.setField(TScheda::Field(f), texts[f]);
    archive.Write(record);
    const int saved = archive.Position();
    archive.Close();
    return saved;
}

} // namespace CardSave
