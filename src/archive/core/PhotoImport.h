// Importing a shoot: one new card per picture, appended to a book in the order the photos were taken.
//
// Each card gets its photo file first and its record after, both durable, under the archive's lock, so
// a crash or a full disk in the middle leaves whole cards only, each with its photo. A JPEG is stored
// byte for byte as it came; any other picture is converted as the editor converts a photo it loads.
//
// An imported card is filled from the photo's metadata as the editor fills a card from a photo. The
// three texts a card needs to be saved from the editor are settled this way: Titolo, when the metadata
// has no title, is the file's name without its extension; Data, when the metadata has no capture date,
// is the day the file was last modified; Location is the metadata's city and place, or stays empty for
// the user to write. Note begins with "Importata da <file name>", so a search for that text in the
// notes finds every imported card, and the book check lists the cards still without a location.
#pragma once

#include "archive/core/CardSave.h"
#include "archive/core/PhotoFacts.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace PhotoImport {

// A picture found among the files given, with what orders it and fills its card.
struct Picture {
    QString path; // absolute, clean
    PhotoFacts::Facts facts;
    QDateTime takenAt;   // the capture time in the metadata, else the time the file was last modified
    bool isJpeg = false; // stored byte for byte
};

// A file not imported, with the reason in Italian ("non è una foto").
struct Refusal {
    QString path;
    QString reason;
};

struct Plan {
    QList<Picture> pictures; // in the order of import: capture time, then name
    QList<Refusal> refused;  // files that are no picture the program reads, or cannot be read
};

// The pictures among the paths: each file named, and the files of each folder named (with recursive,
// of its subfolders as well; hidden files and links to folders are passed over). Only the metadata and
// the picture's header are read. Pictures are ordered by capture time, then by name as a file manager
// orders them ("IMG_2" before "IMG_10"), then by path.
Plan gather(const QStringList& paths, bool recursive);

// The texts of the card a picture becomes, by the rules at the top.
CardSave::Texts cardTexts(const Picture& picture);

// The note's text that marks an imported card, before the file's name.
inline constexpr char16_t kImportedMark[] = u"Importata da ";

struct Options {
    bool allowDuplicates = false; // import a picture whose bytes a card's photo already has
    // Called after each picture with the pictures done and their total; an answer of false stops the
    // import before the next picture (the cards imported so far stay).
    std::function<bool(int done, int total)> progress;
};

// A picture that was not imported because a card already has its bytes as its photo.
struct Duplicate {
    QString path;
    int position; // the card whose photo it equals
};

struct Outcome {
    QList<int> positions;        // the cards appended, in order
    QList<Duplicate> duplicates; // pictures skipped as already in the book
    QList<Refusal> refused;      // pictures that could not be read or converted
    QString stoppedBy;           // why the import stopped before the end (a write failed); empty when not
    bool cancelled = false;      // the progress callback asked to stop
    int incomplete = 0;          // cards appended without a location
    int notTried = 0;            // pictures left when it stopped
};

// Appends the plan's pictures to the book of that name in the program folder. An ArchiveError when
// the archive cannot be opened before anything was imported; a failure after that stops the import
// and is told in stoppedBy, with the cards already appended left whole.
Outcome run(const QString& bookName, const Plan& plan, const Options& options = {});

} // namespace PhotoImport
