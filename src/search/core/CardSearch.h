// Finding the cards of a book by the text of ten of their fields, and the one-line summary of each
// card found. A search reads the archive once, sequentially and in large blocks, and sorts once.
#pragma once

#include "archive/core/TScheda.h"

#include <QList>
#include <QString>

#include <array>

namespace CardSearch {

// The ten fields a search can look in, in the order of the search window.
inline constexpr std::array<TScheda::Field, 10> kSearchable = {
    TScheda::Titolo,     TScheda::Descrizione, TScheda::Data,   TScheda::Location, TScheda::Fotografo,
    TScheda::Fotocamera, TScheda::Abiti,       TScheda::Trucco, TScheda::Giudizio, TScheda::Note};

// The criteria as typed, one per searchable field, in the order of kSearchable.
using Criteria = std::array<QString, 10>;

// How many criteria are given: those whose text, trimmed, is not empty.
int criteriaCount(const Criteria& criteria);

// True when every criterion occurs, as typed (blanks included) and with A-Z folded, in its field.
// With no criteria every card matches.
bool matches(const TScheda& card, const Criteria& criteria);

// The card's line: title in 50 characters, "  Data: ", date in 10, "  Location: ", location in 30,
// "  Note:  " and the whole note; each text trimmed, then padded with blanks or cut.
QString resultLine(const TScheda& card);

// List order: the letters A-Z compared without regard to case, every other character by its code.
bool linesBefore(const QString& a, const QString& b);

struct Hit {
    QString line;
    int position; // the card's position in the archive
};

// The cards that match, in list order (cards with equal lines in archive order). A missing archive is
// created empty. Throws ArchiveError.
QList<Hit> run(const QString& archivePath, const Criteria& criteria);

} // namespace CardSearch
