// Importing a shoot into a book: a folder of photos made here (with and without metadata, a PNG, a
// file that is no picture, a copy of a photo already in the book), the cards they become in capture
// order, and a disk that fills, or a program that dies, at every step of the import.
#include "FaultyFileSystem.h"
#include "PhotoSamples.h"
#include "TestFiles.h"
#include "archive/core/BookArchive.h"
#include "archive/core/BookCheck.h"
#include "archive/core/PhotoImport.h"
#include "archive/core/PhotoStore.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kBook = u"Giulia"_s;

// A card as a test reads it back: the texts that say which picture it came from and how it was filled.
struct Card {
    QString title, date, location, camera, note;
    bool operator==(const Card&) const = default;
};

QList<Card> cardsOf(const QString& bookName) {
    QList<Card> cards;
    BookArchive archive;
    archive.openForReading(ProgramFolder::archiveOf(bookName));
    while (!archive.atEnd()) {
        const TScheda r = archive.read();
        cards.append({r.field(TScheda::Titolo), r.field(TScheda::Data), r.field(TScheda::Location),
                      r.field(TScheda::Fotocamera), r.field(TScheda::Note)});
    }
    return cards;
}

// The photo files of the book, by name, sorted.
QStringList photoFiles() {
    QStringList names = QDir(PhotoStore::folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    return names;
}

bool setModified(const QString& path, const QDateTime& when) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime);
}

PhotoSamples::Metadata shootMetadata() {
    PhotoSamples::Metadata m;
    m.exif["Exif.Image.Make"] = "NIKON CORPORATION";
    m.exif["Exif.Image.Model"] = "NIKON Z 8";
    m.exif["Exif.Photo.DateTimeOriginal"] = "2024:05:17 10:20:30";
    m.xmp["Xmp.dc.title"] = "Sfilata";
    m.xmp["Xmp.photoshop.City"] = "Milano";
    return m;
}

PhotoSamples::Metadata pngMetadata() {
    PhotoSamples::Metadata m;
    m.xmp["Xmp.dc.title"] = "Ritratto";
    m.xmp["Xmp.photoshop.DateCreated"] = "2025-01-02";
    return m;
}

QString card1Title() {
    return u"Scheda esistente"_s;
}

// A book of one card whose photo is the given JPEG.
bool bookWithOneCard(const QByteArray& photo) {
    TScheda card;
    card.setField(TScheda::Titolo, card1Title());
    card.setField(TScheda::Data, u"01/01/2020"_s);
    card.setField(TScheda::Location, u"Roma"_s);
    return writeFile(ProgramFolder::archiveOf(kBook), archiveOf({card})) &&
           writeFile(PhotoStore::photoPath(kBook, 1), photo);
}

} // namespace

