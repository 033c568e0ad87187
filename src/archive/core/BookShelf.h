// The books of the program folder as a whole: which names can become a book, creating a book's empty
// archive, listing the books in the order the user sees them, and deleting a book's archive.
// A book is a regular file "<name>.wmn" directly in the program folder; a folder with such a name is
// not a book.
//
// A new book's name must suit every file the program will make from it, on this disk and on the FAT
// or exFAT key the program folder may be copied to: the archive, its journal, its backups and set-aside
// journals, and its cards' photos.
//
// A book's name is trimmed once, where it enters the program: the create-book and open-book windows and
// the command line. Every layer below takes the name, and the archive's path made from it, as given.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace BookShelf {

// A name that would place or reach a file outside the program folder: one that holds a path
// separator ("/" or "\") or a control character, or that is "." or "..".
bool isUnsafeName(const QString& name);

// Why a name cannot become a new book, as one Italian sentence ("Il nome contiene il carattere ..."),
// or an empty text when it can: a character that a file name cannot hold here or on a FAT or exFAT
// key, a name ending in a dot or a blank, a name that Windows keeps for a device (CON, PRN, AUX, NUL,
// COM1-COM9, LPT1-LPT9, in any case, also followed by a dot and more), or a name too long for one of
// the book's files. Books that already have such a name are still opened: this judges new names only.
QString nameProblem(const QString& name);

// The longest name, in bytes of the file names' encoding, whose every file fits the file system's
// limit of 255 bytes for a file name, with the card position at its largest.
int longestNameBytes();

// The n-th copy (from 1) that a repair keeps of an archive: "<archive>.bak", then "<archive>.bak.2" ...
QString backupPath(const QString& archivePath, int n);

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
// The book name of an archive's path: its file name without ".wmn".
QString bookNameOfArchive(const QString& archivePath);

// How many whole cards a book's archive holds, from its size, opened for reading only (nothing is
// written, created or locked); none when it cannot be read, or when no regular file stands there.
std::optional<int> cardCount(const QString& path);

// Deletes a book's archive file, and only that; false when it could not be deleted, with the
// system's words for why, said in Italian, in `why` when given.
bool remove(const QString& path, QString* why = nullptr);

} // namespace BookShelf
