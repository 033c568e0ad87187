// The printed card "Scheda book fotografico": one A4 portrait page with the book's name, the date of
// the shot, the title bar, the photo and the ten field blocks, and how a card's values fill it.
#pragma once

#include "archive/core/TScheda.h"
#include "report/core/ReportTemplate.h"

#include <QImage>
#include <QString>

#include <array>

namespace CardPage {

// The card's texts the page prints: the record's fields Titolo ... Note (the attachment fields are not
// printed).
inline constexpr std::size_t kTextCount = TScheda::Note + 1;
using Texts = std::array<QString, kTextCount>; // indexed by TScheda::Field

// What a card puts on the page, texts as they are to be printed.
struct Values {
    QImage photo;
    QString bookName;
    Texts texts;
};

// The template as it is before any card fills it.
Report::ReportTemplate makeTemplate();

// Fills the template with a card: the page set to portrait, then the photo, the title, the book's name,
// the date line and the ten fields under the photo, in this order. A ReportError when the template lacks an
// object.
void fill(Report::ReportTemplate& page, const Values& values);

} // namespace CardPage
