// The slide show: the step through a book's cards and back to the first, an empty book, an archive
// that cannot be opened, photos that are missing, unreadable, large or rotated, and the window that
// fills the screen and closes on a click. The step is driven directly, never by waiting on the timer.
#include "FakeMessages.h"
#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "app/Application.h"
#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"
#include "archive/windows/PhotoView.h"
#include "base/FitRule.h"
#include "base/ProgramFolder.h"
#include "output/core/SlideShow.h"
#include "output/windows/SlideShowWindow.h"
#include "ui/WindowFrame.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kBook = u"Giulia"_s;

void writeBook(const QString& path, int cards) {
    QList<TScheda> book(cards);
    for (int n = 1; n <= cards; ++n)
        book[n - 1].setField(TScheda::Titolo, u"Scatto %1"_s.arg(n));
    QVERIFY(writeFile(path, archiveOf(book)));
}

// Card n's photo is a plain picture of its own shade of grey, so what is shown says which file it is.
QColor shadeOf(int card) {
    return QColor::fromRgb(40 * card, 40 * card, 40 * card);
}

// What the window is told at each step: "W" the waiting picture, a card's number for its photo, "-"
// for nothing (the picture stays as it was).
class Recorder : public QObject {
public:
    explicit Recorder(SlideShow& show) {
        connect(&show, &SlideShow::waitingPicture, this, [this] { events << u"W"_s; });
        connect(&show, &SlideShow::photo, this, [this](const CardPhoto& photo, int position) {
            events << QString::number(position);
            photos << photo;
        });
        connect(&show, &SlideShow::bookEmpty, this, [this] { events << u"empty"_s; });
        connect(&show, &SlideShow::archiveFailed, this, [this] { events << u"failed"_s; });
    }
    // Runs one step and records "-" when it told the window nothing.
    void step(SlideShow& show) {
        const qsizetype before = events.size();
        show.step();
        if (events.size() == before)
            events << u"-"_s;
    }
    QStringList events;
    QList<CardPhoto> photos;
};

QString positionText(const SlideShow& show) {
    return show.position() ? QString::number(*show.position()) : u"none"_s;
}

} // namespace

