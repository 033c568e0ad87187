// The book at a glance: the "Provino" window opened from the editor, its grid of thumbnails drawn from
// the cards' photo files, the keyboard and mouse moving through it and choosing a card for the editor,
// the three sizes, selection, a photo changed on disk, a book far larger than a screen, and the photo
// files a thumbnail gives when dragged out.
#include "FakeFileDialogs.h"
#include "FakeMessages.h"
#include "TestDrops.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "app/WindowSet.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"
#include "editor/windows/EditorWindow.h"
#include "editor/windows/OverviewWindow.h"
#include "ui/Picture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

TScheda card(int n) {
    TScheda c;
    c.setField(TScheda::Titolo, u"Scatto %1"_s.arg(n));
    c.setField(TScheda::Data, u"%1/03/2024"_s.arg(n % 28 + 1, 2, 10, QChar(u'0')));
    c.setField(TScheda::Location, u"Milano"_s);
    return c;
}

// The colour of card n's photo: each card its own, far from the others and from the placeholder's.
QColor colourOf(int n) {
    return QColor::fromHsv((n * 67) % 360, 255, 230);
}

} // namespace

class TestOverview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
        m_windows = std::make_unique<WindowSet>();
    }
    void cleanup() { m_windows.reset(); }

    // Ctrl+G in the editor opens the window on the book, its caption naming it; each card is a
    // thumbnail of its own photo, a card without a photo file shows the placeholder picture.
    void opensOnEveryCardOfTheBook() {
        openBook(6, {1, 2, 3, 6}); // card 4 has no photo file
        // Card 5 was saved without a photo: its file is the placeholder picture, which is no photo.
        QVERIFY(PhotoStore::saveCardPhoto(PhotoStore::placeholder(), u"Giulia"_s, 5));
        OverviewWindow* overview = openOverview();
        QCOMPARE(overview->windowTitle(), u"Provino \u2014 Giulia"_s);
        QCOMPARE(overview->findChild<QLabel*>(u"lblSchede"_s)->text(), u"6 schede"_s);
        QListView* grid = gridOf(overview);
        QCOMPARE(grid->model()->rowCount(), 6);
        QCOMPARE(grid->model()->index(2, 0).data(CardOverviewModel::TitleRole).toString(), u"Scatto 3"_s);
        QCOMPARE(grid->model()->index(2, 0).data(CardOverviewModel::DateRole).toString(), u"04/03/2024"_s);
        for (int n = 1; n <= 6; ++n)
            QTRY_VERIFY2(showsColour(grid, n, n == 4 || n == 5 ? QColor() : colourOf(n)),
                         qPrintable(QString::number(n)));
        // Neither gives a photo file when dragged out.
        QAbstractItemModel* model = grid->model();
        QVERIFY(!model->mimeData({model->index(3, 0), model->index(4, 0)}));
    }

    // The editor's toolbar command opens it too, on the card the editor shows.
    void theToolbarCommandOpensItOnTheCardShown() {
        openBook(30, {});
        press(u'L'); // the last card
        editor()->findChild<Picture*>(u"cmdProvino"_s)->click();
        OverviewWindow* overview = editor()->overview();
        QVERIFY(overview && overview->isVisible());
        QCOMPARE(overview->selectedPositions(), QList<int>{30});
        QCOMPARE(gridOf(overview)->currentIndex().row(), 29);
    }

    // The keyboard moves through the grid (arrows, PgUp/PgDn, Home/End) and Return shows the card in
    // the editor; a double-click does the same.
    void keyboardAndDoubleClickChooseACard() {
        openBook(12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        OverviewWindow* overview = openOverview();
        QListView* grid = gridOf(overview);
        QTRY_COMPARE(QApplication::focusWidget(), grid); // the keys go to the cards at once
        QTest::keyClick(grid, Qt::Key_End);
        QCOMPARE(grid->currentIndex().row(), 11);
        QTest::keyClick(grid, Qt::Key_Home);
        QTest::keyClick(grid, Qt::Key_Right);
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(grid->currentIndex().row(), 2);
        const int perLine = grid->viewport()->width() / grid->gridSize().width();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentIndex().row(), std::min(11, 2 + perLine));
        QTest::keyClick(grid, Qt::Key_Up);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(editor()->position(), std::optional<int>(3));
        QCOMPARE(field(u"txtTitolo"_s), u"Scatto 3"_s);

        const QRect cell = grid->visualRect(grid->model()->index(4, 0));
        // A double-click: the first click of it selects, the second opens.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(editor()->position(), std::optional<int>(5));
        QCOMPARE(field(u"txtTitolo"_s), u"Scatto 5"_s);
    }

    // A card typed and not saved: choosing a thumbnail asks as the editor's own moves ask.
    void choosingACardAsksAboutChanges_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("shown"); // the card the editor shows afterwards
        QTest::newRow("cancel") << int(MsgAnswer::Cancel) << 1;
        QTest::newRow("no") << int(MsgAnswer::No) << 4;
    }
    void choosingACardAsksAboutChanges() {
        QFETCH(int, answer);
        QFETCH(int, shown);
        FakeMessages messages;
        messages.answers = {MsgAnswer(answer)};
        openBook(5, {});
        press(u'F');
        editor()->findChild<QLineEdit*>(u"txtNote"_s)->setText(u"appunto"_s);
        OverviewWindow* overview = openOverview();
        Q_EMIT overview->cardChosen(4);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, EditorWindow::unsavedChangesQuestion());
        QCOMPARE(editor()->position(), std::optional<int>(shown));
    }

    // Three sizes, from the buttons and by Ctrl+wheel; the thumbnails are decoded again for the size.
    void threeSizes() {
        openBook(3, {1, 2, 3});
        OverviewWindow* overview = openOverview();
        QListView* grid = gridOf(overview);
        QCOMPARE(overview->sizeIndex(), 1);
        const int medium = grid->gridSize().width();
        overview->findChild<QAbstractButton*>(u"btnGrandi"_s)->click();
        QCOMPARE(overview->sizeIndex(), 2);
        QVERIFY(grid->gridSize().width() > medium);
        wheel(grid, -120, Qt::ControlModifier);
        wheel(grid, -120, Qt::ControlModifier);
        QCOMPARE(overview->sizeIndex(), 0);
        QVERIFY(grid->gridSize().width() < medium);
        QVERIFY(overview->findChild<QAbstractButton*>(u"btnPiccole"_s)->isChecked());
        wheel(grid, -120, Qt::ControlModifier); // already the smallest
        QCOMPARE(overview->sizeIndex(), 0);
        for (int n = 1; n <= 3; ++n)
            QTRY_VERIFY(showsColour(grid, n, colourOf(n)));
        const QImage small =
            grid->model()->index(0, 0).data(CardOverviewModel::ThumbnailRole).value<QImage>();
        QVERIFY(small.width() <= OverviewWindow::kSizes[0] &&
                small.height() <= OverviewWindow::kSizes[0] * 4 / 3);
        // A wheel without Ctrl scrolls and leaves the size.
        wheel(grid, -120, Qt::NoModifier);
        QCOMPARE(overview->sizeIndex(), 0);
    }

    // One card or many: a click, Ctrl+click, Shift+click, Ctrl+A.
    void selection() {
        openBook(10, {});
        OverviewWindow* overview = openOverview();
        QListView* grid = gridOf(overview);
        const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers,
                              grid->visualRect(grid->model()->index(row, 0)).center());
        };
        click(1, {});
        QCOMPARE(overview->selectedPositions(), QList<int>{2});
        click(4, Qt::ControlModifier);
        QCOMPARE(overview->selectedPositions(), (QList<int>{2, 5}));
        click(6, Qt::ShiftModifier);
        QCOMPARE(overview->selectedPositions(), (QList<int>{2, 5, 6, 7}));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(overview->selectedPositions().size(), 10);
    }

    // A photo replaced on disk while the window is open shows its new picture.
    void aPhotoChangedOnDiskIsShownAnew() {
        openBook(3, {1, 2, 3});
        OverviewWindow* overview = openOverview();
        QListView* grid = gridOf(overview);
        QTRY_VERIFY(showsColour(grid, 2, colourOf(2)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 2), jpeg({60, 80}, Qt::black)));
        QTRY_VERIFY_WITH_TIMEOUT(showsColour(grid, 2, Qt::black), 10000);
    }

    // A card saved meanwhile (by the editor, or by another copy of the program) and a card appended
    // show up without reopening the window.
    void cardsSavedMeanwhileShowUp() {
        openBook(3, {});
        OverviewWindow* overview = openOverview();
        QListView* grid = gridOf(overview);
        QCOMPARE(grid->model()->index(1, 0).data(CardOverviewModel::TitleRole).toString(), u"Scatto 2"_s);
        TScheda changed = card(2);
        changed.setField(TScheda::Titolo, u"Ritratto rifatto"_s);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s),
                          archiveOf({card(1), changed, card(3), card(4)})));
        QTRY_COMPARE_WITH_TIMEOUT(grid->model()->rowCount(), 4, 10000);
        QCOMPARE(grid->model()->index(1, 0).data(CardOverviewModel::TitleRole).toString(),
                 u"Ritratto rifatto"_s);
        QCOMPARE(overview->findChild<QLabel*>(u"lblSchede"_s)->text(), u"4 schede"_s);
    }

    // A book far larger than a screen opens at once: the cards are counted, the texts read a block at
    // a time as they are shown, and only the thumbnails near the screen are decoded and kept.
    void aLargeBookIsReadOnlyWhereShown() {
        constexpr int kCards = 20000;
        QByteArray book;
        book.reserve(qsizetype(kCards) * qsizetype(TScheda::kSize));
        for (int n = 1; n <= kCards; ++n)
            book += archiveOf({card(n)});
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), book));
        const QByteArray photo = jpeg({60, 80}, Qt::red);
        for (int n = 1; n <= kCards; n += 97)
            QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, n), photo));
        editor()->openBook(u"Giulia"_s, ProgramFolder::archiveOf(u"Giulia"_s));
        editor()->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
        OverviewWindow* overview = openOverview();
        QListView* grid = gridOf(overview);
        QCOMPARE(grid->model()->rowCount(), kCards);
        QCOMPARE(overview->findChild<QLabel*>(u"lblSchede"_s)->text(), u"20000 schede"_s);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_End);
        QCOMPARE(grid->currentIndex().row(), kCards - 1);
        QTRY_COMPARE(grid->model()->index(kCards - 1, 0).data(CardOverviewModel::TitleRole).toString(),
                     u"Scatto 20000"_s);
        for (int step = 0; step < 40; ++step)
            QTest::keyClick(grid, Qt::Key_PageUp);
        // Two screens' worth of thumbnails at most.
        const ThumbnailLoader& thumbnails = overview->model().thumbnails();
        QVERIFY(thumbnails.kept() <= thumbnails.capacity());
        const int perScreen = (grid->viewport()->width() / grid->gridSize().width()) *
                              (grid->viewport()->height() / grid->gridSize().height() + 2);
        QCOMPARE(thumbnails.capacity(), std::max(CardOverviewModel::kLeastKept, 2 * perScreen));
        QVERIFY(grid->currentIndex().row() < kCards - 1);
    }

    // Cards dragged out give their photo files, in book order; a card without one gives nothing.
    void draggedThumbnailsGiveTheirPhotoFiles() {
        openBook(4, {1, 3, 4});
        OverviewWindow* overview = openOverview();
        QAbstractItemModel* model = gridOf(overview)->model();
        const std::unique_ptr<QMimeData> data(
            model->mimeData({model->index(3, 0), model->index(1, 0), model->index(0, 0)}));
        QVERIFY(data);
        QCOMPARE(data->urls(), (QList<QUrl>{QUrl::fromLocalFile(PhotoStore::photoPath(u"Giulia"_s, 1)),
                                            QUrl::fromLocalFile(PhotoStore::photoPath(u"Giulia"_s, 4))}));
        QVERIFY(!model->mimeData({model->index(1, 0)}));
        QVERIFY(gridOf(overview)->dragEnabled());
    }

    // Picture files dropped on the grid become new cards in the order they were taken, each with its
    // photo; what is not a picture, or is a photo the book has already, is named, and nothing else
    // is added.
    void picturesDroppedBecomeCards() {
        FakeMessages messages;
        messages.answers = {MsgAnswer::Ok};
        openBook(2, {1, 2});
        OverviewWindow* overview = openOverview();
        QListView* grid = gridOf(overview);
        QTemporaryDir shoot;
        const QString a = shoot.filePath(u"a.jpg"_s);
        const QString b = shoot.filePath(u"b.png"_s);
        QVERIFY(writeFile(a, jpeg({60, 80}, colourOf(3))));
        QImage png(60, 80, QImage::Format_RGB32);
        png.fill(colourOf(4));
        QVERIFY(png.save(b));
        setModified(a, QDateTime(QDate(2024, 1, 1), QTime(10, 0)));
        setModified(b, QDateTime(QDate(2024, 1, 1), QTime(9, 0)));
        QVERIFY(writeFile(shoot.filePath(u"note.txt"_s), "appunti"));
        QVERIFY(writeFile(shoot.filePath(u"copia.jpg"_s), readFile(PhotoStore::photoPath(u"Giulia"_s, 1))));

        QVERIFY(dropFiles(grid->viewport(),
                          QStringList{a, b, shoot.filePath(u"note.txt"_s), shoot.filePath(u"copia.jpg"_s)}));
        QTRY_COMPARE(grid->model()->rowCount(), 4);
        QCOMPARE(grid->model()->index(2, 0).data(CardOverviewModel::TitleRole).toString(), u"b"_s);
        QCOMPARE(grid->model()->index(3, 0).data(CardOverviewModel::TitleRole).toString(), u"a"_s);
        QCOMPARE(overview->selectedPositions(), (QList<int>{3, 4}));
        QCOMPARE(readFile(PhotoStore::photoPath(u"Giulia"_s, 4)), readFile(a));
        QTRY_VERIFY(showsColour(grid, 3, colourOf(4)));
        QTRY_VERIFY(showsColour(grid, 4, colourOf(3)));
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 u"Aggiunte 2 schede al book (dalla 3 alla 4).\r\n\r\n"
                 u"Questi file non sono stati aggiunti al book:\r\n\r\n"
                 u"\u00ABnote.txt\u00BB: non è un'immagine che il programma sa leggere.\r\n"
                 u"\u00ABcopia.jpg\u00BB: è già la foto della scheda 1.\r\n\r\n"
                 u"2 schede nuove non hanno la location: va scritta nell'editor prima di salvare. La ricerca "
                 u"di \"Importata da\" nelle note trova tutte le schede importate."_s);
        // The editor shows a new card as the book now has it.
        press(u'L');
        QCOMPARE(editor()->position(), std::optional<int>(4));
        QCOMPARE(field(u"txtNote"_s), u"Importata da a.jpg"_s);
    }

    // A folder dropped brings in its pictures; a drop of nothing from the computer is refused.
    void aFolderDropped() {
        FakeMessages messages;
        messages.answers = {MsgAnswer::Ok};
        openBook(1, {});
        OverviewWindow* overview = openOverview();
        QListView* grid = gridOf(overview);
        QTemporaryDir shoot;
        for (int n = 1; n <= 3; ++n)
            QVERIFY(writeFile(shoot.filePath(u"foto%1.jpg"_s.arg(n)), jpeg({60, 80}, colourOf(n))));
        QVERIFY(dropFiles(grid->viewport(), QStringList{shoot.path()}));
        QTRY_COMPARE(grid->model()->rowCount(), 4);
        QCOMPARE(messages.asked.size(), 1); // the three cards have no location
        QVERIFY(!dropFiles(grid->viewport(), QList<QUrl>{QUrl(u"https://example.com/foto.jpg"_s)}));
    }

    // The portfolio, the contact sheet and the export, of the whole book or of the cards selected: a
    // save-file window asks where, and the user is told where the file went.
    void outputsOfTheBookOrOfTheSelection_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("output");
        QTest::addColumn<bool>("selectedOnly");
        for (bool selectedOnly : {false, true}) {
            const char* which = selectedOnly ? "selected cards" : "whole book";
            QTest::addRow("portfolio, %s", which)
                << u"btnPortfolio"_s << int(OverviewWindow::Output::Portfolio) << selectedOnly;
            QTest::addRow("contact sheet, %s", which)
                << u"btnProvinoPdf"_s << int(OverviewWindow::Output::ContactSheet) << selectedOnly;
            QTest::addRow("export, %s", which)
                << u"btnEsporta"_s << int(OverviewWindow::Output::Export) << selectedOnly;
        }
    }
    void outputsOfTheBookOrOfTheSelection() {
        QFETCH(QString, button);
        QFETCH(int, output);
        QFETCH(bool, selectedOnly);
        FakeMessages messages;
        messages.answers = {MsgAnswer::Ok};
        FakeFileDialogs dialogs;
        openBook(6, {1, 2, 3, 4, 5, 6});
        OverviewWindow* overview = openOverview();
        QListView* grid = gridOf(overview);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(1, 0)).center());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          grid->visualRect(grid->model()->index(4, 0)).center());
        auto* onlySelected = overview->findChild<QCheckBox*>(u"chkSelezionate"_s);
        QCOMPARE(onlySelected->text(), u"Solo le schede &selezionate (2)"_s);
        onlySelected->setChecked(selectedOnly);
        overview->findChild<QSpinBox*>(u"spnColonne"_s)->setValue(2);
        const QString path = m_dir->filePath(output == int(OverviewWindow::Output::Export) ? u"uscita.xls"_s
                                                                                           : u"uscita.pdf"_s);
        dialogs.answers = {path};
        overview->findChild<QPushButton*>(button)->click();

        QCOMPARE(dialogs.asked.size(), 1);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 OverviewWindow::writtenMessage(OverviewWindow::Output(output), path));
        const QList<int> expected = selectedOnly ? QList<int>{2, 5} : QList<int>{1, 2, 3, 4, 5, 6};
        const QString text = output == int(OverviewWindow::Output::Export)
                                 ? QString::fromLatin1(readFile(path))
                                 : pdfText(path).simplified();
        for (int n = 1; n <= 6; ++n)
            QVERIFY2(text.contains(QRegularExpression(u"Scatto %1(?![0-9])"_s.arg(n))) ==
                         expected.contains(n),
                     qPrintable(u"card %1 in %2"_s.arg(n).arg(text.left(400))));
        if (output == int(OverviewWindow::Output::Portfolio))
            QCOMPARE(text.count(u"Scatto "_s), expected.size());
    }

    // An output is never written over what the program keeps, nor without a card to take.
    void outputsThatAreRefused() {
        FakeMessages messages;
        messages.answers = {MsgAnswer::Ok, MsgAnswer::Ok};
        FakeFileDialogs dialogs;
        openBook(3, {});
        OverviewWindow* overview = openOverview();
        const QByteArray archive = readFile(ProgramFolder::archiveOf(u"Giulia"_s));
        dialogs.answers = {ProgramFolder::archiveOf(u"Giulia"_s)};
        overview->findChild<QPushButton*>(u"btnPortfolio"_s)->click();
        QCOMPARE(messages.asked.size(), 1);
        QVERIFY2(messages.asked[0].text.endsWith(u": scegliere un altro nome."_s),
                 qPrintable(messages.asked[0].text));
        QCOMPARE(readFile(ProgramFolder::archiveOf(u"Giulia"_s)), archive);

        gridOf(overview)->clearSelection();
        overview->findChild<QCheckBox*>(u"chkSelezionate"_s)->setChecked(true);
        overview->findChild<QPushButton*>(u"btnEsporta"_s)->click();
        QCOMPARE(messages.asked.size(), 2);
        QCOMPARE(messages.asked[1].text, OverviewWindow::noSelectionMessage());
        QCOMPARE(dialogs.asked.size(), 1); // no save-file window for nothing
    }

    // "Annulla" in the progress window stops the portfolio: no file, the earlier one as it was.
    void aCancelledOutputLeavesTheEarlierFile() {
        FakeMessages messages;
        FakeFileDialogs dialogs;
        QList<int> all;
        for (int n = 1; n <= 400; ++n)
            all << n;
        openBook(400, all);
        OverviewWindow* overview = openOverview();
        const QString path = m_dir->filePath(u"portfolio.pdf"_s);
        QVERIFY(writeFile(path, "il portfolio di ieri"));
        dialogs.answers = {path};
        bool cancelled = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() &&
                                         QApplication::activeModalWidget()->objectName() ==
                                             u"frmAvanzamento"_s,
                                     20000);
            QApplication::activeModalWidget()->findChild<QPushButton*>(u"btnAnnulla"_s)->click();
            cancelled = true;
        });
        overview->findChild<QPushButton*>(u"btnPortfolio"_s)->click();
        QVERIFY(cancelled);
        QVERIFY(messages.asked.isEmpty()); // the user asked for it: nothing to say
        QCOMPARE(readFile(path), "il portfolio di ieri"_ba);
        QCOMPARE(QDir(m_dir->path()).entryList({u"portfolio*"_s}, QDir::Files | QDir::Hidden),
                 QStringList{u"portfolio.pdf"_s});
    }

    // Closing the editor closes the window; Escape closes it alone.
    void closesWithTheEditorAndOnEscape() {
        openBook(2, {});
        OverviewWindow* overview = openOverview();
        QTest::keyClick(gridOf(overview), Qt::Key_Escape);
        QVERIFY(!overview->isVisible());
        QVERIFY(editor()->isVisible());
        overview = openOverview();
        QVERIFY(overview);
        editor()->close();
        QVERIFY(!overview->isVisible());
    }

