// Books as PDF files for batch work: the portfolio, every card on its own card page in the book's
// order, and the contact sheet, the cards' photos as thumbnails in rows and columns; of the whole book
// or of the cards the user chose. Both read the archive once from start to end in blocks and write
// each page as soon as it is made, with the program's own PDF writer, so a book of any length takes
// little memory. The photos of the next cards are prepared for print (PrintPhoto.h) on the machine's
// cores while the current page is written. The file is replaced whole: a failure, or a stop the
// progress callback asked for, leaves no partial file and the earlier file, if any, as it was.
#pragma once

#include "output/core/CardChoice.h"
#include "output/core/OutputProgress.h"
#include "output/core/PrintPhoto.h"
#include "report/core/ReportLayout.h"

#include <QString>

#include <vector>

namespace BookPdf {

// A book's name is taken as the command line or the window that named it trimmed it.

// Called after each card with the cards done and how many the file takes (the book's count, or the
// cards chosen); false stops the output.
using Progress = Output::Progress;

// A card whose photo file is the program's own placeholder picture (PhotoStore::isPlaceholderPhoto),
// which the editor writes for a card saved without a photo, is printed as a card without a photo.

// The portfolio: one A4 card page per card taken (every card of the book, or the cards chosen, in the
// book's order), the card page of the card print with the card's photo decoded from its photo file at
// printing resolution (a card without a photo has none), the book's name as the document's title.
// An ArchiveError when the book cannot be read or a card chosen is not in it, a ReportError when the
// file cannot be written; Cancelled when the progress callback stopped it.
Output::Ended writePortfolio(const QString& bookName, const QString& pdfPath, const Progress& progress = {},
                             const CardChoice::Cards& cards = std::nullopt);

// The contact sheet, A4 portrait: `columns` thumbnails a row, one for each card taken in the book's
// order, each with the card's own position, title and date under it; the book's name and the page
// number (of the pages the cards taken fill) at the foot of every page. Fails and stops as the
// portfolio does.
inline constexpr int kDefaultColumns = 4;
inline constexpr int kMaxColumns = 12;
Output::Ended writeContactSheet(const QString& bookName, const QString& pdfPath, int columns,
                                const Progress& progress = {}, const CardChoice::Cards& cards = std::nullopt);

// How many cards a page of the contact sheet holds with that many columns.
int cardsPerSheetPage(int columns);

// What the contact sheet shows of a card.
struct SheetCard {
    int position = 0;
    QString title;
    QString date;
    PrintPhoto::Prepared photo; // for a box of thumbnailDots(columns)
};

// The dots of a thumbnail's box at print resolution.
QSize thumbnailDots(int columns);

// Page `page` of `pages` of the contact sheet, holding these cards (at most cardsPerSheetPage) from
// its first cell on: each photo in its box, shrunk to fit and never enlarged, or a grey frame for a
// card without one; under it "Scheda N", the title and the date, each cut with "…" to the cell's
// width; at the foot the book's name and "Pagina X di Y".
Report::PreparedPage contactSheetPage(const QString& bookName, int columns, int page, int pages,
                                      const std::vector<SheetCard>& cards);

} // namespace BookPdf