class TestSlideshow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() {
        QTRY_VERIFY(!QApplication::activeModalWidget());
        m_dir.reset();
    }

    // --- The step ------------------------------------------------------------------------------
    void cycle_data() {
        QTest::addColumn<int>("cards");
        QTest::addColumn<QString>("photos");      // the cards that have a photo file
        QTest::addColumn<QStringList>("shown");   // after the start, then after each step
        QTest::addColumn<QStringList>("counter"); // the counter after each step
        QTest::newRow("one card") << 1 << u"1"_s << u"W 1 - 1 - 1"_s.split(u' ')
                                  << u"1 0 1 0 1"_s.split(u' ');
        QTest::newRow("three cards") << 3 << u"123"_s << u"W 1 2 3 - 1 2"_s.split(u' ')
                                     << u"1 2 3 0 1 2"_s.split(u' ');
        QTest::newRow("missing photo shows the waiting picture")
            << 3 << u"13"_s << u"W 1 W 3 - 1"_s.split(u' ') << u"1 2 3 0 1"_s.split(u' ');
        QTest::newRow("no photo at all")
            << 2 << QString() << u"W W W - W"_s.split(u' ') << u"1 2 0 1"_s.split(u' ');
    }
    void cycle() {
        QFETCH(int, cards);
        QFETCH(QString, photos);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, counter);
        writeBook(archive(), cards);
        for (QChar c : photos)
            QVERIFY(writeFile(PhotoStore::photoPath(kBook, c.digitValue()),
                              jpeg(QSize(64, 48), shadeOf(c.digitValue()))));

        SlideShow show;
        show.setBook(kBook, archive());
        show.setPictureSize(QSize(1860, 990));
        Recorder recorder(show);
        QCOMPARE(positionText(show), u"none"_s);
        show.start();
        QStringList positions;
        for (qsizetype i = 0; i < counter.size(); ++i) {
            recorder.step(show);
            positions << positionText(show);
        }
        QCOMPARE(recorder.events, shown);
        QCOMPARE(positions, counter);
        QVERIFY(show.isRunning());
        // Each photo is the file of the card it was shown for.
        qsizetype next = 0;
        for (const QString& event : shown) {
            bool isCard = false;
            const int card = event.toInt(&isCard);
            if (!isCard)
                continue;
            const QImage picture = recorder.photos[next++].display();
            QCOMPARE(picture.pixelColor(picture.rect().center()).red(), shadeOf(card).red());
        }
    }

    void startsTheTimerAfterTheWaitingPicture() {
        writeBook(archive(), 1);
        SlideShow show;
        show.setBook(kBook, archive());
        Recorder recorder(show);
        QVERIFY(!show.isRunning());
        show.start();
        QCOMPARE(recorder.events, QStringList{u"W"_s});
        QVERIFY(show.isRunning());
        QCOMPARE(show.timer().interval(), 6000);
        QVERIFY(!show.timer().isSingleShot());
        // Nothing more happens until the first tick.
        QCOMPARE(recorder.events, QStringList{u"W"_s});
        QCOMPARE(show.position(), std::nullopt);
    }

    void emptyBookEndsTheShow_data() {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("empty archive") << true;
        QTest::newRow("missing archive is created empty") << false;
    }
    void emptyBookEndsTheShow() {
        QFETCH(bool, fileExists);
        if (fileExists)
            writeBook(archive(), 0);
        SlideShow show;
        show.setBook(kBook, archive());
        Recorder recorder(show);
        show.start();
        recorder.step(show);
        QCOMPARE(recorder.events, (QStringList{u"W"_s, u"empty"_s}));
        QVERIFY(!show.isRunning());
        QCOMPARE(show.position(), std::nullopt);
        QVERIFY(QFileInfo(archive()).isFile());
        QCOMPARE(QFileInfo(archive()).size(), 0);
    }

    void bookEmptiedDuringTheShowEndsIt() {
        writeBook(archive(), 2);
        SlideShow show;
        show.setBook(kBook, archive());
        Recorder recorder(show);
        show.start();
        recorder.step(show);
        QVERIFY(QFile::resize(archive(), 0));
        recorder.step(show);
        QCOMPARE(recorder.events, (QStringList{u"W"_s, u"W"_s, u"empty"_s}));
        QCOMPARE(show.position(), std::nullopt);
        QVERIFY(!show.isRunning());
    }

    void failingArchiveKeepsTheCounter_data() {
        QTest::addColumn<int>("fault"); // 0: a folder where the archive should be
        QTest::newRow("folder in place of the archive") << 0;
        QTest::newRow("archive locked") << int(FaultyFileSystem::Fault::OpenFails);
    }
    void failingArchiveKeepsTheCounter() {
        QFETCH(int, fault);
        writeBook(archive(), 3);
        QVERIFY(writeFile(PhotoStore::photoPath(kBook, 2), jpeg(QSize(64, 48), shadeOf(2))));
        SlideShow show;
        show.setBook(kBook, archive());
        Recorder recorder(show);
        show.start();
        recorder.step(show);
        QCOMPARE(show.position(), std::optional<int>(1));
        {
            std::unique_ptr<FaultyFileSystem> faulty;
            if (fault)
                faulty = std::make_unique<FaultyFileSystem>(FaultyFileSystem::Fault(fault));
            else
                QVERIFY(QFile::rename(archive(), archive() + u".bak"_s) && QDir().mkdir(archive()));
            recorder.step(show);
            recorder.step(show);
            if (!fault)
                QVERIFY(QDir().rmdir(archive()) && QFile::rename(archive() + u".bak"_s, archive()));
        }
        QCOMPARE(show.position(), std::optional<int>(1));
        QVERIFY(show.isRunning());
        // The next tick tries again and goes on from where the show was.
        recorder.step(show);
        QCOMPARE(recorder.events, (QStringList{u"W"_s, u"W"_s, u"failed"_s, u"failed"_s, u"2"_s}));
        QCOMPARE(show.position(), std::optional<int>(2));
        QCOMPARE(QFileInfo(archive()).size(), 3 * qint64(TScheda::kSize));
    }

    // A tick that falls due while the error message of the previous step is still open is let go.
    void ticksWaitForAnOpenMessage() {
        SlideShow show;
        show.setBook(kBook, m_dir->path()); // a folder: the archive cannot be opened
        int failures = 0;
        connect(&show, &SlideShow::archiveFailed, this, [&] {
            ++failures;
            show.step(); // the tick that comes while the message is up
        });
        show.start();
        show.step();
        QCOMPARE(failures, 1);
        show.step();
        QCOMPARE(failures, 2);
        QVERIFY(show.isRunning());
    }

    // --- Photos --------------------------------------------------------------------------------
    void photoDecodedAtTheSizeShown_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QSize>("fullSize");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("large photo decoded small")
            << jpeg(QSize(4000, 3000), Qt::gray) << QSize(4000, 3000) << QSize(1320, 990);
        QTest::newRow("small photo kept at its size for the view to enlarge")
            << jpeg(QSize(200, 150), Qt::gray) << QSize(200, 150) << QSize(200, 150);
        QTest::newRow("rotated photo stands upright")
            << withOrientation(jpeg(QSize(400, 300), Qt::gray), 6) << QSize(300, 400) << QSize(300, 400);
        QTest::newRow("large rotated photo")
            << withOrientation(jpeg(QSize(4000, 3000), Qt::gray), 6) << QSize(3000, 4000) << QSize(742, 990);
    }
    void photoDecodedAtTheSizeShown() {
        QFETCH(QByteArray, file);
        QFETCH(QSize, fullSize);
        QFETCH(QSize, decoded);
        writeBook(archive(), 1);
        QVERIFY(writeFile(PhotoStore::photoPath(kBook, 1), file));
        SlideShow show;
        show.setBook(kBook, archive());
        show.setPictureSize(QSize(1860, 990));
        Recorder recorder(show);
        show.step();
        QCOMPARE(recorder.photos.size(), 1);
        QCOMPARE(recorder.photos[0].fullSize(), fullSize);
        QCOMPARE(recorder.photos[0].display().size(), decoded);
    }

    void unreadablePhotoShowsTheWaitingPicture_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("not a picture") << QByteArray("questo non è un JPEG");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("cut short") << jpeg(QSize(400, 300), Qt::gray).left(40);
    }
    void unreadablePhotoShowsTheWaitingPicture() {
        QFETCH(QByteArray, file);
        writeBook(archive(), 1);
        QVERIFY(writeFile(PhotoStore::photoPath(kBook, 1), file));
        SlideShow show;
        show.setBook(kBook, archive());
        Recorder recorder(show);
        recorder.step(show);
        QCOMPARE(recorder.events, QStringList{u"W"_s});
        QCOMPARE(show.position(), std::optional<int>(1));
    }

    void photoFolderCreatedBeforeLoading() {
        writeBook(archive(), 1);
        QVERIFY(!QFileInfo::exists(PhotoStore::folder()));
        SlideShow show;
        show.setBook(kBook, archive());
        show.step();
        QVERIFY(QFileInfo(PhotoStore::folder()).isDir());
    }

    void fillRule_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("small photo enlarged") << QSize(200, 150) << QRect(270, 0, 1320, 990);
        QTest::newRow("large photo shrunk") << QSize(6000, 2000) << QRect(0, 185, 1860, 620);
        QTest::newRow("waiting picture") << QSize(689, 529) << QRect(285, 0, 1290, 990);
        QTest::newRow("the area's own size") << QSize(1860, 990) << QRect(0, 0, 1860, 990);
    }
    void fillRule() {
        QFETCH(QSize, picture);
        QFETCH(QRect, drawn);
        QCOMPARE(FitRule::fill(picture, QSize(1860, 990)), drawn);
    }

    // --- The window ----------------------------------------------------------------------------
    void windowFillsTheScreenAndClosesOnAClick_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("click on the photo") << u"imgFoto"_s;
        QTest::newRow("click on the panel") << u"panContainer"_s;
    }
    void windowFillsTheScreenAndClosesOnAClick() {
        QFETCH(QString, target);
        writeBook(archive(), 2);
        QVERIFY(writeFile(PhotoStore::photoPath(kBook, 1), jpeg(QSize(200, 150), shadeOf(1))));
        FakeMessages messages;
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto* window = qobject_cast<SlideShowWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            // A failed check leaves the lambda early: the window must close all the same.
            const auto closeAnyway = qScopeGuard([window] { window->close(); });
            QCOMPARE(window->windowTitle(), u" Slide Show Book Fotografico"_s);
            QVERIFY(window->windowState() & Qt::WindowMaximized);
            const Qt::WindowFlags flags = window->windowFlags();
            QVERIFY(flags & Qt::WindowMinimizeButtonHint);
            QVERIFY(flags & Qt::WindowMaximizeButtonHint);
            QVERIFY(flags & Qt::WindowCloseButtonHint);
            auto* panel = window->findChild<QWidget*>(u"panContainer"_s);
            QVERIFY(panel);
            QCOMPARE(panel->size(), QSize(1860, 990));
            QCOMPARE(window->picture()->size(), QSize(1860, 990));
            QCOMPARE(window->picture()->objectName(), u"imgFoto"_s);
            QTRY_COMPARE(panel->geometry().center(), window->rect().center());
            QCOMPARE(window->slideShow()->bookName(), kBook);
            QCOMPARE(window->slideShow()->archivePath(), archive());

            // The waiting picture first, enlarged to the area, then the first photo as large as it goes.
            QVERIFY(window->picture()->showsArtwork());
            QCOMPARE(window->picture()->drawnRect(), QRect(285, 0, 1290, 990));
            QVERIFY(window->slideShow()->isRunning());
            window->slideShow()->step();
            QVERIFY(!window->picture()->showsArtwork());
            QCOMPARE(window->picture()->drawnRect(), QRect(270, 0, 1320, 990));
            window->picture()->repaint();
            window->slideShow()->step();
            QVERIFY(window->picture()->showsArtwork());

            QTest::mouseClick(window->findChild<QWidget*>(target), Qt::LeftButton, {}, QPoint(10, 10));
            checked = true;
        });
        const int result = openModal<SlideShowWindow>(nullptr, [&](SlideShowWindow& window) {
            window.setBook(kBook, archive());
        });
        QVERIFY(checked);
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(messages.asked.isEmpty());
    }

    void windowEndsOnAnEmptyBook() {
        writeBook(archive(), 0);
        FakeMessages messages;
        QTimer::singleShot(0, this, [&] {
            auto* window = qobject_cast<SlideShowWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            const auto closeAnyway = qScopeGuard([window] { window->close(); });
            window->slideShow()->step();
            QVERIFY(!window->isVisible());
        });
        openModal<SlideShowWindow>(nullptr,
                                   [&](SlideShowWindow& window) { window.setBook(kBook, archive()); });
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"L'archivio non contiene nessuna scheda."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Information);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
    }

    void windowReportsAFailingArchiveAndStays() {
        FakeMessages messages;
        bool stayed = false;
        QTimer::singleShot(0, this, [&] {
            auto* window = qobject_cast<SlideShowWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            const auto closeAnyway = qScopeGuard([window] { window->close(); });
            window->slideShow()->step();
            stayed = window->isVisible() && window->slideShow()->isRunning();
        });
        openModal<SlideShowWindow>(nullptr, [&](SlideShowWindow& window) {
            window.setBook(kBook, m_dir->path()); // a folder where the archive should be
        });
        QVERIFY(stayed);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, BookArchive::accessMessage());
        QCOMPARE(messages.asked[0].kind, MsgKind::Error);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
    }

private:
    QString archive() const { return ProgramFolder::archiveOf(kBook); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

LUMIVERA_WINDOW_TEST_MAIN(TestSlideshow)

#include "tst_slideshow.moc"