private:
    EditorWindow* editor() { return m_windows->editor(); }
    // A book of that many cards, with a photo file of its own colour for the cards listed.
    void openBook(int cards, const QList<int>& withPhoto) {
        QList<TScheda> book;
        for (int n = 1; n <= cards; ++n)
            book << card(n);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), archiveOf(book)));
        for (int n : withPhoto)
            QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, n), jpeg({60, 80}, colourOf(n))));
        editor()->openBook(u"Giulia"_s, ProgramFolder::archiveOf(u"Giulia"_s));
        editor()->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
    }
    OverviewWindow* openOverview() {
        editor()->activateWindow();
        if (!QTest::qWaitForWindowActive(editor()))
            return nullptr;
        QTest::keyClick(editor()->focusWidget() ? editor()->focusWidget() : editor(), Qt::Key_G,
                        Qt::ControlModifier);
        OverviewWindow* overview = editor()->overview();
        if (!overview || !QTest::qWaitForWindowExposed(overview))
            return nullptr;
        return overview;
    }
    static void setModified(const QString& path, const QDateTime& when) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime));
    }
    static QListView* gridOf(OverviewWindow* overview) {
        return overview ? overview->findChild<QListView*>(u"lstProvino"_s) : nullptr;
    }
    void press(QChar move) {
        const char* command = move == u'F' ? "cmdPrimo" : move == u'L' ? "cmdUltimo" : "cmdAvanti";
        editor()->findChild<Picture*>(QString::fromLatin1(command))->click();
    }
    QString field(const QString& name) { return editor()->findChild<QLineEdit*>(name)->text(); }
    static void wheel(QListView* grid, int delta, Qt::KeyboardModifiers modifiers) {
        const QPointF at = grid->viewport()->rect().center();
        QWheelEvent event(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &event);
    }
    // Whether card n's cell shows that colour in the middle of its thumbnail's box (an invalid colour:
    // the placeholder picture, whose middle is no flat photo colour but is drawn).
    static bool showsColour(QListView* grid, int n, const QColor& colour) {
        const QModelIndex index = grid->model()->index(n - 1, 0);
        grid->scrollTo(index);
        const QImage shot = grid->viewport()->grab().toImage();
        const QRect cell = grid->visualRect(index);
        const auto* overview = static_cast<const OverviewWindow*>(grid->window());
        const int box = OverviewWindow::kSizes[std::size_t(overview->sizeIndex())];
        const QPoint middle(cell.left() + 8 + box / 2, cell.top() + 8 + box * 2 / 3);
        const QColor seen = shot.pixelColor(middle * shot.devicePixelRatio());
        const auto state = index.data(CardOverviewModel::ThumbnailStateRole).toInt();
        if (!colour.isValid())
            return state == ThumbnailLoader::Thumbnail::NoPhoto && seen != QColor(0xE6, 0xEC, 0xF2);
        return state == ThumbnailLoader::Thumbnail::Photo && qAbs(seen.red() - colour.red()) < 24 &&
               qAbs(seen.green() - colour.green()) < 24 && qAbs(seen.blue() - colour.blue()) < 24;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
};

LUMIVERA_WINDOW_TEST_MAIN(TestOverview)
#include "tst_overview.moc"
