// A test-only program: another copy of Lumivera working on the same book from another process, as a
// second booker of an agency does on a shared folder. It saves one card as the editor saves it.
//
//   tst_other_copy <program folder> <book> <position> [<field>=<text>]... [photo=<picture file>]
//       reads the card at <position>, changes the named fields (Titolo, Note, ...), takes the picture
//       as its photo when one is given, and saves it over the card
//
// Exit status: 0 saved, 1 the archive refused, 2 bad arguments.
#include "archive/core/BookArchive.h"
#include "archive/core/CardNavigation.h"
#include "archive/core/CardSave.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QImage>
#include <QStringList>

#include <cstdio>

namespace {

int save(const QStringList& args) {
    ProgramFolder::setPath(args[1]);
    const QString book = args[2];
    const QString archivePath = args[1] + u'/' + book + QStringLiteral(".wmn");
    const int position = args[3].toInt();
    const CardNavigation::Outcome shown = CardNavigation::goTo(archivePath, position);
    if (shown.kind != CardNavigation::Outcome::Show)
        return 1;
    TScheda record = shown.card;
    CardSave::Texts texts;
    for (int f = 0; f < TScheda::kFieldCount; ++f)
        texts[f] = record.field(TScheda::Field(f));
    CardPhoto photo = PhotoStore::loadCardPhoto(book, position, {307, 409});
    if (photo.isNull())
        photo = CardPhoto::fromImage(PhotoStore::placeholder());
    for (const QString& change : args.mid(4)) {
        const QString name = change.section(u'=', 0, 0);
        const QString value = change.section(u'=', 1);
        if (name == QStringLiteral("photo")) {
            photo = CardPhoto::fromImage(QImage(value));
            continue;
        }
        int field = 0;
        while (field < TScheda::kFieldCount &&
               name != QStringView(TScheda::layout(TScheda::Field(field)).name))
            ++field;
        if (field == TScheda::kFieldCount)
            return 2;
        texts[field] = value;
    }
    const CardSave::Outcome saved =
        CardSave::save(archivePath, book, position, record, texts, photo, nullptr);
    return saved.kind == CardSave::Outcome::Saved && saved.photoSaved ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() >= 4)
            return save(args);
    } catch (const ArchiveError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 2;
}