class TestPhotoImport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        ProcessFormats::setSystemLocale(QLocale(QLocale::Italian, QLocale::Italy));
        ProcessFormats::apply();
    }

    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
        m_shoot = std::make_unique<QTemporaryDir>();
        QVERIFY(m_shoot->isValid());
        m_inBook = jpeg({40, 30}, Qt::yellow);
        QVERIFY(bookWithOneCard(m_inBook));
    }

    // A shoot folder: two photos without metadata taken the same minute (ordered by name as a file
    // manager orders them), one with EXIF and XMP, a PNG with XMP, a copy of one of them, a photo the
    // book already has, a text file, a hidden file, and a subfolder.
    void shootBecomesCardsInCaptureOrder_data() {
        QTest::addColumn<bool>("recursive");
        QTest::addColumn<QStringList>("sources"); // the file of each new card, in book order
        QTest::addColumn<QList<Card>>("cards");   // the new cards
        const Card img2{u"IMG_2"_s, u"01/03/2023"_s, {}, {}, u"Importata da IMG_2.jpg"_s};
        const Card img10{u"IMG_10"_s, u"01/03/2023"_s, {}, {}, u"Importata da IMG_10.jpg"_s};
        const Card sfilata{u"Sfilata"_s, u"17/05/2024"_s, u"Milano"_s, u"NIKON Z 8"_s,
                           u"Importata da sfilata.jpg"_s};
        const Card ritratto{u"Ritratto"_s, u"02/01/2025"_s, {}, {}, u"Importata da ritratto.png"_s};
        const Card altra{u"altra"_s, u"05/06/2022"_s, {}, {}, u"Importata da altra.jpg"_s};
        QTest::newRow("the folder") << false
                                    << QStringList{u"IMG_2.jpg"_s, u"IMG_10.jpg"_s, u"sfilata.jpg"_s,
                                                   u"ritratto.png"_s}
                                    << QList<Card>{img2, img10, sfilata, ritratto};
        QTest::newRow("with its subfolders")
            << true
            << QStringList{u"sub/altra.jpg"_s, u"IMG_2.jpg"_s, u"IMG_10.jpg"_s, u"sfilata.jpg"_s,
                           u"ritratto.png"_s}
            << QList<Card>{altra, img2, img10, sfilata, ritratto};
    }
    void shootBecomesCardsInCaptureOrder() {
        QFETCH(bool, recursive);
        QFETCH(QStringList, sources);
        QFETCH(QList<Card>, cards);
        const QDir shoot(m_shoot->path());
        const QDateTime march(QDate(2023, 3, 1), QTime(9, 0));
        QVERIFY(writeFile(shoot.filePath(u"IMG_10.jpg"_s), jpeg({64, 48}, Qt::red)));
        QVERIFY(writeFile(shoot.filePath(u"IMG_2.jpg"_s), jpeg({64, 48}, Qt::blue)));
        QVERIFY(setModified(shoot.filePath(u"IMG_10.jpg"_s), march));
        QVERIFY(setModified(shoot.filePath(u"IMG_2.jpg"_s), march));
        QVERIFY(writeFile(shoot.filePath(u"sfilata.jpg"_s),
                          PhotoSamples::withMetadata(jpeg({64, 48}, Qt::green), shootMetadata())));
        QVERIFY(writeFile(shoot.filePath(u"ritratto.png"_s),
                          PhotoSamples::withMetadata(PhotoSamples::picture("PNG"), pngMetadata())));
        QVERIFY(writeFile(shoot.filePath(u"copia di IMG_2.jpg"_s), readFile(shoot.filePath(u"IMG_2.jpg"_s))));
        QVERIFY(writeFile(shoot.filePath(u"già nel book.jpg"_s), m_inBook));
        QVERIFY(writeFile(shoot.filePath(u"appunti.txt"_s), "Sfilata di maggio\n"));
        QVERIFY(writeFile(shoot.filePath(u".DS_Store"_s), QByteArray(64, '\0')));
        QVERIFY(writeFile(shoot.filePath(u"sub/altra.jpg"_s), jpeg({64, 48}, Qt::cyan)));
        QVERIFY(setModified(shoot.filePath(u"sub/altra.jpg"_s), QDateTime(QDate(2022, 6, 5), QTime(8, 0))));

        const PhotoImport::Plan plan = PhotoImport::gather({shoot.path()}, recursive);
        QCOMPARE(plan.refused.size(), 1);
        QCOMPARE(plan.refused.first().path, shoot.filePath(u"appunti.txt"_s));
        QCOMPARE(plan.refused.first().reason, u"non è un'immagine che il programma sa leggere."_s);
        const PhotoImport::Outcome outcome = PhotoImport::run(kBook, plan);

        QCOMPARE(outcome.stoppedBy, QString());
        QVERIFY(outcome.refused.isEmpty());
        QList<int> positions;
        for (int p = 2; p < 2 + cards.size(); ++p)
            positions << p;
        QCOMPARE(outcome.positions, positions);
        QCOMPARE(outcome.incomplete, int(cards.size()) - 1); // every card but the one whose city is known
        // The copy is skipped as the card its original became; the photo the book had, as card 1.
        QCOMPARE(outcome.duplicates.size(), 2);
        for (const PhotoImport::Duplicate& duplicate : outcome.duplicates) {
            const QString name = QFileInfo(duplicate.path).fileName();
            QCOMPARE(duplicate.position,
                     name == u"già nel book.jpg"_s ? 1 : int(sources.indexOf(u"IMG_2.jpg"_s)) + 2);
        }

        QList<Card> expected{{card1Title(), u"01/01/2020"_s, u"Roma"_s, {}, {}}};
        expected += cards;
        QCOMPARE(cardsOf(kBook), expected);
        for (int i = 0; i < sources.size(); ++i) {
            const QByteArray source = readFile(shoot.filePath(sources[i]));
            const QByteArray stored = readFile(PhotoStore::photoPath(kBook, i + 2));
            if (sources[i].endsWith(u".jpg"_s)) {
                QCOMPARE(stored, source); // byte for byte, metadata included
            } else {
                // Converted as a loaded photo is: a JPEG of the same picture.
                QVERIFY(stored.startsWith("\xFF\xD8\xFF"));
                const QImage picture = QImage::fromData(stored);
                QCOMPARE(picture.size(), QSize(8, 6));
                QVERIFY(qAbs(picture.pixelColor(4, 3).red() - 200) < 8);
            }
        }
        QStringList names;
        for (int p = 1; p <= 1 + cards.size(); ++p)
            names << QFileInfo(PhotoStore::photoPath(kBook, p)).fileName();
        names.sort();
        QCOMPARE(photoFiles(), names); // no photo beside the cards

        // The cards still to complete are the ones the check lists, and it finds nothing wrong.
        QList<int> toComplete;
        for (const BookCheck::Finding& finding : BookCheck::run(kBook)) {
            QVERIFY2(!finding.isProblem(), qPrintable(finding.text));
            if (finding.kind == BookCheck::Finding::IncompleteCard)
                toComplete << finding.position;
        }
        QList<int> withoutPlace;
        for (int i = 0; i < cards.size(); ++i)
            if (cards[i].location.isEmpty())
                withoutPlace << i + 2;
        QCOMPARE(toComplete, withoutPlace);
    }

    void duplicatesOnlyWhenAsked() {
        const QString copy = QDir(m_shoot->path()).filePath(u"copia.jpg"_s);
        QVERIFY(writeFile(copy, m_inBook));
        const PhotoImport::Plan plan = PhotoImport::gather({copy, copy}, false);
        QCOMPARE(plan.pictures.size(), 1); // a file named twice is one picture

        PhotoImport::Outcome outcome = PhotoImport::run(kBook, plan);
        QVERIFY(outcome.positions.isEmpty());
        QCOMPARE(outcome.duplicates.size(), 1);
        QCOMPARE(outcome.duplicates.first().position, 1);

        PhotoImport::Options options;
        options.allowDuplicates = true;
        outcome = PhotoImport::run(kBook, plan, options);
        QCOMPARE(outcome.positions, QList<int>{2});
        QCOMPARE(readFile(PhotoStore::photoPath(kBook, 2)), m_inBook);
    }

    // Each of the named files that is no picture is named with its reason; the rest goes in.
    void filesThatAreNoPicture_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("text named as a photo") << u"foto.jpg"_s << QByteArray("non sono una foto")
                                               << u"non è un'immagine che il programma sa leggere."_s;
        QTest::newRow("empty file") << u"vuota.jpg"_s << QByteArray()
                                    << u"non è un'immagine che il programma sa leggere."_s;
        QTest::newRow("a JPEG cut before its size")
            << u"tagliata.jpg"_s << jpeg({64, 48}, Qt::red).left(20)
            << u"l'immagine è danneggiata: non se ne leggono le dimensioni."_s;
        QTest::newRow("a giant")
            << u"gigante.jpg"_s << withDeclaredSize(jpeg({16, 16}, Qt::red), {30000, 30000})
            << u"l'immagine è troppo grande: 30000 × 30000 pixel, il programma ne accetta al più 250 milioni."_s;
        QTest::newRow("missing") << u"assente.jpg"_s << QByteArray("-") << u"non esiste."_s;
    }
    void filesThatAreNoPicture() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QDir shoot(m_shoot->path());
        if (content != "-")
            QVERIFY(writeFile(shoot.filePath(name), content));
        QVERIFY(writeFile(shoot.filePath(u"buona.jpg"_s), jpeg({64, 48}, Qt::red)));
        const PhotoImport::Plan plan =
            PhotoImport::gather({shoot.filePath(name), shoot.filePath(u"buona.jpg"_s)}, false);
        QCOMPARE(plan.refused.size(), 1);
        QCOMPARE(plan.refused.first().path, shoot.filePath(name));
        QCOMPARE(plan.refused.first().reason, reason);
        QCOMPARE(PhotoImport::run(kBook, plan).positions, QList<int>{2});
    }

    // A disk that fills at any one step of the import, under the photos or under the archive: the
    // cards already appended are whole, each with its photo, the import says where it stopped, and
    // running it again once there is room brings in exactly the rest, in order.
    void diskFillingHalfWay_data() {
        QTest::addColumn<bool>("photos"); // the step is one of the photos' (else one of the archive's)
        QTest::addColumn<int>("step");
        const auto [photoSteps, archiveSteps] = countSteps();
        QVERIFY(photoSteps > 0 && archiveSteps > 0);
        for (int step = 1; step <= photoSteps; ++step)
            QTest::addRow("photos, step %d", step) << true << step;
        for (int step = 1; step <= archiveSteps; ++step)
            QTest::addRow("archive, step %d", step) << false << step;
    }
    void diskFillingHalfWay() {
        QFETCH(bool, photos);
        QFETCH(int, step);
        const PhotoImport::Plan plan = PhotoImport::gather({threePictures()}, false);
        QCOMPARE(plan.pictures.size(), 3);
        PhotoImport::Outcome outcome;
        {
            std::optional<FaultyReplacer> fullPhotos;
            std::optional<FaultyFileSystem> fullArchive;
            if (photos)
                fullPhotos.emplace(step, FaultyFileSystem::Kind::DiskFull);
            else
                fullArchive.emplace(step, FaultyFileSystem::Kind::DiskFull);
            try {
                outcome = PhotoImport::run(kBook, plan);
            } catch (const ArchiveError&) {
                // The very first opening of the book failed: nothing was imported.
                QVERIFY(!photos);
            }
        }
        const int imported = int(outcome.positions.size());
        if (!outcome.stoppedBy.isEmpty())
            QCOMPARE(outcome.notTried, 3 - imported);
        checkWholeCards(plan, imported);

        outcome = PhotoImport::run(kBook, plan);
        QCOMPARE(outcome.stoppedBy, QString());
        QCOMPARE(outcome.duplicates.size(), imported);
        checkWholeCards(plan, 3);
    }

    // The import stopped dead (SIGKILL) at any one step, as a crash or a power cut stops it: the same.
    void crashHalfWay_data() {
        QTest::addColumn<QString>("seam");
        QTest::addColumn<int>("step");
        const auto [photoSteps, archiveSteps] = countSteps();
        for (int step = 1; step <= photoSteps; ++step)
            QTest::addRow("photos, step %d", step) << u"photos"_s << step;
        for (int step = 1; step <= archiveSteps; ++step)
            QTest::addRow("archive, step %d", step) << u"archive"_s << step;
    }
    void crashHalfWay() {
        QFETCH(QString, seam);
        QFETCH(int, step);
        const QString shoot = threePictures();
        QProcess crasher;
        crasher.start(QStringLiteral(LUMIVERA_IMPORT_CRASH),
                      {ProgramFolder::path(), kBook, shoot, seam, QString::number(step)});
        QVERIFY(crasher.waitForFinished(60000));
        QCOMPARE(crasher.exitStatus(), QProcess::CrashExit);
        const PhotoImport::Plan plan = PhotoImport::gather({shoot}, false);
        const int imported = int(cardsOf(kBook).size()) - 1;
        checkWholeCards(plan, imported);
        const PhotoImport::Outcome outcome = PhotoImport::run(kBook, plan);
        QCOMPARE(outcome.stoppedBy, QString());
        QCOMPARE(outcome.duplicates.size(), imported);
        checkWholeCards(plan, 3);
    }

    // The progress callback may stop the import between two pictures.
    void progressCanStopTheImport() {
        const PhotoImport::Plan plan = PhotoImport::gather({threePictures()}, false);
        QList<int> seen;
        PhotoImport::Options options;
        options.progress = [&](int done, int total) {
            seen << done;
            return !(done == 2 && total == 3);
        };
        const PhotoImport::Outcome outcome = PhotoImport::run(kBook, plan, options);
        QCOMPARE(seen, (QList<int>{1, 2}));
        QVERIFY(outcome.cancelled);
        QCOMPARE(outcome.notTried, 1);
        checkWholeCards(plan, 2);
    }

