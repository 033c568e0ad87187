// The printed card "Scheda book fotografico": one A4 portrait page with the book's name, the date of
// the shot, the title bar, the photo and the ten field blocks, and how a card's values fill it.
#pragma once

#include "report/core/ReportTemplate.h"

#include <QImage>
#include <QString>

#include <array>

namespace CardPage {

// The names of the ten value objects under the photo, in the order they are filled; each takes the
// editor's field of the same name.
inline constexpr std::array<const char16_t*, 10> kFieldObjects = {
    u"txtDescrizione", u"txtLocation",  u"txtFotografo", u"txtFotocamera", u"txtFotoritocco",
    u"txtAbiti",       u"txtAccessori", u"txtTrucco",    u"txtGiudizio",   u"txtNote"};

// What a card puts on the page, texts already trimmed.
struct Values {
    QImage photo;
    QString title;
    QString bookName;
    QString date;
    std::array<QString, 10> fields; // in the order of kFieldObjects
};

// The template as it is before any card fills it.
Report::ReportTemplate makeTemplate();

// Fills the template with a card: the page set to portrait, then the photo, the title, the book's name,
// the date line and the ten fields, in this order. A ReportError when the template lacks an object.
void fill(Report::ReportTemplate& page, const Values& values);

} // namespace CardPage
