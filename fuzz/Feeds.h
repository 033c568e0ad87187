// What each fuzz target does with one input, shared by the fuzzers and by the test that replays the
// inputs kept in tests/fixtures/fuzz. Each feed returns false when a rule of the program was broken
// (a crash or a sanitizer report needs no return value).
#pragma once

#include "archive/core/PhotoStore.h"

#include <QByteArrayView>

namespace Feeds {

// One-time set-up: an application object (image plugins, fonts; the offscreen platform unless another
// one is named) and the program folder in a scratch folder.
void prepare();

// The record decoder: the input as one 3548-byte record (cut or padded with zeros), every field read.
bool record(QByteArrayView input);
// The input as a whole archive file: Count, Seek and Read of every record, the block read, one append.
bool archive(QByteArrayView input);
// The input as scrambled digits, and as the password store file.
bool password(QByteArrayView input);
// The input as a photo file, loaded as the editor loads a card's photo. A file stating more pixels
// than largestDecoded, but no more than the program accepts, is passed over.
bool photo(QByteArrayView input, qint64 largestDecoded = PhotoStore::kMaxPixels);
// The input as a book's archive and as text typed into the grid, exported.
bool exportRows(QByteArrayView input);
// The input as an archive, a journal beside it and a card to save: the journal is the one a save cut
// short at a chosen step leaves, that journal damaged, or the input's own bytes. The archive is opened
// (the journal put back or dropped), the card written at a chosen index and read back, and the archive
// opened again. Every card the interrupted save did not write must be as it was, the card it wrote
// whole or not at all, and a confirmed write there for good.
bool journal(QByteArrayView input);
// The input as a book's archive, a journal beside it and files in the photo folder, checked (and, when
// the input asks, repaired) in a scratch program folder: nothing is changed but what a repair cuts, and
// the findings agree with what the files hold.
bool check(QByteArrayView input);
// The input as the arguments of a command line (one a line), run on a scratch program folder holding a
// small book and a damaged one, which is also the current folder. Inputs with an argument that could
// lead out of it ("/" or "..") are passed over. The status is 0, 1 or 2 and the books' cards stay.
bool commandLine(QByteArrayView input);
// The input as search criteria (one a line, up to the first NUL) and the cards of a book (the bytes
// after it): the cards found agree with the matching rule, their lines with the cards, the list order
// and the quick find with their rules, and the printed summary's sheets hold every line in order.
bool search(QByteArrayView input);
// The input, after a first byte that chooses, as the text of report lines (read as UTF-8 and as
// Windows-1252, in several faces, bold, italic, aligned and clipped) written as a PDF into memory, whose
// table of objects must point at every object; or as a font file cut down for a PDF, whose tables and
// checksums must be whole.
bool pdf(QByteArrayView input);

// The input as a photo's file, its metadata read from memory and from a file (the same facts both
// ways) and filled into a blank card and into a card the user typed in: every text filled is one the
// card stores unchanged, within its field, the date one the card reads back as the capture date, and
// a typed text stays.
bool facts(QByteArrayView input);

} // namespace Feeds
