// Saving the card on screen: the three texts a card cannot do without, the characters a card cannot
// store, and the write itself, which overwrites the card in place when it has a position and appends
// it when it has none.
#pragma once

#include "archive/core/TScheda.h"

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

// Fills the record buffer with the texts (each stored by the field rules, the bytes after each text
// left as the buffer had them), writes it at the position or appends it, and returns the card's
// position. The record is on the disk when this returns. Throws ArchiveError; the archive is closed
// on every path.
int save(const QString& archivePath, std::optional<int> position, TScheda& record, const Texts& texts);

} // namespace CardSave