private:
    // Three photos of distinct colours taken a minute apart, in a folder of their own.
    QString threePictures() {
        const QString folder = QDir(m_shoot->path()).filePath(u"tre"_s);
        const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
        for (int i = 0; i < 3; ++i) {
            const QString path = QDir(folder).filePath(u"foto%1.jpg"_s.arg(i + 1));
            if (!QFileInfo::exists(path)) {
                writeFile(path, jpeg({64, 48}, colours[i]));
                setModified(path, QDateTime(QDate(2024, 1, 1), QTime(10, i)));
            }
        }
        return folder;
    }

    // The operations a clean import of the three pictures takes under each seam; the book is put
    // back as it was afterwards.
    std::pair<int, int> countSteps() {
        const std::unique_ptr<QTemporaryDir> scratch = scratchProgramFolder();
        m_shoot = std::make_unique<QTemporaryDir>();
        if (!bookWithOneCard(jpeg({40, 30}, Qt::yellow)))
            return {};
        const PhotoImport::Plan plan = PhotoImport::gather({threePictures()}, false);
        FaultyReplacer photos(0, FaultyFileSystem::Kind::DiskFull);
        FaultyFileSystem archive(0, FaultyFileSystem::Kind::DiskFull);
        PhotoImport::run(kBook, plan);
        return {photos.operations(), archive.operations()};
    }

    // The book holds its first card and then the first `imported` pictures of the plan, each with its
    // very bytes as its photo, and no photo file that belongs to no card.
    void checkWholeCards(const PhotoImport::Plan& plan, int imported) {
        const QList<Card> cards = cardsOf(kBook);
        QCOMPARE(cards.size(), 1 + imported);
        QCOMPARE(readFile(PhotoStore::photoPath(kBook, 1)), m_inBook);
        for (int i = 0; i < imported; ++i) {
            QCOMPARE(cards[i + 1].note, u"Importata da foto%1.jpg"_s.arg(i + 1));
            QCOMPARE(readFile(PhotoStore::photoPath(kBook, i + 2)), readFile(plan.pictures.at(i).path));
        }
        // A photo written for the next card whose record never followed is replaced by the next import.
        for (const QString& name : photoFiles()) {
            const int position = name.section(u'_', 2, 2).section(u'.', 0, 0).toInt();
            QVERIFY2(position <= imported + 2, qPrintable(name));
        }
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_shoot;
    QByteArray m_inBook;
};

QTEST_GUILESS_MAIN(TestPhotoImport)
#include "tst_photoimport.moc"
