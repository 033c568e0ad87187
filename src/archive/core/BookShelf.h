// The books of the program folder as a whole: which names can become a book, creating a book's empty
// archive, listing the books in the order the user sees them, and deleting a book's archive.
// A book is a regular file "<name>.wmn" directly in the program folder; a folder with such a name is
// not a book.
#pragma once

#include <QString>
#include <QStringList>

namespace BookShelf {

// A name that would place or reach a file outside the program folder: one that holds a path
// separator ("/" or "\") or a control character, or that is "." or "..".
bool isUnsafeName(const QString& name);

// True when anything (file or folder) already stands at the path.
bool exists(const QString& path);

// Creates the empty archive of a new book; never replaces anything that exists. Throws ArchiveError.
void createEmpty(const QString& path);

// The file names ("Giulia.wmn") of the books in the folder, in list order.
QStringList list(const QString& folder);

// List order: the letters A-Z compared without regard to case, every other character by its code.
bool listsBefore(const QString& a, const QString& b);

// The book name of a list entry: the entry without its last four characters (".wmn").
QString bookNameOf(const QString& entry);

// Deletes a book's archive file, and only that; false when it could not be deleted.
bool remove(const QString& path);

} // namespace BookShelf
