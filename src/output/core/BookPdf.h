// Whole books as PDF files for batch work: the portfolio, every card on its own card page in the
// book's order, and the contact sheet, the cards' photos as thumbnails in rows and columns. Both read
// the archive once from start to end and decode each photo at the size it is printed, so a book of
// any length takes little memory. The file is replaced whole: a failure leaves no partial file and
// the earlier file, if any, as it was.
#pragma once

#include <QString>

#include <functional>

namespace BookPdf {

// Called after each card with the cards done and the book's count.
using Progress = std::function<void(int done, int total)>;

// The portfolio: one A4 card page per card, the card page of the card print with the card's photo
// decoded from its photo file at printing resolution (a card without a photo has none), the book's
// name as the document's title. An ArchiveError when the book cannot be read, a ReportError when the
// file cannot be written.
void writePortfolio(const QString& bookName, const QString& pdfPath, const Progress& progress = {});

// The contact sheet, A4 portrait: `columns` thumbnails a row, each with the card's position, title and
// date under it; the book's name and the page number at the foot of every page.
inline constexpr int kDefaultColumns = 4;
inline constexpr int kMaxColumns = 12;
void writeContactSheet(const QString& bookName, const QString& pdfPath, int columns,
                       const Progress& progress = {});

// How many cards a page of the contact sheet holds with that many columns.
int cardsPerSheetPage(int columns);

} // namespace BookPdf
