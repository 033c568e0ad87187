// What each fuzz target does with one input, shared by the fuzzers and by the test that replays the
// inputs kept in tests/fixtures/fuzz. Each feed returns false when a rule of the program was broken
// (a crash or a sanitizer report needs no return value).
#pragma once

#include "archive/core/PhotoStore.h"

#include <QByteArrayView>

namespace Feeds {

// One-time set-up: an application object (image plugins) and the program folder in a scratch folder.
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

} // namespace Feeds
