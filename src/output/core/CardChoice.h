// The cards an output takes (the portfolio, the contact sheet, the export): the whole book, or the
// cards the user chose, as positions from 1 in the book's order. The command line names them with a
// list such as "1,3,5-9"; the window that lists the book's thumbnails hands over the positions the
// user selected. Either way the output reads the archive once, from start to end, in large blocks,
// passing over the cards not chosen.
#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

class BookArchive;
class TScheda;

namespace CardChoice {

// Positions from 1, ascending, each once.
using Positions = std::vector<int>;
// What an output is handed: no positions at all for the whole book.
using Cards = std::optional<Positions>;

struct Parsed {
    Positions positions; // ascending, each once; empty when the list has a problem
    QString problem;     // what is wrong with the list, in Italian; empty when nothing is
};

// A list as the command line takes it, against a book of `cardCount` cards: positions from 1 and
// ranges "low-high" (both ends included) separated by commas, with blanks allowed around numbers,
// dashes and commas. A position named twice, or by two ranges that overlap, is taken once, and the
// positions come out in the book's order whatever the list's. The problem, when there is one, names
// the part of the list at fault: a part that is no number, a range written backwards ("9-5"), 0, a
// position beyond the book's last card (with how many cards the book has), a list with nothing in it.
Parsed parse(QStringView text, int cardCount);

// The problem with the list's form alone, or an empty text: all that can be said before the book is
// opened (not whether its positions lie within the book).
QString formProblem(QStringView text);

// Positions as a caller may hand them, put in the book's order with each once.
Positions ordered(Positions positions);

// What is wrong with ordered positions against a book of `cardCount` cards: none at all, a position
// below 1, a position beyond the last card; an empty text when nothing is.
QString problemIn(const Positions& positions, int cardCount);

// How many cards the book has, as the messages say it ("il book ne ha 10").
QString bookHas(int cardCount);

// Reads the cards at these positions (ordered, each within the book) from an archive open for
// reading, in the book's order, handing each to `card` with its position. The records are read in
// transfers of at most `blockCards` records that start at a chosen card; a run of cards not chosen
// that fills a transfer or more is passed over without being read. An ArchiveError when a record
// cannot be read.
void readChosen(BookArchive& archive, const Positions& positions, int blockCards,
                const std::function<void(const TScheda& card, int position)>& card);

} // namespace CardChoice
