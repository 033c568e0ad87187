// The record editor: moving through a book's cards, showing each card's text, attachments and photo,
// the fitting rule of the photo frame, and photos that are large, rotated, missing or hostile.
#include "../archive/PhotoSamples.h"
#include "FakeFileDialogs.h"
#include "FakeMessages.h"
#include "FakeShell.h"
#include "FaultyFileSystem.h"
#include "ShownText.h"
#include "TestDrops.h"
#include "TestFiles.h"
#include "TestTyping.h"
#include "TestWindows.h"
#include "app/Application.h"
#include "app/LauncherWindow.h"
#include "app/WindowSet.h"
#include "archive/core/AttachmentFolder.h"
#include "archive/core/BookArchive.h"
#include "archive/core/PhotoPrefetch.h"
#include "archive/core/PhotoStore.h"
#include "archive/windows/PhotoView.h"
#include "base/Clock.h"
#include "base/FitRule.h"
#include "base/HelpTopics.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"
#include "editor/windows/AttachmentsWindow.h"
#include "editor/windows/CalendarWindow.h"
#include "editor/windows/EditorWindow.h"
#include "editor/windows/ZoomWindow.h"
#include "ui/GuideWindow.h"
#include "ui/Picture.h"
#include "ui/StatusHints.h"
#include "ui/StorableTextValidator.h"

#include <QBuffer>
#include <QCalendarWidget>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kRecord = qsizetype(TScheda::kSize);

TScheda card(int n) {
    TScheda c;
    c.setField(TScheda::Titolo, u"Scatto %1"_s.arg(n));
    c.setField(TScheda::Descrizione, u"Descrizione %1"_s.arg(n));
    c.setField(TScheda::Data, u"0%1/03/2024"_s.arg(n));
    c.setField(TScheda::Location, u"Milano"_s);
    c.setField(TScheda::Note, u"Nota %1"_s.arg(n));
    c.setField(TScheda::File01, u"contratto%1.pdf"_s.arg(n));
    c.setField(TScheda::Desc03, u"Liberatoria %1"_s.arg(n));
    return c;
}

void writeBook(const QString& path, int cards) {
    QList<TScheda> book;
    for (int n = 1; n <= cards; ++n)
        book << card(n);
    QVERIFY(writeFile(path, archiveOf(book)));
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
        m_windows = std::make_unique<WindowSet>();
    }
    void cleanup() {
        m_windows.reset();
        ProcessFormats::setSystemLocale(std::nullopt);
    }

    // --- Fitting rule ----------------------------------------------------------------------------
    void fittingRule_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("drawn");
        const QSize frame(307, 409);
        QTest::newRow("landscape shrinks to the width")
            << QSize(1600, 1200) << frame << QRect(0, 89, 307, 231);
        QTest::newRow("portrait fills the frame") << QSize(3000, 4000) << frame << QRect(0, 0, 307, 409);
        QTest::newRow("small picture keeps its size") << QSize(200, 150) << frame << QRect(54, 130, 200, 150);
        QTest::newRow("exactly the frame") << QSize(307, 409) << frame << QRect(0, 0, 307, 409);
        QTest::newRow("thin and tall") << QSize(10, 1000) << frame << QRect(151, 0, 5, 409);
        QTest::newRow("zoom, small photo")
            << QSize(200, 150) << QSize(1860, 990) << QRect(830, 420, 200, 150);
        QTest::newRow("zoom, large photo")
            << QSize(4000, 3000) << QSize(1860, 990) << QRect(270, 0, 1320, 990);
    }
    void fittingRule() {
        QFETCH(QSize, picture);
        QFETCH(QSize, frame);
        QFETCH(QRect, drawn);
        QCOMPARE(FitRule::fit(picture, frame), drawn);
    }

    void photoFileNames() {
        QCOMPARE(PhotoStore::photoPath(u"Giulia"_s, 10), m_dir->filePath(u"Book_Zudid/Giulia_Foto_10.jpg"_s));
        QCOMPARE(PhotoStore::photoPath(u"Giulia"_s, 3), m_dir->filePath(u"Book_Zudid/Giulia_Foto_3.jpg"_s));
        QCOMPARE(PhotoStore::placeholder().size(), QSize(307, 409));
    }

    // --- Navigation ------------------------------------------------------------------------------
    void navigation_data() {
        QTest::addColumn<QString>("moves");     // F first, P previous, N next, L last
        QTest::addColumn<QString>("positions"); // the position after each move
        QTest::newRow("forward to the end and back") << u"NNNNPPP"_s << u"1233211"_s;
        QTest::newRow("previous from a new card") << u"P"_s << u"1"_s;
        QTest::newRow("last from a new card") << u"L"_s << u"3"_s;
        QTest::newRow("first, then last, then previous") << u"FLP"_s << u"132"_s;
        QTest::newRow("no wrap after the last") << u"LN"_s << u"33"_s;
    }
    void navigation() {
        QFETCH(QString, moves);
        QFETCH(QString, positions);
        FakeMessages messages;
        openBook(3);
        QCOMPARE(field(u"lblPosizione"_s), QString());
        for (qsizetype i = 0; i < moves.size(); ++i) {
            press(moves[i]);
            const int p = positions[i].digitValue();
            QCOMPARE(field(u"lblPosizione"_s), QString::number(p));
            QCOMPARE(editor()->position(), std::optional<int>(p));
            QCOMPARE(field(u"txtTitolo"_s), u"Scatto %1"_s.arg(p));
            QCOMPARE(field(u"txtNote"_s), u"Nota %1"_s.arg(p));
            QCOMPARE(editor()->attachments()[0], u"contratto%1.pdf"_s.arg(p));
            QCOMPARE(editor()->attachments()[5], u"Liberatoria %1"_s.arg(p));
        }
        QVERIFY(messages.asked.isEmpty());
    }

    void emptyBookGivesTheEmptyMessage_data() {
        QTest::addColumn<QString>("move");
        for (const char* m : {"F", "P", "N", "L"})
            QTest::newRow(m) << QString::fromLatin1(m);
    }
    void emptyBookGivesTheEmptyMessage() {
        QFETCH(QString, move);
        FakeMessages messages;
        openBook(0);
        press(move[0]);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"L'archivio non contiene nessuna scheda."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Information);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
        QCOMPARE(field(u"txtTitolo"_s), QString());
        QCOMPARE(editor()->position(), std::nullopt);
    }

    // A missing archive is created empty by the first move.
    void missingArchiveIsCreatedEmpty() {
        FakeMessages messages;
        openBook(0);
        QFile::remove(archive());
        press(u'N');
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(QFileInfo(archive()).size(), 0);
    }

    // A card changed on screen is never dropped without a question: Sì saves it and goes on, No
    // drops it and goes on, Annulla stays on the card as typed.
    void changedCardAsksBeforeItIsLeft_data() {
        QTest::addColumn<QChar>("command");
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<QString>("shownTitle");
        QTest::addColumn<std::optional<int>>("shownPosition");
        QTest::addColumn<QString>("storedTitle");
        const struct {
            QChar command;
            const char* name;
            QString title;
            std::optional<int> position;
        } commands[] = {
            {u'N', "next", u"Scatto 3"_s, 3},
            {u'P', "previous", u"Scatto 1"_s, 1},
            {u'F', "first", u"Scatto 1"_s, 1},
            {u'L', "last", u"Scatto 3"_s, 3},
            {u'C', "new card", QString(), std::nullopt},
        };
        for (const auto& c : commands) {
            QTest::addRow("%s, Sì", c.name)
                << c.command << MsgAnswer::Yes << c.title << c.position << u"cambiato"_s;
            QTest::addRow("%s, No", c.name)
                << c.command << MsgAnswer::No << c.title << c.position << u"Scatto 2"_s;
            QTest::addRow("%s, Annulla", c.name)
                << c.command << MsgAnswer::Cancel << u"cambiato"_s << std::optional<int>(2) << u"Scatto 2"_s;
        }
    }
    void changedCardAsksBeforeItIsLeft() {
        QFETCH(QChar, command);
        QFETCH(MsgAnswer, answer);
        QFETCH(QString, shownTitle);
        QFETCH(std::optional<int>, shownPosition);
        QFETCH(QString, storedTitle);
        openBook(3);
        press(u'N');
        press(u'N');
        QLineEdit* title = editor()->findChild<QLineEdit*>(u"txtTitolo"_s);
        QTest::keyClicks(title, u"xx"_s);
        title->setText(u"cambiato"_s);
        FakeMessages messages;
        messages.answers << answer;
        press(command);
        QCOMPARE(messages.asked.value(0).text,
                 u"Attenzione: la scheda corrente contiene modifiche che non sono state salvate in "
                 u"archivio.\r\n\r\nSi vogliono salvare le modifiche prima di proseguire?"_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Confirmation);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(messages.asked.size(), answer == MsgAnswer::Yes ? 2 : 1);
        if (answer == MsgAnswer::Yes)
            QCOMPARE(messages.asked[1].text,
                     u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s);
        QCOMPARE(field(u"txtTitolo"_s), shownTitle);
        QCOMPARE(editor()->position(), shownPosition);
        QCOMPARE(storedCard(2).field(TScheda::Titolo), storedTitle);
        QCOMPARE(QFileInfo(archive()).size(), 3 * kRecord);
    }

    // Each part of a card counts: a field, the date, an attachment, the photo. Browsing, saving and
    // duplicating without a change ask nothing, nor does a move that leaves the card on screen.
    void changesOfEachKindAreNoticed_data() {
        QTest::addColumn<int>("change");
        QTest::newRow("a field") << 0;
        QTest::newRow("the date") << 1;
        QTest::newRow("an attachment") << 2;
        QTest::newRow("a photo loaded") << 3;
        QTest::newRow("the photo deleted") << 4;
    }
    void changesOfEachKindAreNoticed() {
        QFETCH(int, change);
        FakeMessages messages;
        FakeFileDialogs dialogs;
        openBook(3);
        QVERIFY(QDir().mkpath(PhotoStore::folder()));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), jpeg({300, 400}, Qt::blue)));
        for (QChar move : {u'N', u'N', u'P', u'L', u'N', u'F', u'P', u'S', u'N', u'P', u'D', u'C'})
            press(move);
        press(u'F');
        QCOMPARE(messages.asked.size(), 2); // the save's confirmation and the duplicate's
        messages.asked.clear();
        const QString picture = m_dir->filePath(u"nuova.jpg"_s);
        QVERIFY(writeFile(picture, jpeg({200, 100}, Qt::red)));
        switch (change) {
        case 0:
            QTest::keyClicks(editor()->findChild<QLineEdit*>(u"txtNote"_s), u"!"_s);
            break;
        case 1:
            editor()->setDateText(u"07/07/2027"_s);
            break;
        case 2:
            editor()->setAttachments({u"altro.pdf"_s, QString(), QString(), QString(), QString(), QString()});
            break;
        case 3:
            dialogs.answers << picture;
            click(u"btnCaricaFoto"_s);
            break;
        case 4:
            click(u"btnCancFoto"_s);
            break;
        }
        press(u'P'); // on card 1: stays, asks nothing
        QVERIFY(messages.asked.isEmpty());
        messages.answers << MsgAnswer::Cancel;
        press(u'N');
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(editor()->position(), std::optional<int>(1));
    }

    // Closing the editor (Esci or the window's own close button) asks as a move does; Annulla keeps
    // it open with the card as typed.
    void closingAsksAboutChanges_data() {
        QTest::addColumn<bool>("byEsci");
        QTest::addColumn<MsgAnswer>("answer");
        for (bool byEsci : {true, false}) {
            const char* how = byEsci ? "Esci" : "window closed";
            QTest::addRow("%s, Sì", how) << byEsci << MsgAnswer::Yes;
            QTest::addRow("%s, No", how) << byEsci << MsgAnswer::No;
            QTest::addRow("%s, Annulla", how) << byEsci << MsgAnswer::Cancel;
        }
    }
    void closingAsksAboutChanges() {
        QFETCH(bool, byEsci);
        QFETCH(MsgAnswer, answer);
        openBook(2);
        press(u'N');
        editor()->findChild<QLineEdit*>(u"txtTrucco"_s)->setText(u"naturale"_s);
        FakeMessages messages;
        messages.answers << answer;
        if (byEsci)
            click(u"cmdEsci"_s);
        else
            editor()->close();
        QCOMPARE(messages.asked.value(0).buttons, MsgButtons::YesNoCancel);
        QCOMPARE(editor()->isVisible(), answer == MsgAnswer::Cancel);
        QCOMPARE(m_windows->launcher()->isVisible(), answer != MsgAnswer::Cancel);
        QCOMPARE(field(u"txtTrucco"_s), u"naturale"_s);
        QCOMPARE(storedCard(1).field(TScheda::Trucco), answer == MsgAnswer::Yes ? u"naturale"_s : QString());
    }

    // Sì goes on only once the card is saved: a save refused by its own checks stays on the card.
    void refusedSaveStaysOnTheCard() {
        openBook(2);
        press(u'N');
        editor()->findChild<QLineEdit*>(u"txtLocation"_s)->clear();
        FakeMessages messages;
        messages.answers << MsgAnswer::Yes;
        press(u'N');
        QCOMPARE(messages.asked.size(), 2);
        QCOMPARE(messages.asked[1].text,
                 u"Attenzione: per salvare la scheda è necessario indicare la location della foto."_s);
        QCOMPARE(editor()->position(), std::optional<int>(1));
        QCOMPARE(storedCard(1).field(TScheda::Location), u"Milano"_s);
        QTRY_VERIFY(editor()->findChild<QLineEdit*>(u"txtLocation"_s)->hasFocus());
    }

    // Every command of the editor has a key that works from any field, even one a line edit would
    // take for itself (Ctrl+D, Ctrl+E), and the button's tooltip gives its hint and that key, as the
    // guide does.
    void keysClickTheirButtons_data() {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("tooltip");
        const struct {
            QKeySequence key;
            const char* button;
            const char16_t* tooltip;
        } rows[] = {
            {Qt::Key_PageUp, "cmdIndietro", u"Visualizza la scheda precedente in archivio. (Pag\u2191)"},
            {Qt::Key_PageDown, "cmdAvanti", u"Visualizza la scheda successiva in archivio. (Pag\u2193)"},
            {Qt::CTRL | Qt::Key_Home, "cmdPrimo", u"Visualizza la prima scheda in archivio. (Ctrl+Inizio)"},
            {Qt::CTRL | Qt::Key_End, "cmdUltimo", u"Visualizza l'ultima scheda in archivio. (Ctrl+Fine)"},
            {Qt::CTRL | Qt::Key_S, "cmdSalva", u"Salva la scheda in archivio. (Ctrl+S)"},
            {Qt::CTRL | Qt::Key_N, "cmdNuovo",
             u"Prepara la schermata per l'inserimento di una nuova scheda. (Ctrl+N)"},
            {Qt::CTRL | Qt::Key_D, "cmdDuplica",
             u"Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti. "
             u"(Ctrl+D)"},
            {Qt::CTRL | Qt::Key_F, "cmdTrova", u"Trova una scheda in archivio. (Ctrl+F)"},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_A, "cmdFile", u"Allega file alla scheda. (Ctrl+Maiusc+A)"},
            {Qt::CTRL | Qt::Key_P, "cmdAnteprima",
             u"Visualizza l'anteprima di stampa della scheda. (Ctrl+P)"},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_P, "cmdStampa", u"Stampa la scheda. (Ctrl+Maiusc+P)"},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_E, "cmdEsporta",
             u"Esporta le schede in archivio in un file di Microsoft Excel. (Ctrl+Maiusc+E)"},
            {Qt::Key_F5, "cmdSlideshow", u"Esegui lo Slide Show del book fotografico. (F5)"},
            {Qt::Key_F1, "cmdGuida", u"Visualizza la pagina della guida sensibile al contesto. (F1)"},
            {Qt::CTRL | Qt::Key_W, "cmdEsci", u"Esci da questa schermata di lavoro. (Ctrl+W)"},
            {Qt::CTRL | Qt::Key_O, "btnCaricaFoto", u"Carica una foto esistente. (Ctrl+O)"},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_S, "btnSalvaFoto", u"Salva la foto su disco. (Ctrl+Maiusc+S)"},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Delete, "btnCancFoto", u"Cancella la foto. (Ctrl+Maiusc+Canc)"},
            {Qt::Key_F11, "btnZoomFoto", u"Visualizza la foto nelle sue dimensioni reali. (F11)"},
            {Qt::CTRL | Qt::Key_T, "impData", u"Inserisci la data corrente. (Ctrl+T)"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.button)
                << row.key << QString::fromLatin1(row.button) << QString::fromUtf16(row.tooltip);
    }
    void keysClickTheirButtons() {
        QFETCH(QKeySequence, key);
        QFETCH(QString, button);
        QFETCH(QString, tooltip);
        openBook(2);
        auto* picture = editor()->findChild<Picture*>(button);
        QCOMPARE(picture->toolTip(), tooltip);
        const QString keyName = tooltip.section(u'(', -1).chopped(1);
        QVERIFY2(HelpTopics::editor().text().contains(keyName), qPrintable(keyName));
        // The button's own command is taken away: only the key's reaching the button is watched.
        QObject::disconnect(picture, &Picture::clicked, nullptr, nullptr);
        QSignalSpy clicked(picture, &Picture::clicked);
        for (const char* field : {"txtTitolo", "txtNote"}) {
            auto* edit = editor()->findChild<QLineEdit*>(QString::fromLatin1(field));
            edit->setText(u"testo"_s);
            edit->setCursorPosition(0);
            edit->setFocus();
            QTRY_VERIFY(edit->hasFocus());
            QTest::keySequence(edit, key);
        }
        QCOMPARE(clicked.size(), 2);
        QCOMPARE(field(u"txtNote"_s), u"testo"_s); // no key edited the text it was pressed in
    }

    // The keys go through the buttons' own commands: they move through the book and ask before a
    // changed card is left.
    void keysMoveThroughTheBook() {
        openBook(3);
        QLineEdit* title = editor()->findChild<QLineEdit*>(u"txtTitolo"_s);
        title->setFocus();
        QTRY_VERIFY(title->hasFocus());
        QTest::keyClick(title, Qt::Key_PageDown);
        QCOMPARE(editor()->position(), std::optional<int>(1));
        QTest::keyClick(title, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(editor()->position(), std::optional<int>(3));
        QTest::keyClick(title, Qt::Key_PageUp);
        QCOMPARE(editor()->position(), std::optional<int>(2));
        QCOMPARE(title->cursorPosition(), 0); // the card shows the beginning of its title
        QTest::keyClick(title, Qt::Key_End);
        QTest::keyClicks(title, u" bis"_s);
        FakeMessages messages;
        messages.answers << MsgAnswer::Cancel;
        QTest::keyClick(title, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(editor()->position(), std::optional<int>(2));
        QCOMPARE(field(u"txtTitolo"_s), u"Scatto 2 bis"_s);
    }

    // Tab reaches every control: the twelve fields, the date button, the photo buttons, then the
    // toolbar; Space or Return on a button runs it.
    void tabReachesEveryControl() {
        openBook(2);
        const QStringList expected = {
            u"txtTitolo"_s,     u"txtDescrizione"_s, u"txtData"_s,      u"txtLocation"_s,   u"txtFotografo"_s,
            u"txtFotocamera"_s, u"txtFotoritocco"_s, u"txtAbiti"_s,     u"txtAccessori"_s,  u"txtTrucco"_s,
            u"txtGiudizio"_s,   u"txtNote"_s,        u"impData"_s,      u"btnCaricaFoto"_s, u"btnSalvaFoto"_s,
            u"btnCancFoto"_s,   u"btnZoomFoto"_s,    u"cmdNuovo"_s,     u"cmdDuplica"_s,    u"cmdSalva"_s,
            u"cmdTrova"_s,      u"cmdFile"_s,        u"cmdAnteprima"_s, u"cmdStampa"_s,     u"cmdPrimo"_s,
            u"cmdIndietro"_s,   u"cmdAvanti"_s,      u"cmdUltimo"_s,    u"cmdEsporta"_s,    u"cmdSlideshow"_s,
            u"cmdProvino"_s,    u"cmdGuida"_s,       u"cmdEsci"_s,      u"txtTitolo"_s,
        };
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), u"txtTitolo"_s);
        QStringList reached = {QApplication::focusWidget()->objectName()};
        for (qsizetype n = 1; n < expected.size(); ++n) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(reached, expected);

        for (int n = 0; n < 26; ++n) // to cmdAvanti
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdAvanti"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(editor()->position(), std::optional<int>(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(editor()->position(), std::optional<int>(2));
    }

    // A long text shows its beginning when its card is shown.
    void fieldsShowTheBeginningOfLongTexts() {
        TScheda longCard = card(1);
        longCard.setField(TScheda::Titolo,
                          u"Servizio d'inverno con la modella Giulia Rossi in esterni urbani "
                          u"e interni d'epoca, luce naturale e flash"_s);
        longCard.setField(TScheda::Note, QString(QString(240, u'n') + u" fine"_s));
        QVERIFY(writeFile(archive(), archiveOf({longCard})));
        editor()->openBook(u"Giulia"_s, archive());
        editor()->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
        press(u'N');
        for (QLineEdit* edit : editor()->findChildren<QLineEdit*>()) {
            if (!edit->text().isEmpty())
                QVERIFY2(edit->cursorPosition() == 0, qPrintable(edit->objectName()));
        }
    }

    void titleStoredWithBlanksShowsWithout() {
        openBook(0);
        TScheda raw;
        const QByteArray title("  \tServizio in spiaggia  ");
        raw.bytes()[0] = uchar(title.size());
        std::copy(title.begin(), title.end(), raw.bytes().begin() + 1);
        QVERIFY(writeFile(archive(), archiveOf({raw})));
        press(u'F');
        QCOMPARE(field(u"txtTitolo"_s), u"Servizio in spiaggia"_s);
    }

    // The archive shrank under the editor: the move fails half-way, the card on screen stays and no
    // photo is loaded.
    void failedMoveShowsTheAccessMessage() {
        FakeMessages messages;
        openBook(3);
        press(u'L');
        const CardPhoto before = editor()->photoFrame()->photo();
        QVERIFY(QFile::resize(archive(), kRecord));
        press(u'P');
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, BookArchive::accessMessage());
        QCOMPARE(messages.asked[0].kind, MsgKind::Error);
        QCOMPARE(field(u"txtTitolo"_s), u"Scatto 3"_s);
        QCOMPARE(editor()->position(), std::optional<int>(3));
        QCOMPARE(editor()->photoFrame()->photo().display(), before.display());
    }

    // --- Photos ----------------------------------------------------------------------------------
    void eachCardShowsItsPhotoOrThePlaceholder() {
        openBook(3);
        QVERIFY(QDir().mkpath(PhotoStore::folder()));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), jpeg({600, 800}, Qt::red)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 3), "questo non è un jpeg"));
        PhotoView* frame = editor()->photoFrame();

        press(u'N');
        QVERIFY(!frame->showsPlaceholder());
        QCOMPARE(frame->photo().fullSize(), QSize(600, 800));
        QCOMPARE(frame->drawnRect(), QRect(0, 0, 307, 409));
        QVERIFY(frame->photo().display().width() <= 307); // decoded at the size it is shown
        QVERIFY(frame->grab().toImage().pixelColor(150, 200).red() > 240);

        press(u'N'); // no file
        QVERIFY(frame->showsPlaceholder());
        press(u'N'); // not a picture
        QVERIFY(frame->showsPlaceholder());
        QCOMPARE(frame->photo().full(), PhotoStore::placeholder());
    }

    // The photos of the cards next to the one on screen are decoded ahead; what the frame shows is
    // always the photo file as it is now.
    void preparedPhotosFollowTheirFiles() {
        openBook(3);
        QVERIFY(QDir().mkpath(PhotoStore::folder()));
        const QString book = u"Giulia"_s;
        QVERIFY(writeFile(PhotoStore::photoPath(book, 1), jpeg({600, 800}, Qt::red)));
        QVERIFY(writeFile(PhotoStore::photoPath(book, 2), jpeg({600, 800}, Qt::green)));
        QVERIFY(writeFile(PhotoStore::photoPath(book, 3), jpeg({800, 600}, Qt::blue)));
        PhotoView* frame = editor()->photoFrame();
        const PhotoPrefetch& ahead = editor()->neighbourPhotos();
        const QSize size = frame->decodeSize();
        const auto shown = [frame] { return frame->grab().toImage().pixelColor(150, 200); };

        press(u'N');
        QTRY_VERIFY(ahead.isPrepared(book, 2, size));
        // Replaced behind the editor (by another program, a copy from a backup): the new photo.
        QVERIFY(writeFile(PhotoStore::photoPath(book, 2), jpeg({640, 800}, Qt::yellow)));
        press(u'N');
        QCOMPARE(shown().name(), QColor(Qt::yellow).name());

        // Unchanged: the prepared copy, the very picture a decode of the file gives.
        QTRY_VERIFY(ahead.isPrepared(book, 3, size));
        press(u'N');
        QCOMPARE(frame->photo().display(), PhotoStore::loadCardPhoto(book, 3, size).display());
        QCOMPARE(frame->photo().sourcePath(), PhotoStore::photoPath(book, 3));

        // A photo file removed: the placeholder.
        QVERIFY(ahead.isPrepared(book, 2, size));
        QVERIFY(QFile::remove(PhotoStore::photoPath(book, 2)));
        press(u'P');
        QVERIFY(frame->showsPlaceholder());

        // A card saved with a photo of its own: that photo, not the copy prepared before.
        press(u'F');
        QTRY_VERIFY(ahead.isPrepared(book, 2, size));
        press(u'N');
        QImage cyan(600, 800, QImage::Format_RGB32);
        cyan.fill(Qt::cyan);
        frame->setPhoto(CardPhoto::fromImage(cyan));
        {
            FakeMessages messages;
            press(u'S');
        }
        press(u'P');
        QTRY_VERIFY(ahead.isPrepared(book, 2, size));
        press(u'N');
        const QColor saved = shown();
        QVERIFY2(saved.blue() > 200 && saved.green() > 200 && saved.red() < 60, qPrintable(saved.name()));

        // The book closed: nothing kept.
        editor()->close();
        QVERIFY(!ahead.isPrepared(book, 1, size));
        QVERIFY(!ahead.isPrepared(book, 3, size));
    }

    void removedPhotoFolderIsMadeAgain() {
        openBook(2);
        press(u'N');
        QVERIFY(QDir(PhotoStore::folder()).exists());
        QVERIFY(QDir(PhotoStore::folder()).removeRecursively());
        press(u'N');
        QVERIFY(QDir(PhotoStore::folder()).exists());
        QVERIFY(editor()->photoFrame()->showsPlaceholder());
    }

    void uprightPhotosFromTheirOrientation_data() {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("upright");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("small, turned") << QSize(400, 200) << QSize(200, 400) << QSize(200, 400);
        QTest::newRow("large, turned and shrunk") << QSize(1600, 800) << QSize(800, 1600) << QSize(205, 409);
    }
    void uprightPhotosFromTheirOrientation() {
        QFETCH(QSize, stored);
        QFETCH(QSize, upright);
        QFETCH(QSize, shown);
        const QString path = m_dir->filePath(u"ruotata.jpg"_s);
        QVERIFY(writeFile(path, withOrientation(jpeg(stored, Qt::blue), 6)));
        const CardPhoto photo = CardPhoto::fromFile(path, {307, 409});
        QCOMPARE(photo.fullSize(), upright);
        QCOMPARE(photo.display().size(), shown);
        QCOMPARE(photo.full().size(), upright);
    }

    // Real 100-megapixel photos load, in full when asked; a tiny file that claims an absurd size does not.
    void largeAndHostileSizes() {
        const QString big = m_dir->filePath(u"grande.jpg"_s);
        QVERIFY(writeFile(big, withDeclaredSize(jpeg({64, 64}, Qt::green), {12000, 8400})));
        const CardPhoto photo = CardPhoto::fromFile(big, {307, 409});
        QVERIFY(!photo.isNull());
        QCOMPARE(photo.fullSize(), QSize(12000, 8400));
        QCOMPARE(photo.display().size(), QSize(307, 215));
        QCOMPARE(photo.full().size(), QSize(12000, 8400));

        const QString hostile = m_dir->filePath(u"ostile.jpg"_s);
        const QByteArray bytes = withDeclaredSize(jpeg({8, 8}, Qt::green), {30000, 30000});
        QVERIFY(bytes.size() < 1000);
        QVERIFY(writeFile(hostile, bytes));
        QVERIFY(CardPhoto::fromFile(hostile, {307, 409}).isNull());
    }

    // A photo of 16 bits a channel decodes to eight bytes a pixel: above 16.7 megapixels that is more
    // than four bytes a pixel and a margin, and it still loads, for the frame and in full.
    void deepColourPhotosLoad() {
        const QSize size(5000, 4000);
        QImage deep(size, QImage::Format_RGBA64);
        deep.fill(QColor(200, 120, 40));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setQuality(90); // the fastest compression
        QVERIFY(writer.write(deep));
        deep = QImage();
        const QString path = m_dir->filePath(u"profonda.png"_s);
        QVERIFY(writeFile(path, png));

        const CardPhoto shown = CardPhoto::fromFile(path, {307, 409});
        QCOMPARE(shown.fullSize(), size);
        QCOMPARE(shown.display().size(), QSize(307, 245));
        QCOMPARE(shown.full().size(), size);
        const CardPhoto picked = CardPhoto::fromFileInFull(path, {307, 409});
        QCOMPARE(picked.full().size(), size);
        QCOMPARE(picked.full().pixelColor(4999, 3999), QColor(200, 120, 40));
        // Saved with its card, it becomes an ordinary JPEG of the same picture.
        QVERIFY(PhotoStore::saveCardPhoto(picked.full(), u"Giulia"_s, 1));
        const QImage saved(PhotoStore::photoPath(u"Giulia"_s, 1));
        QCOMPARE(saved.size(), size);
        const QColor colour = saved.pixelColor(2500, 2000);
        QVERIFY2(qAbs(colour.red() - 200) <= 2 && qAbs(colour.green() - 120) <= 2 &&
                     qAbs(colour.blue() - 40) <= 2,
                 qPrintable(colour.name()));
    }

    // A frame shows the picture it holds now, also when the next one is drawn at the same size.
    void frameShowsEachNewPhoto() {
        PhotoView frame;
        frame.resize(307, 409);
        for (const QColor colour : {QColor(Qt::red), QColor(Qt::blue), QColor(Qt::green)}) {
            QImage photo(4032, 3024, QImage::Format_RGB32);
            photo.fill(colour);
            frame.setPhoto(CardPhoto::fromImage(photo));
            QCOMPARE(frame.grab().toImage().pixelColor(150, 200), colour);
        }
    }

    // Palette pictures of one, four and eight bits a pixel keep their own colours when shrunk for the
    // frame, when decoded in full and when drawn.
    void palettePicturesKeepTheirColours_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QImage::Format>("stored");
        QTest::newRow("PNG, 1 bit") << "png"_ba << QImage::Format_Mono;
        QTest::newRow("BMP, 1 bit") << "bmp"_ba << QImage::Format_Mono;
        QTest::newRow("BMP, 1 bit, least significant first") << "bmp"_ba << QImage::Format_MonoLSB;
        QTest::newRow("PNG, 8 bits") << "png"_ba << QImage::Format_Indexed8;
        QTest::newRow("BMP, 8 bits") << "bmp"_ba << QImage::Format_Indexed8;
    }
    void palettePicturesKeepTheirColours() {
        QFETCH(QByteArray, format);
        QFETCH(QImage::Format, stored);
        const QColor blue(0, 0, 255);
        QImage picture(640, 480, stored);
        picture.setColorTable({blue.rgb(), qRgb(255, 255, 0)});
        picture.fill(0);
        const QString path = m_dir->filePath(u"tavolozza."_s + QString::fromLatin1(format));
        QImageWriter writer(path, format);
        QVERIFY2(writer.write(picture), qPrintable(writer.errorString()));
        QCOMPARE(QImageReader(path).imageFormat(),
                 stored == QImage::Format_Indexed8 ? stored : QImage::Format_Mono);

        const CardPhoto photo = CardPhoto::fromFile(path, {307, 409});
        QCOMPARE(photo.display().size(), QSize(307, 231));
        QCOMPARE(photo.display().pixelColor(150, 100), blue);
        QCOMPARE(photo.full().pixelColor(600, 400), blue);
        PhotoView frame;
        frame.resize(307, 409);
        frame.setPhoto(photo);
        QCOMPARE(frame.grab().toImage().pixelColor(150, 200), blue);
        frame.setPhoto(CardPhoto::fromFileInFull(path, {307, 409}));
        QCOMPARE(frame.grab().toImage().pixelColor(150, 200), blue);
    }

    // --- The window ------------------------------------------------------------------------------
    void startsOnANewCardAndClosesToTheLauncher() {
        openBook(3);
        press(u'L');
        editor()->close();
        QVERIFY(m_windows->launcher()->isVisible());
        QVERIFY(!editor()->isVisible());
        m_windows->launcher()->hide();
        editor()->openBook(u"Altra"_s, m_dir->filePath(u"Altra.wmn"_s));
        editor()->show();
        QCOMPARE(field(u"lblNome"_s), u"Altra"_s);
        QCOMPARE(field(u"txtTitolo"_s), QString());
        QCOMPARE(editor()->position(), std::nullopt);
        QVERIFY(editor()->photoFrame()->showsPlaceholder());
        QTRY_VERIFY(editor()->findChild<QLineEdit*>(u"txtTitolo"_s)->hasFocus());
    }

    void fieldsHoldNoMoreThanTheCard() {
        const std::pair<const char*, int> limits[] = {
            {"txtTitolo", 120},    {"txtDescrizione", 250}, {"txtData", 10},         {"txtLocation", 50},
            {"txtFotografo", 50},  {"txtFotocamera", 50},   {"txtFotoritocco", 250}, {"txtAbiti", 250},
            {"txtAccessori", 250}, {"txtTrucco", 250},      {"txtGiudizio", 250},    {"txtNote", 250}};
        for (const auto& [name, limit] : limits)
            QCOMPARE(editor()->findChild<QLineEdit*>(QString::fromLatin1(name))->maxLength(), limit);
        QVERIFY(editor()->findChild<QLineEdit*>(u"txtData"_s)->isReadOnly());
    }

    void hintsOfTheEditor_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("hint");
        QTest::newRow("save") << u"cmdSalva"_s << u"Salva la scheda in archivio."_s;
        QTest::newRow("zoom") << u"btnZoomFoto"_s << u"Visualizza la foto nelle sue dimensioni reali."_s;
        QTest::newRow("date field")
            << u"txtData"_s
            << u"Fai clic su questo campo e premi un tasto qualsiasi per importare una data dal calendario."_s;
        QTest::newRow("exit") << u"cmdEsci"_s << u"Esci da questa schermata di lavoro."_s;
    }
    void hintsOfTheEditor() {
        QFETCH(QString, control);
        QFETCH(QString, hint);
        openBook(0);
        auto* panInfo = editor()->findChild<QLabel*>(u"panInfo"_s);
        QCOMPARE(panInfo->text(), u"Pronto per archiviare una nuova scheda..."_s);
        QTest::mouseMove(editor()->findChild<QWidget*>(control), {3, 3});
        QCOMPARE(panInfo->text(), hint);
        QTest::mouseMove(editor()->findChild<QWidget*>(u"txtTitolo"_s), {3, 3});
        QCOMPARE(panInfo->text(), hint);
        QTest::mouseMove(editor()->findChild<QWidget*>(u"shpSfondo"_s), {300, 3});
        QCOMPARE(panInfo->text(), QString());
    }

    // A label behaves as the shape it is drawn on: the status line and the book's name lie on blue
    // strips that keep the line, the captions and the position on areas that empty it.
    void labelsActAsTheShapeUnderThem_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shown");
        const QString hint = u"Salva la scheda in archivio."_s;
        QTest::newRow("status line") << u"panInfo"_s << hint;
        QTest::newRow("book name banner") << u"lblNome"_s << hint;
        QTest::newRow("caption on the white background") << u"lblTitolo"_s << QString();
        QTest::newRow("position on the toolbar strip") << u"lblPosizione"_s << QString();
    }
    void labelsActAsTheShapeUnderThem() {
        QFETCH(QString, label);
        QFETCH(QString, shown);
        openBook(0);
        auto* panInfo = editor()->findChild<QLabel*>(u"panInfo"_s);
        QTest::mouseMove(editor()->findChild<QWidget*>(u"cmdSalva"_s), {3, 3});
        QCOMPARE(panInfo->text(), u"Salva la scheda in archivio."_s);
        auto* target = editor()->findChild<QLabel*>(label);
        QVERIFY(target);
        QTest::mouseMove(target, {4, 4});
        QCOMPARE(panInfo->text(), shown);
    }

    // --- Saving ----------------------------------------------------------------------------------
    void saveNeedsTitleDateAndLocation_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("focused");
        QTest::newRow("blank title") << u"   "_s << u"01/03/2024"_s << u"Roma"_s << u"txtTitolo"_s;
        QTest::newRow("no date, location given") << u"Ritratto"_s << QString() << u"Roma"_s << u"txtData"_s;
        QTest::newRow("no date, no location") << u"Ritratto"_s << QString() << QString() << u"txtData"_s;
        QTest::newRow("no location") << u"Ritratto"_s << u"01/03/2024"_s << u" \t "_s << u"txtLocation"_s;
    }
    void saveNeedsTitleDateAndLocation() {
        QFETCH(QString, title);
        QFETCH(QString, date);
        QFETCH(QString, location);
        QFETCH(QString, focused);
        FakeMessages messages;
        openBook(1);
        fill(title, date, location);
        press(u'S');
        QCOMPARE(messages.asked.size(), 1);
        const TScheda::Field missing = focused == u"txtTitolo"_s ? TScheda::Titolo
                                       : focused == u"txtData"_s ? TScheda::Data
                                                                 : TScheda::Location;
        QCOMPARE(messages.asked[0].text, EditorWindow::missingMessage(missing));
        QVERIFY(
            messages.asked[0].text.startsWith(u"Attenzione: per salvare la scheda è necessario indicare "_s));
        QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), focused);
        QCOMPARE(QFileInfo(archive()).size(), kRecord);
        QVERIFY(!QFile::exists(PhotoStore::photoPath(u"Giulia"_s, 2)));
    }

    // --- Characters a book cannot store -----------------------------------------------------------
    // Typed or pasted, they never reach the field: the status line says which and why, the rest of the
    // text stays, and the book stores exactly what the field shows.
    void judgementKeepsWhatTheBookStores() {
        FakeMessages messages;
        openBook(0);
        auto* giudizio = editor()->findChild<QLineEdit*>(u"txtGiudizio"_s);
        auto* panInfo = editor()->findChild<QLabel*>(u"panInfo"_s);
        giudizio->setFocus();
        typeCharacters(giudizio, u"★★★★☆"_s);
        QCOMPARE(giudizio->text(), QString());
        QCOMPARE(panInfo->text(),
                 u"Il carattere «☆» non è stato inserito: un book conserva solo lettere e segni dell'Europa "
                 "occidentale."_s);
        QGuiApplication::clipboard()->setText(u"Ottimo ★ “sì” – 5 € …"_s);
        QTest::keyClick(giudizio, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(giudizio->text(), u"Ottimo  “sì” – 5 € …"_s);
        QCOMPARE(panInfo->text(), refusal(u"★"_s));
        typeCharacters(giudizio, u" ś"_s);
        QCOMPARE(panInfo->text(),
                 u"Il carattere «ś» non è stato inserito: un book conserva solo lettere e segni dell'Europa "
                 "occidentale. Scrivere «s»."_s);
        // A hint replaces the refusal, as hints replace one another.
        QTest::mouseMove(editor()->findChild<QWidget*>(u"cmdSalva"_s), {3, 3});
        QCOMPARE(panInfo->text(), u"Salva la scheda in archivio."_s);

        fill(u"Ritratto"_s, u"01/03/2024"_s, u"Kraków"_s);
        press(u'S');
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"La scheda corrente è stata inserita in archivio."_s);
        const TScheda stored = storedCard(1);
        QCOMPARE(stored.field(TScheda::Giudizio), u"Ottimo  “sì” – 5 € …"_s);
        QCOMPARE(stored.storedText(TScheda::Giudizio).toByteArray(),
                 "Ottimo  \x93s\xEC\x94 \x96 5 \x80 \x85"_ba);
        QCOMPARE(stored.field(TScheda::Location), u"Kraków"_s);
        QVERIFY(!readFile(archive()).contains('?'));
    }

    // Each of the twelve fields refuses them; the date field, which only the date commands fill, too.
    void everyFieldRefusesWhatTheBookCannotStore() {
        openBook(0);
        auto* panInfo = editor()->findChild<QLabel*>(u"panInfo"_s);
        for (const char* name :
             {"txtTitolo", "txtDescrizione", "txtData", "txtLocation", "txtFotografo", "txtFotocamera",
              "txtFotoritocco", "txtAbiti", "txtAccessori", "txtTrucco", "txtGiudizio", "txtNote"}) {
            auto* edit = editor()->findChild<QLineEdit*>(QString::fromLatin1(name));
            QVERIFY2(qobject_cast<const StorableTextValidator*>(edit->validator()), name);
            if (edit->isReadOnly())
                continue;
            panInfo->clear();
            edit->setFocus();
            typeCharacters(edit, u"Łódź"_s);
            QCOMPARE(edit->text(), u"ód"_s);
            QCOMPARE(panInfo->text(), refusal(u"ź"_s, u"z"_s)); // the last one refused
        }
    }

    // Whatever character is refused, its report fits the one line of the status strip.
    void refusalFitsTheStatusLine_data() {
        QTest::addColumn<QString>("typed");
        for (const QString& c :
             {u"ś"_s, u"Ł"_s, u"ẞ"_s, u"Ĳ"_s, u"ǖ"_s, u"★"_s, u"📷"_s, u"👍🏽"_s, u"写"_s, u"\u200B"_s,
              u"\u202F"_s, u"\u0301"_s, u"\uFDFD"_s, u"\U00012000"_s})
            QTest::newRow(qPrintable(c)) << c;
    }
    void refusalFitsTheStatusLine() {
        QFETCH(QString, typed);
        openBook(0);
        auto* panInfo = editor()->findChild<QLabel*>(u"panInfo"_s);
        auto* note = editor()->findChild<QLineEdit*>(u"txtNote"_s);
        note->setFocus();
        panInfo->clear();
        typeCharacters(note, typed);
        QCOMPARE(note->text(), QString());
        QVERIFY(panInfo->text().startsWith(u"Il carattere «"_s));
        QVERIFY(!panInfo->wordWrap());
        const int width = QFontMetrics(panInfo->font()).horizontalAdvance(panInfo->text());
        QVERIFY2(width <= panInfo->width(), qPrintable(u"%1 pixels: "_s.arg(width) + panInfo->text()));
    }

    // A text that cannot be stored, which can still reach a save through the attachments or from code,
    // stops the save before anything is written, instead of being stored as "?".
    void saveStopsAtWhatTheBookCannotStore_data() {
        QTest::addColumn<QString>("field"); // an edit field, or "File01" ... "Desc03"
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString why =
            u"che non può essere conservato nel book: un book conserva soltanto le lettere e i "
            "segni dell'alfabeto dell'Europa occidentale."_s;
        const QString notSaved =
            u"\r\n\r\nLa scheda non è stata salvata: correggere il testo e premere di nuovo Salva."_s;
        QTest::newRow("attachment name")
            << u"File01"_s << u"modella_Łucja.txt"_s
            << u"Attenzione: il nome del 1° file allegato contiene il carattere «Ł», "_s + why +
                   u" Al suo posto si può scrivere «L»."_s + notSaved;
        QTest::newRow("attachment description")
            << u"Desc03"_s << u"Liberatoria 📷"_s
            << u"Attenzione: la descrizione del 3° file allegato contiene il carattere «📷», "_s + why +
                   notSaved;
        QTest::newRow("a field filled from code")
            << u"txtGiudizio"_s << u"★★★★☆"_s
            << u"Attenzione: il campo Giudizio contiene il carattere «★», "_s + why + notSaved;
    }
    void saveStopsAtWhatTheBookCannotStore() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        FakeMessages messages;
        openBook(1);
        press(u'N');
        const QByteArray before = readFile(archive());
        editor()->findChild<QLineEdit*>(u"txtGiudizio"_s)->setText(u"Ottima luce"_s);
        if (field.startsWith(u"txt"_s)) {
            auto* edit = editor()->findChild<QLineEdit*>(field);
            edit->setValidator(nullptr); // as code that fills the field without the keyboard's rule
            edit->setText(text);
        } else {
            std::array<QString, 6> values = editor()->attachments();
            const int slot = field.right(1).toInt() - 1;
            values[field.startsWith(u"File"_s) ? slot : 3 + slot] = text;
            editor()->setAttachments(values);
        }
        press(u'S');
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, message);
        QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
        QCOMPARE(readFile(archive()), before);
        QVERIFY(!QFile::exists(PhotoStore::photoPath(u"Giulia"_s, 1)));
        if (field.startsWith(u"txt"_s))
            QTRY_COMPARE(QApplication::focusWidget()->objectName(), field);
    }

    void firstSaveIntoAnEmptyBook() {
        FakeMessages messages;
        openBook(0);
        fill(u"  Primo scatto "_s, u"01/03/2024"_s, u"Milano"_s);
        press(u'S');
        QCOMPARE(QFileInfo(archive()).size(), kRecord);
        QCOMPARE(field(u"lblPosizione"_s), u"1"_s);
        QCOMPARE(field(u"txtTitolo"_s), u"  Primo scatto "_s); // the screen keeps what was typed
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"La scheda corrente è stata inserita in archivio."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Information);
        const QImage photo(PhotoStore::photoPath(u"Giulia"_s, 1));
        QCOMPARE(photo.size(), QSize(307, 409));
        QCOMPARE(storedCard(1).field(TScheda::Titolo), u"Primo scatto"_s);
    }

    void overwriteKeepsSizeAndNewCardAppendsOnce() {
        FakeMessages messages;
        openBook(3);
        press(u'N');
        press(u'N');
        editor()->findChild<QLineEdit*>(u"txtGiudizio"_s)->setText(u"Ottima luce"_s);
        press(u'S');
        QCOMPARE(QFileInfo(archive()).size(), 3 * kRecord);
        QCOMPARE(field(u"lblPosizione"_s), u"2"_s);
        QCOMPARE(messages.asked.last().text,
                 u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s);
        QCOMPARE(storedCard(2).field(TScheda::Giudizio), u"Ottima luce"_s);
        QCOMPARE(storedCard(2).field(TScheda::File01), u"contratto2.pdf"_s); // attachments saved with it

        press(u'C'); // new card
        fill(u"Nuovo"_s, u"02/03/2024"_s, u"Torino"_s);
        press(u'S');
        press(u'S');
        QCOMPARE(QFileInfo(archive()).size(), 4 * kRecord);
        QCOMPARE(field(u"lblPosizione"_s), u"4"_s);
    }

    void duplicateMakesANewCardFromTheText() {
        FakeMessages messages;
        openBook(3);
        press(u'N');
        press(u'N');
        const QByteArray card2 = storedBytes(2);
        press(u'D');
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"E' ora possibile apportare le proprie modifiche alla scheda "
                                         u"corrente.\n\r\n\rAl termine premere "
                                         u"Salva per inserire la scheda in archivio."_s);
        QCOMPARE(editor()->position(), std::nullopt);
        QVERIFY(editor()->photoFrame()->showsPlaceholder());
        QTRY_VERIFY(editor()->findChild<QLineEdit*>(u"txtTitolo"_s)->hasFocus());
        editor()->findChild<QLineEdit*>(u"txtTitolo"_s)->setText(u"Variante"_s);
        press(u'S');

        QCOMPARE(field(u"lblPosizione"_s), u"4"_s);
        const TScheda card4 = storedCard(4);
        const TScheda original = card(2);
        QCOMPARE(card4.field(TScheda::Titolo), u"Variante"_s);
        for (int f = TScheda::Descrizione; f <= TScheda::Note; ++f)
            QCOMPARE(card4.field(TScheda::Field(f)), original.field(TScheda::Field(f)));
        for (int f = TScheda::File01; f <= TScheda::Desc03; ++f)
            QCOMPARE(card4.field(TScheda::Field(f)), QString());
        QCOMPARE(QImage(PhotoStore::photoPath(u"Giulia"_s, 4)).size(), QSize(307, 409));
        QCOMPARE(storedBytes(2), card2);
    }

    void duplicateOfANewCardIsRefused() {
        FakeMessages messages;
        openBook(2);
        fill(u"Bozza"_s, QString(), QString());
        press(u'D');
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, EditorWindow::duplicateNewCardMessage());
        QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(field(u"txtTitolo"_s), u"Bozza"_s);
    }

    // Saving a card whose photo did not change leaves its file byte for byte, however often.
    void unchangedPhotoIsNotReencoded() {
        FakeMessages messages;
        openBook(2);
        QVERIFY(QDir().mkpath(PhotoStore::folder()));
        const QByteArray original = jpeg({900, 1200}, QColor(30, 120, 200));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), original));
        press(u'N');
        for (int save = 0; save < 10; ++save)
            press(u'S');
        QCOMPARE(readFile(PhotoStore::photoPath(u"Giulia"_s, 1)), original);

        // A changed picture is written at full size.
        QImage green(1000, 700, QImage::Format_RGB32);
        green.fill(Qt::green);
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(green));
        press(u'S');
        const QImage written(PhotoStore::photoPath(u"Giulia"_s, 1));
        QCOMPARE(written.size(), QSize(1000, 700));
        QVERIFY(written.pixelColor(500, 350).green() > 240);
    }

    void failedPhotoWriteKeepsThePictureAndWarns() {
        FakeMessages messages;
        openBook(2);
        QVERIFY(QDir().mkpath(PhotoStore::photoPath(u"Giulia"_s, 1))); // a folder where the photo should go
        press(u'N');
        QImage red(640, 480, QImage::Format_RGB32);
        red.fill(Qt::red);
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(red));
        fill(u"Cambiato"_s, u"05/05/2025"_s, u"Napoli"_s);
        press(u'S');
        QCOMPARE(messages.asked.size(), 2);
        QCOMPARE(messages.asked[0].text, EditorWindow::overwrittenMessage());
        QCOMPARE(messages.asked[1].text, EditorWindow::photoNotSavedMessage());
        QCOMPARE(messages.asked[1].kind, MsgKind::Warning);
        QVERIFY(messages.asked[1].text.startsWith(u"Attenzione:"_s));
        QVERIFY(!editor()->photoFrame()->showsPlaceholder());
        QCOMPARE(editor()->photoFrame()->photo().full().size(), QSize(640, 480));
        QCOMPARE(storedCard(1).field(TScheda::Titolo), u"Cambiato"_s);
    }

    void failedRecordWriteChangesNothing_data() {
        QTest::addColumn<bool>("newCard");
        QTest::newRow("append") << true;
        QTest::newRow("overwrite") << false;
    }
    void failedRecordWriteChangesNothing() {
        QFETCH(bool, newCard);
        FakeMessages messages;
        openBook(2);
        if (!newCard)
            press(u'N');
        fill(u"Non salvato"_s, u"05/05/2025"_s, u"Bari"_s);
        const QByteArray before = readFile(archive());
        {
            FaultyFileSystem faulty(FaultyFileSystem::Fault::WriteError);
            press(u'S');
        }
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, BookArchive::accessMessage());
        QCOMPARE(readFile(archive()), before);
        QCOMPARE(editor()->position(), newCard ? std::nullopt : std::optional<int>(1));
        QVERIFY(!QFile::exists(PhotoStore::photoPath(u"Giulia"_s, 3)));
        QVERIFY(!QFile::exists(PhotoStore::photoPath(u"Giulia"_s, 1)));
    }

    // Two copies of the program on one book: a card another copy changed since this one showed it
    // (its text or its photo file) is never overwritten without the user's choice.
    void anotherCopysChangeIsNeverOverwrittenSilently_data() {
        QTest::addColumn<bool>("photo");
        QTest::addColumn<MsgAnswer>("answer");
        for (bool photo : {false, true}) {
            const char* what = photo ? "photo" : "title";
            QTest::addRow("%s, Annulla", what) << photo << MsgAnswer::Cancel;
            QTest::addRow("%s, the other version", what) << photo << MsgAnswer::Reload;
            QTest::addRow("%s, overwrite", what) << photo << MsgAnswer::Overwrite;
        }
    }
    void anotherCopysChangeIsNeverOverwrittenSilently() {
        QFETCH(bool, photo);
        QFETCH(MsgAnswer, answer);
        openBook(3);
        press(u'N');
        press(u'N');
        const QString red = m_dir->filePath(u"rossa.png"_s);
        QImage picture(120, 90, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(red));
        otherCopySaves(2, {photo ? u"photo="_s + red : u"Titolo=Da B"_s});
        const QByteArray theirs = storedBytes(2);
        const QByteArray theirPhoto = readFile(PhotoStore::photoPath(u"Giulia"_s, 2));

        editor()->findChild<QLineEdit*>(u"txtNote"_s)->setText(u"Nota di A"_s);
        FakeMessages messages;
        messages.answers << answer;
        press(u'S');
        QCOMPARE(messages.asked.value(0).text,
                 u"Attenzione: dopo che questa scheda è stata visualizzata, un'altra copia del programma "
                 u"l'ha modificata in archivio.\r\n\r\nMostra l'altra versione: visualizza la scheda come "
                 u"è ora in archivio (le modifiche fatte qui vanno perse).\r\nSovrascrivi: salva questa "
                 u"versione al posto dell'altra.\r\nAnnulla: torna alla scheda senza salvare."_s);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::ReloadOverwriteCancel);
        QCOMPARE(editor()->position(), std::optional<int>(2));
        switch (answer) {
        case MsgAnswer::Cancel:
            QCOMPARE(messages.asked.size(), 1);
            QCOMPARE(storedBytes(2), theirs);
            QCOMPARE(readFile(PhotoStore::photoPath(u"Giulia"_s, 2)), theirPhoto);
            QCOMPARE(field(u"txtNote"_s), u"Nota di A"_s);
            break;
        case MsgAnswer::Reload:
            QCOMPARE(messages.asked.size(), 1);
            QCOMPARE(storedBytes(2), theirs);
            QCOMPARE(field(u"txtNote"_s), u"Nota 2"_s);
            QCOMPARE(field(u"txtTitolo"_s), photo ? u"Scatto 2"_s : u"Da B"_s);
            if (photo)
                QVERIFY(editor()->photoFrame()->photo().display().pixelColor(60, 45).red() > 240); // JPEG
            press(u'N'); // the other version on screen is unchanged: nothing to ask
            QCOMPARE(messages.asked.size(), 1);
            break;
        default:
            QCOMPARE(messages.asked.size(), 2);
            QCOMPARE(messages.asked[1].text,
                     u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s);
            QCOMPARE(storedCard(2).field(TScheda::Titolo), u"Scatto 2"_s);
            QCOMPARE(storedCard(2).field(TScheda::Note), u"Nota di A"_s);
            QCOMPARE(QImage(PhotoStore::photoPath(u"Giulia"_s, 2)).size(), QSize(307, 409));
            break;
        }
    }

    // What this copy saved itself, and what another copy saved into other cards, is no conflict; a
    // card that the book no longer holds (an older copy of the book restored) can be appended.
    void ownSavesAndOtherCardsAreNoConflict() {
        FakeMessages messages;
        openBook(3);
        press(u'N');
        for (const QString& note : {u"uno"_s, u"due"_s, u"tre"_s}) {
            editor()->findChild<QLineEdit*>(u"txtNote"_s)->setText(note);
            press(u'S');
        }
        otherCopySaves(3, {u"Titolo=Da B"_s});
        editor()->findChild<QLineEdit*>(u"txtNote"_s)->setText(u"quattro"_s);
        press(u'S');
        QCOMPARE(messages.asked.size(), 4);
        for (const FakeMessages::Asked& asked : messages.asked)
            QCOMPARE(asked.kind, MsgKind::Information);
        QCOMPARE(storedCard(1).field(TScheda::Note), u"quattro"_s);
        QCOMPARE(storedCard(3).field(TScheda::Titolo), u"Da B"_s);

        press(u'L');
        QCOMPARE(editor()->position(), std::optional<int>(3));
        writeBook(archive(), 2);
        messages.asked.clear();
        messages.answers << MsgAnswer::Yes;
        press(u'S');
        QCOMPARE(messages.asked.value(0).text,
                 u"Attenzione: l'archivio non contiene più la scheda 3: un'altra copia del programma lo ha "
                 u"sostituito con uno più breve.\r\n\r\nSi vuole inserire la scheda corrente in archivio "
                 u"come nuova scheda?"_s);
        QCOMPARE(messages.asked.value(1).text, u"La scheda corrente è stata inserita in archivio."_s);
        QCOMPARE(QFileInfo(archive()).size(), 3 * kRecord);
        QCOMPARE(storedCard(3).field(TScheda::Titolo), u"Da B"_s);
    }

    void newCardEmptiesTheScreen() {
        openBook(2);
        press(u'L');
        press(u'C');
        QCOMPARE(field(u"txtTitolo"_s), QString());
        QCOMPARE(field(u"txtData"_s), QString());
        QCOMPARE(editor()->position(), std::nullopt);
        QCOMPARE(editor()->attachments()[0], QString());
        QVERIFY(editor()->photoFrame()->showsPlaceholder());
    }

    // --- Dates -----------------------------------------------------------------------------------
    void erasingKeysEmptyTheDateAndOpenNothing_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("before");
        QTest::newRow("backspace, empty") << int(Qt::Key_Backspace) << QString();
        QTest::newRow("delete, empty") << int(Qt::Key_Delete) << QString();
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << u"01/03/2024"_s;
        QTest::newRow("delete") << int(Qt::Key_Delete) << u"01/03/2024"_s;
    }
    void erasingKeysEmptyTheDateAndOpenNothing() {
        QFETCH(int, key);
        QFETCH(QString, before);
        openBook(0);
        editor()->setDateText(before);
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (auto* calendar = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = true;
                calendar->reject();
            }
        });
        QTest::keyClick(dateField(), Qt::Key(key));
        QCOMPARE(field(u"txtData"_s), QString());
        QCoreApplication::processEvents();
        QVERIFY(!opened);
    }

    // The calendar opens on the card's date, and on today when the card has none or its text is no
    // date the calendar can show.
    void anyOtherKeyOpensTheCalendar_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("import");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QDate>("opensOn");
        const QDate today(2026, 12, 8);
        QTest::newRow("return, import") << int(Qt::Key_Return) << true << QString() << today;
        QTest::newRow("arrow, import over a date")
            << int(Qt::Key_Left) << true << u"01/01/2000"_s << QDate(2000, 1, 1);
        QTest::newRow("letter, cancel keeps empty") << int(Qt::Key_A) << false << QString() << today;
        QTest::newRow("space, cancel keeps the date")
            << int(Qt::Key_Space) << false << u"01/01/2000"_s << QDate(2000, 1, 1);
        QTest::newRow("a date written under other regional settings")
            << int(Qt::Key_Return) << true << u"15.08.2025"_s << QDate(2025, 8, 15);
        QTest::newRow("a text that is no date") << int(Qt::Key_Return) << false << u"agosto"_s << today;
        QTest::newRow("a day no calendar has") << int(Qt::Key_Return) << false << u"31/04/2024"_s << today;
    }
    void anyOtherKeyOpensTheCalendar() {
        QFETCH(int, key);
        QFETCH(bool, import);
        QFETCH(QString, before);
        QFETCH(QDate, opensOn);
        startUnder(u"C"_s); // whose own short dates read "1 Mar 2024"
        Clock::setToday(QDate(2026, 12, 8));
        openBook(0);
        editor()->setDateText(before);
        QDate shown;
        QTimer::singleShot(0, [&] {
            auto* calendar = qobject_cast<CalendarWindow*>(QApplication::activeModalWidget());
            QVERIFY(calendar);
            QCOMPARE(calendar->parentWidget(), editor());
            auto* picker = calendar->findChild<QCalendarWidget*>(u"calAppuntamenti"_s);
            shown = picker->selectedDate();
            picker->setSelectedDate(QDate(2024, 2, 29));
            calendar->findChild<QPushButton*>(import ? u"btnImportaData"_s : u"btnAnnulla"_s)->click();
        });
        QTest::keyClick(dateField(), Qt::Key(key));
        Clock::setToday(std::nullopt);
        QCOMPARE(shown, opensOn);
        QCOMPARE(field(u"txtData"_s), import ? u"29/02/2024"_s : before);
        QVERIFY(editor()->findChildren<CalendarWindow*>().isEmpty());
    }

    // In the calendar, Return and a double-click on a day import it as "Importa" does, the arrow keys
    // move from day to day, and Escape keeps the card's date as "Annulla" does.
    void keysOfTheCalendar_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("written");
        QTest::newRow("Return on the day picked") << u"Return"_s << u"29/02/2024"_s;
        QTest::newRow("Enter of the keypad") << u"Enter"_s << u"29/02/2024"_s;
        QTest::newRow("an arrow to the next day, then Return") << u"Right Return"_s << u"01/03/2024"_s;
        QTest::newRow("a double-click on the 20th") << u"double-click"_s << u"20/02/2024"_s;
        QTest::newRow("Return on Importa") << u"Tab Return"_s << u"29/02/2024"_s;
        QTest::newRow("Escape keeps the date") << u"Escape"_s << u"01/01/2000"_s;
        QTest::newRow("Return on Annulla keeps the date") << u"Tab Tab Return"_s << u"01/01/2000"_s;
    }
    void keysOfTheCalendar() {
        QFETCH(QString, keys);
        QFETCH(QString, written);
        startUnder(u"it_IT"_s);
        openBook(0);
        editor()->setDateText(u"01/01/2000"_s);
        bool closedByTheKeys = false;
        QTimer::singleShot(0, [&] {
            auto* calendar = qobject_cast<CalendarWindow*>(QApplication::activeModalWidget());
            QVERIFY(calendar);
            // Whatever the keys did, the calendar is not left open: the test would wait on it.
            const auto closeAnyway = qScopeGuard([&] {
                closedByTheKeys = !calendar->isVisible();
                if (!closedByTheKeys)
                    calendar->reject();
            });
            auto* picker = calendar->findChild<QCalendarWidget*>(u"calAppuntamenti"_s);
            picker->setSelectedDate(QDate(2024, 2, 29));
            QTRY_VERIFY(calendar->isActiveWindow() && QApplication::focusWidget());
            for (const QString& key : keys.split(u' ')) {
                QWidget* focused = QApplication::focusWidget();
                if (key == u"double-click"_s) {
                    auto* days = picker->findChild<QTableView*>();
                    QModelIndex twentieth;
                    for (int row = 0; row < days->model()->rowCount() && !twentieth.isValid(); ++row) {
                        for (int column = 0; column < days->model()->columnCount(); ++column) {
                            const QModelIndex cell = days->model()->index(row, column);
                            if (cell.data().toString() == u"20"_s)
                                twentieth = cell;
                        }
                    }
                    QVERIFY(twentieth.isValid());
                    const QPoint at = days->visualRect(twentieth).center();
                    QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, at);
                    QTest::mouseDClick(days->viewport(), Qt::LeftButton, {}, at);
                } else if (key == u"Enter"_s) {
                    QTest::keyClick(focused, Qt::Key_Enter, Qt::KeypadModifier);
                } else {
                    QTest::keyClick(focused, keyNamed(key, Qt::Key_Right));
                }
            }
        });
        QTest::keyClick(dateField(), Qt::Key_Space);
        QVERIFY(closedByTheKeys);
        QCOMPARE(field(u"txtData"_s), written);
        QVERIFY(editor()->findChildren<CalendarWindow*>().isEmpty());
    }

    void importNeedsTheEditorsTag() {
        openBook(0);
        CalendarWindow calendar(editor());
        calendar.show();
        calendar.findChild<QPushButton*>(u"btnImportaData"_s)->click();
        QVERIFY(calendar.isVisible());
        QCOMPARE(field(u"txtData"_s), QString());
    }

    void todayIconPutsTodaysDate_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("written");
        QTest::newRow("C, which separates with blanks") << u"C"_s << u"08/12/2026"_s;
        QTest::newRow("Italian") << u"it_IT"_s << u"08/12/2026"_s;
        QTest::newRow("German") << u"de_DE"_s << u"08.12.2026"_s;
    }
    void todayIconPutsTodaysDate() {
        QFETCH(QString, locale);
        QFETCH(QString, written);
        startUnder(locale);
        Clock::setToday(QDate(2026, 12, 8));
        openBook(0);
        editor()->setDateText(u"01/01/2000"_s);
        QTest::mouseClick(editor()->findChild<Picture*>(u"impData"_s), Qt::LeftButton);
        Clock::setToday(std::nullopt);
        QCOMPARE(field(u"txtData"_s), written);
    }

    void helpShowsTheEditorTopic() {
        openBook(0);
        QString title;
        QTimer::singleShot(0, [&] {
            auto* guide = qobject_cast<GuideWindow*>(QApplication::activeModalWidget());
            QVERIFY(guide);
            title = guide->findChild<QLabel*>(u"lblTitolo"_s)->text();
            guide->accept();
        });
        QTest::mouseClick(editor()->findChild<Picture*>(u"cmdGuida"_s), Qt::LeftButton);
        QCOMPARE(title, u"App Gestione book fotografico."_s);
    }

    // --- Photo commands --------------------------------------------------------------------------
    void cancellingADialogChangesNothing_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("load") << u"btnCaricaFoto"_s;
        QTest::newRow("save to a file") << u"btnSalvaFoto"_s;
    }
    void cancellingADialogChangesNothing() {
        QFETCH(QString, command);
        FakeFileDialogs dialogs;
        FakeMessages messages;
        openBook(1);
        QImage red(50, 40, QImage::Format_RGB32);
        red.fill(Qt::red);
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(red));
        click(command);
        QCOMPARE(dialogs.asked.size(), 1);
        QCOMPARE(editor()->photoFrame()->photo().full(), red);
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"Giulia.wmn"_s});
    }

    void loadingAPhoto() {
        FakeFileDialogs dialogs;
        FakeMessages messages;
        openBook(1);
        press(u'N');
        const QString bmp = m_dir->filePath(u"ritratto.bmp"_s);
        QImage picture(800, 600, QImage::Format_RGB32);
        picture.fill(QColor(200, 40, 40));
        QVERIFY(picture.save(bmp, "BMP"));
        const QString fake = m_dir->filePath(u"testo.jpg"_s);
        QVERIFY(writeFile(fake, "non sono una foto"));

        dialogs.answers = {bmp};
        click(u"btnCaricaFoto"_s);
        QCOMPARE(dialogs.asked[0].title, u"Selezionare un file di immagine in formato Jpeg o Bitmap."_s);
        const QStringList filters = dialogs.asked[0].filters;
        QVERIFY(filters.size() >= 4);
        QCOMPARE(filters.mid(0, 2),
                 QStringList({u"Immagine JPEG (*.jpg *.jpeg)"_s, u"Immagine Bitmap (*.bmp)"_s}));
        QVERIFY(!editor()->photoFrame()->showsPlaceholder());
        QVERIFY(QFile::remove(bmp)); // the picture no longer needs its file
        press(u'S');
        const QString stored = PhotoStore::photoPath(u"Giulia"_s, 1);
        QCOMPARE(QImageReader(stored).format(), QByteArray("jpeg"));
        QCOMPARE(QImage(stored).size(), QSize(800, 600));

        dialogs.answers = {fake};
        click(u"btnCaricaFoto"_s);
        QVERIFY(editor()->photoFrame()->showsPlaceholder());
    }

    // A loaded photo fills the card's empty fields from its metadata and says which in the status line;
    // the user's own texts stay, and Ctrl+Z puts the fields back as they were, in one step.
    void loadingAPhotoFillsEmptyFields() {
        FakeFileDialogs dialogs;
        FakeMessages messages;
        startUnder(u"it_IT"_s);
        openBook(1);
        PhotoSamples::Metadata metadata;
        metadata.exif["Exif.Image.Make"] = "NIKON CORPORATION";
        metadata.exif["Exif.Image.Model"] = "NIKON Z 8";
        metadata.exif["Exif.Photo.DateTimeOriginal"] = "2024:05:17 10:20:30";
        metadata.exif["Exif.Image.Artist"] = "Anna Rossi";
        metadata.xmp["Xmp.dc.title"] = "Titolo della foto";
        metadata.xmp["Xmp.photoshop.City"] = "Łódź";
        const QString photo = m_dir->filePath(u"sfilata.jpg"_s);
        QVERIFY(writeFile(photo, PhotoSamples::withMetadata(PhotoSamples::picture("JPEG"), metadata)));

        auto* title = editor()->findChild<QLineEdit*>(u"txtTitolo"_s);
        auto* note = editor()->findChild<QLineEdit*>(u"txtNote"_s);
        QTest::keyClicks(title, u"Il mio titolo"_s);
        QTest::keyClicks(note, u"nota"_s);
        dialogs.answers = {photo};
        click(u"btnCaricaFoto"_s);
        QVERIFY(!editor()->photoFrame()->showsPlaceholder());
        QCOMPARE(field(u"txtTitolo"_s), u"Il mio titolo"_s);
        QCOMPARE(field(u"txtData"_s), u"17/05/2024"_s);
        QCOMPARE(field(u"txtLocation"_s), u"Lódz"_s);
        QCOMPARE(field(u"txtFotografo"_s), u"Anna Rossi"_s);
        QCOMPARE(field(u"txtFotocamera"_s), u"NIKON Z 8"_s);
        QCOMPARE(field(u"txtNote"_s), u"nota"_s);
        auto* panInfo = editor()->findChild<QLabel*>(u"panInfo"_s);
        QCOMPARE(panInfo->text(),
                 u"Dalla foto: Data scatto, Location, Fotografo, Fotocamera. Ctrl+Z per annullare."_s);
        QVERIFY(editor()->hasUnsavedChanges());

        // Ctrl+Z in a field the photo did not fill takes the photo's texts back, and only them.
        note->setFocus();
        QTest::keyClick(note, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(panInfo->text(), EditorWindow::photoFillUndoneMessage());
        for (const char* name : {"txtData", "txtLocation", "txtFotografo", "txtFotocamera"})
            QCOMPARE(field(QString::fromLatin1(name)), QString());
        QCOMPARE(field(u"txtTitolo"_s), u"Il mio titolo"_s);
        QCOMPARE(field(u"txtNote"_s), u"nota"_s);
        QVERIFY(!editor()->photoFrame()->showsPlaceholder()); // the photo stays
        // The next Ctrl+Z is the field's own again.
        QTest::keyClick(note, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field(u"txtNote"_s), QString());
        QVERIFY(messages.asked.isEmpty());
    }

    // Once the user changes a field the photo filled, Ctrl+Z is the field's own undo again; and the
    // read-only date field takes Ctrl+Z as the photo's undo, not as a key that opens the calendar.
    void photoFillUndoEndsAtAnEdit() {
        FakeFileDialogs dialogs;
        startUnder(u"it_IT"_s);
        openBook(1);
        PhotoSamples::Metadata metadata;
        metadata.exif["Exif.Image.Artist"] = "Anna Rossi";
        metadata.exif["Exif.Photo.DateTimeOriginal"] = "2024:05:17 10:20:30";
        const QString photo = m_dir->filePath(u"ritratto.jpg"_s);
        QVERIFY(writeFile(photo, PhotoSamples::withMetadata(PhotoSamples::picture("JPEG"), metadata)));

        dialogs.answers = {photo};
        click(u"btnCaricaFoto"_s);
        auto* date = editor()->findChild<QLineEdit*>(u"txtData"_s);
        date->setFocus();
        QTest::keyClick(date, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(field(u"txtData"_s), QString());
        QCOMPARE(field(u"txtFotografo"_s), QString());

        dialogs.answers = {photo};
        click(u"btnCaricaFoto"_s);
        auto* artist = editor()->findChild<QLineEdit*>(u"txtFotografo"_s);
        artist->setFocus();
        artist->end(false);
        QTest::keyClicks(artist, u"!"_s);
        QTest::keyClick(artist, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field(u"txtFotografo"_s), u"Anna Rossi"_s);
        QCOMPARE(field(u"txtData"_s), u"17/05/2024"_s);
    }

    // A picture file dropped on the frame is loaded as "Carica foto" loads it, its metadata filling the
    // empty fields; anything else is refused as it is dragged over, and the photo shown stays.
    void pictureDroppedOnTheFrame_data() {
        QTest::addColumn<QString>("dropped"); // a file of the test folder, or a URL as it is
        QTest::addColumn<bool>("taken");
        QTest::newRow("a photo with metadata") << u"sfilata.jpg"_s << true;
        QTest::newRow("a PNG named as a JPEG") << u"vera.jpg"_s << true;
        QTest::newRow("a text named as a photo") << u"falsa.jpg"_s << false;
        QTest::newRow("two photos") << u"sfilata.jpg|vera.jpg"_s << false;
        QTest::newRow("a folder") << u"cartella"_s << false;
        QTest::newRow("a web address") << u"https://example.com/foto.jpg"_s << false;
    }
    void pictureDroppedOnTheFrame() {
        QFETCH(QString, dropped);
        QFETCH(bool, taken);
        startUnder(u"it_IT"_s);
        openBook(1);
        PhotoSamples::Metadata metadata;
        metadata.exif["Exif.Photo.DateTimeOriginal"] = "2024:05:17 10:20:30";
        metadata.exif["Exif.Image.Artist"] = "Anna Rossi";
        QVERIFY(writeFile(m_dir->filePath(u"sfilata.jpg"_s),
                          PhotoSamples::withMetadata(PhotoSamples::picture("JPEG"), metadata)));
        QVERIFY(writeFile(m_dir->filePath(u"vera.jpg"_s), PhotoSamples::picture("PNG")));
        QVERIFY(writeFile(m_dir->filePath(u"falsa.jpg"_s), "non sono una foto"));
        QVERIFY(QDir(m_dir->path()).mkpath(u"cartella"_s));
        QList<QUrl> urls;
        for (const QString& part : dropped.split(u'|'))
            urls << (part.contains(u"://"_s) ? QUrl(part) : QUrl::fromLocalFile(m_dir->filePath(part)));

        PhotoView* frame = editor()->photoFrame();
        auto* panInfo = editor()->findChild<QLabel*>(u"panInfo"_s);
        const QString before = panInfo->text();
        QCOMPARE(dropFiles(frame, urls), taken);
        QCOMPARE(frame->showsPlaceholder(), !taken);
        QCOMPARE(editor()->hasUnsavedChanges(), taken);
        if (!taken) {
            QCOMPARE(panInfo->text(), before);
            return;
        }
        QCOMPARE(frame->photo().fullSize(), QSize(8, 6));
        if (dropped == u"sfilata.jpg"_s) {
            QCOMPARE(field(u"txtData"_s), u"17/05/2024"_s);
            QCOMPARE(field(u"txtFotografo"_s), u"Anna Rossi"_s);
            QCOMPARE(panInfo->text(), u"Dalla foto: Data scatto, Fotografo. Ctrl+Z per annullare."_s);
        }
    }

    // A photo without metadata, or one that cannot be decoded, fills nothing and says nothing.
    void photoWithoutFactsFillsNothing() {
        FakeFileDialogs dialogs;
        openBook(1);
        auto* panInfo = editor()->findChild<QLabel*>(u"panInfo"_s);
        const QString before = panInfo->text();
        const QString plain = m_dir->filePath(u"semplice.jpg"_s);
        QVERIFY(writeFile(plain, jpeg({40, 30}, Qt::red)));
        PhotoSamples::Metadata metadata;
        metadata.exif["Exif.Image.Artist"] = "Anna Rossi";
        const QString broken = m_dir->filePath(u"rotta.jpg"_s);
        QByteArray bytes = PhotoSamples::withMetadata(PhotoSamples::picture("JPEG"), metadata);
        QVERIFY(writeFile(broken, bytes.left(bytes.indexOf("\xff\xda")))); // no picture data
        dialogs.answers = {plain, broken};
        click(u"btnCaricaFoto"_s);
        click(u"btnCaricaFoto"_s);
        for (QLineEdit* edit : editor()->findChildren<QLineEdit*>())
            QCOMPARE(edit->text(), QString());
        QCOMPARE(panInfo->text(), before);
    }

    // The load offers, after JPEG and Bitmap, the other photo formats the program reads and one entry
    // with every picture it reads.
    void loadOffersEveryPictureTheProgramReads() {
        FakeFileDialogs dialogs;
        openBook(1);
        click(u"btnCaricaFoto"_s);
        QCOMPARE(dialogs.asked.size(), 1);
        const QStringList filters = dialogs.asked[0].filters;
        QCOMPARE(filters.value(0), u"Immagine JPEG (*.jpg *.jpeg)"_s);
        QCOMPARE(filters.value(1), u"Immagine Bitmap (*.bmp)"_s);
        QVERIFY2(filters.indexOf(u"Immagine PNG (*.png)"_s) > 1, qPrintable(filters.join(u" | "_s)));
        QVERIFY2(filters.indexOf(u"Immagine GIF (*.gif)"_s) > 1, qPrintable(filters.join(u" | "_s)));
        const QString every = filters.last();
        QVERIFY2(every.startsWith(u"Tutte le immagini ("_s) && every.endsWith(u')'), qPrintable(every));
        const QStringList patterns = every.sliced(19, every.size() - 20).split(u' ');
        for (const QByteArray& format : QImageReader::supportedImageFormats())
            QVERIFY2(patterns.contains(u"*."_s + QString::fromLatin1(format)), format.constData());
        for (const char* kind : {"*.jpg", "*.jpeg", "*.bmp", "*.png", "*.gif"})
            QVERIFY2(patterns.contains(QLatin1String(kind)), kind);
    }

    // The load opens in the folder of the picture loaded last; a cancelled choice leaves it so, and a
    // folder gone since is not offered.
    void loadOpensInTheFolderLastUsed() {
        FakeFileDialogs dialogs;
        openBook(1);
        const QString first = m_dir->filePath(u"Servizio Milano"_s);
        const QString second = m_dir->filePath(u"Servizio Roma"_s);
        QVERIFY(writeFile(first + u"/a.jpg"_s, jpeg({40, 30}, Qt::red)));
        QVERIFY(writeFile(second + u"/b.jpg"_s, jpeg({40, 30}, Qt::blue)));

        dialogs.answers = {first + u"/a.jpg"_s};
        click(u"btnCaricaFoto"_s);
        click(u"btnCaricaFoto"_s); // cancelled
        QCOMPARE(dialogs.asked[1].folder, first);
        dialogs.answers = {second + u"/b.jpg"_s};
        click(u"btnCaricaFoto"_s);
        QCOMPARE(dialogs.asked[2].folder, first);
        click(u"btnCaricaFoto"_s);
        QCOMPARE(dialogs.asked[3].folder, second);
        QVERIFY(QDir(second).removeRecursively());
        click(u"btnCaricaFoto"_s);
        QVERIFY(dialogs.asked[4].folder != second);
    }

    // A picture with transparent parts is shown and stored with those parts white, as a page shows
    // it, and half-transparent parts blended with white; the opaque parts keep their colour.
    void transparentPartsOfAPhotoAreWhite() {
        FakeFileDialogs dialogs;
        FakeMessages messages;
        openBook(1);
        press(u'N');
        QImage picture(300, 100, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        for (int y = 0; y < 100; ++y) {
            for (int x = 100; x < 200; ++x)
                picture.setPixel(x, y, qRgba(255, 0, 0, 128));
            for (int x = 200; x < 300; ++x)
                picture.setPixel(x, y, qRgb(0, 0, 255));
        }
        const QString png = m_dir->filePath(u"logo.png"_s);
        QVERIFY(picture.save(png, "PNG"));
        dialogs.answers = {png};
        click(u"btnCaricaFoto"_s);
        QVERIFY(!editor()->photoFrame()->showsPlaceholder());

        const auto near = [](QColor seen, QColor expected) {
            return std::abs(seen.red() - expected.red()) <= 12 &&
                   std::abs(seen.green() - expected.green()) <= 12 &&
                   std::abs(seen.blue() - expected.blue()) <= 12;
        };
        const QColor white(255, 255, 255), pink(255, 127, 127), blue(0, 0, 255);
        // On screen: the frame draws the picture 300 x 100 in its middle.
        const QImage shown = editor()->photoFrame()->grab().toImage();
        const QRect drawn = editor()->photoFrame()->drawnRect();
        QCOMPARE(drawn.size(), QSize(300, 100));
        const int y = drawn.center().y();
        QVERIFY2(near(shown.pixelColor(drawn.left() + 50, y), white),
                 qPrintable(shown.pixelColor(drawn.left() + 50, y).name()));
        QVERIFY(near(shown.pixelColor(drawn.left() + 150, y), pink));
        QVERIFY(near(shown.pixelColor(drawn.left() + 250, y), blue));

        press(u'S');
        const QImage stored(PhotoStore::photoPath(u"Giulia"_s, 1));
        QCOMPARE(stored.size(), QSize(300, 100));
        QVERIFY2(near(stored.pixelColor(50, 50), white), qPrintable(stored.pixelColor(50, 50).name()));
        QVERIFY2(near(stored.pixelColor(150, 50), pink), qPrintable(stored.pixelColor(150, 50).name()));
        QVERIFY(near(stored.pixelColor(250, 50), blue));
    }

    void deletedPhotoComesBackUnlessSaved() {
        FakeMessages messages;
        openBook(2);
        QVERIFY(QDir().mkpath(PhotoStore::folder()));
        const QByteArray original = jpeg({400, 300}, Qt::blue);
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), original));
        press(u'N');
        click(u"btnCancFoto"_s);
        QVERIFY(editor()->photoFrame()->showsPlaceholder());
        QCOMPARE(readFile(PhotoStore::photoPath(u"Giulia"_s, 1)), original); // nothing on disk yet
        press(u'N');
        press(u'P');
        QVERIFY(!editor()->photoFrame()->showsPlaceholder());
        click(u"btnCancFoto"_s);
        press(u'S');
        QCOMPARE(QImage(PhotoStore::photoPath(u"Giulia"_s, 1)).size(), QSize(307, 409));
    }

    void savingThePhotoToAFile_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written");
        QTest::newRow("bare name gets .jpg") << u"copia"_s << u"copia.jpg"_s;
        QTest::newRow("png by its extension") << u"copia.png"_s << u"copia.png"_s;
    }
    void savingThePhotoToAFile() {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        FakeFileDialogs dialogs;
        FakeMessages messages;
        openBook(1);
        dialogs.answers = {m_dir->filePath(answer)};
        click(u"btnSalvaFoto"_s); // the placeholder is on show
        QCOMPARE(dialogs.asked[0].proposedName, u"Foto.jpg"_s);
        QCOMPARE(dialogs.asked[0].filters, QStringList{u"File Jpeg (*.jpg)"_s});
        QCOMPARE(dialogs.asked[0].title,
                 u"Selezionare la cartella in cui si desidera salvare il file Jpeg."_s);
        QCOMPARE(QImage(m_dir->filePath(written)).size(), QSize(307, 409));
        // The user is told where the picture went: the file written, with its folder.
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"La foto è stata salvata nel file \""_s +
                                             QDir::toNativeSeparators(m_dir->filePath(written)) + u"\"."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Information);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
    }

    // The bytes of a picture saved to a file: the encoder the extension names (any case), JPEG when
    // there is none, JPEG at the photos' quality and the rest at their encoder's own settings.
    void savingAPictureToAFileEncodesByTheExtension_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("quality");
        QTest::newRow("jpg") << u"copia.jpg"_s << QByteArray("jpg") << PhotoStore::kJpegQuality;
        QTest::newRow("JPEG in capitals")
            << u"copia.JPEG"_s << QByteArray("jpeg") << PhotoStore::kJpegQuality;
        QTest::newRow("no extension") << u"copia"_s << QByteArray("jpg") << PhotoStore::kJpegQuality;
        QTest::newRow("png") << u"copia.png"_s << QByteArray("png") << -1;
        QTest::newRow("bmp") << u"copia.Bmp"_s << QByteArray("bmp") << -1;
        QTest::newRow("no encoder") << u"copia.xyz"_s << QByteArray() << -1;
    }
    void savingAPictureToAFileEncodesByTheExtension() {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(int, quality);
        QImage picture(120, 90, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        for (int x = 0; x < 120; ++x)
            picture.setPixel(x, x * 90 / 120, qRgb(x * 2, 200, 40));
        const QString path = m_dir->filePath(name);
        QCOMPARE(PhotoStore::savePictureToFile(picture, path), !format.isEmpty());
        if (format.isEmpty()) {
            QVERIFY(!QFile::exists(path));
            return;
        }
        QByteArray expected;
        QBuffer buffer(&expected);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QImageWriter writer(&buffer, format);
        writer.setQuality(quality);
        QVERIFY(writer.write(picture));
        QCOMPARE(readFile(path), expected);
        QVERIFY(!PhotoStore::savePictureToFile(QImage(), path)); // nothing to save: the file stays
        QCOMPARE(readFile(path), expected);
    }

    void failedSaveToAFileKeepsThePicture() {
        FakeFileDialogs dialogs;
        FakeMessages messages;
        openBook(1);
        QImage red(64, 48, QImage::Format_RGB32);
        red.fill(Qt::red);
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(red));
        QVERIFY(QDir(m_dir->path()).mkdir(u"occupato.jpg"_s));
        dialogs.answers = {m_dir->filePath(u"occupato.jpg"_s)};
        click(u"btnSalvaFoto"_s);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
        QVERIFY(messages.asked[0].text.startsWith(u"Attenzione:"_s));
        QCOMPARE(editor()->photoFrame()->photo().full(), red);
    }

    void zoomShowsThePhotoAsLargeAsTheScreenAllows_data() {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("small photo at its own size") << QSize(200, 150) << QRect(830, 420, 200, 150);
        QTest::newRow("large photo shrunk") << QSize(4000, 3000) << QRect(270, 0, 1320, 990);
    }
    void zoomShowsThePhotoAsLargeAsTheScreenAllows() {
        QFETCH(QSize, photo);
        QFETCH(QRect, drawn);
        openBook(1);
        QImage picture(photo, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(picture));
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* zoom = qobject_cast<ZoomWindow*>(QApplication::activeModalWidget());
            QVERIFY(zoom);
            QCOMPARE(zoom->windowTitle(), u" Fai clic sulla foto per chiudere questa finestra"_s);
            QCOMPARE(zoom->photoFrame()->size(), QSize(1860, 990));
            QCOMPARE(zoom->photoFrame()->drawnRect(), drawn);
            QTRY_VERIFY(zoom->isMaximized());
            QTest::mouseClick(zoom, Qt::LeftButton, {}, {2, 2}); // outside the photo area: nothing
            QVERIFY(zoom->isVisible());
            QTest::mouseClick(zoom->findChild<QWidget*>(u"panContainer"_s), Qt::LeftButton, {}, {1, 1});
            checked = true;
        });
        click(u"btnZoomFoto"_s);
        QVERIFY(checked);
        QVERIFY(editor()->findChildren<ZoomWindow*>().isEmpty());
        QCOMPARE(editor()->photoFrame()->photo().full(), picture);
    }

    // The zoom window switches between the photo fitted to the screen and its actual size, one pixel
    // of the photo on one pixel of the screen: Space and the keys 1 and 0 about the middle of the area,
    // the wheel about the pointer; at actual size a drag and the arrows move the photo, never past its
    // edges, and a drag does not close the window.
    void zoomShowsTheActualSizeAndMovesIt() {
        openBook(1);
        const QImage picture = coordinatePicture({4000, 3000});
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(picture));
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* zoom = qobject_cast<ZoomWindow*>(QApplication::activeModalWidget());
            QVERIFY(zoom);
            const auto closing = qScopeGuard([zoom] { zoom->reject(); });
            PhotoView* photo = zoom->photoFrame();
            const QRect fitted(270, 0, 1320, 990);
            QCOMPARE(photo->drawnRect(), fitted);

            // Space: the actual size, the middle of the photo in the middle of the area.
            QTest::keyClick(zoom, Qt::Key_Space);
            QCOMPARE(photo->drawnRect(), QRect(-1070, -1005, 4000, 3000));
            QVERIFY(showsPixelForPixel(photo, picture, {-1070, -1005}));
            QCOMPARE(photo->cursor().shape(), Qt::OpenHandCursor);
            QTest::keyClick(zoom, Qt::Key_Space);
            QCOMPARE(photo->drawnRect(), fitted);
            QTest::keyClick(zoom, Qt::Key_1);
            QCOMPARE(photo->drawnRect(), QRect(-1070, -1005, 4000, 3000));
            QTest::keyClick(zoom, Qt::Key_0);
            QCOMPARE(photo->drawnRect(), fitted);

            // Wheel up over a point of the photo: that point stays under the pointer.
            const QPoint pointer(1200, 600);
            const QPointF under((pointer.x() - fitted.left()) * 4000.0 / fitted.width(),
                                (pointer.y() - fitted.top()) * 3000.0 / fitted.height());
            wheel(photo, pointer, 120);
            const QPoint origin = photo->drawnRect().topLeft();
            QCOMPARE(photo->drawnRect().size(), QSize(4000, 3000));
            QVERIFY(std::abs(pointer.x() - origin.x() - under.x()) <= 1);
            QVERIFY(std::abs(pointer.y() - origin.y() - under.y()) <= 1);
            QVERIFY(showsPixelForPixel(photo, picture, origin));
            wheel(photo, pointer, 120); // already there: stays
            QCOMPARE(photo->drawnRect().topLeft(), origin);

            // A drag moves the photo with the pointer and leaves the window open.
            drag(photo, {900, 500}, {{850, 470}, {800, 450}});
            QVERIFY(zoom->isVisible());
            QCOMPARE(photo->drawnRect().topLeft(), origin + QPoint(-100, -50));
            QVERIFY(showsPixelForPixel(photo, picture, origin + QPoint(-100, -50)));
            // Never past the photo's edges: its top-left corner stays in the area's.
            drag(photo, {900, 500}, {{1900, 1000}, {3900, 2900}});
            QCOMPARE(photo->drawnRect().topLeft(), QPoint(0, 0));
            QTest::keyClick(zoom, Qt::Key_Left); // already at the left edge
            QCOMPARE(photo->drawnRect().topLeft(), QPoint(0, 0));
            QTest::keyClick(zoom, Qt::Key_Right);
            QTest::keyClick(zoom, Qt::Key_Down);
            QCOMPARE(photo->drawnRect().topLeft(), QPoint(-186, -99));
            drag(photo, {900, 500}, {{0, 0}, {-3000, -3000}});
            QCOMPARE(photo->drawnRect().bottomRight(), QPoint(1859, 989));
            QVERIFY(showsPixelForPixel(photo, picture, {1860 - 4000, 990 - 3000}));

            // Wheel down: the whole photo again.
            wheel(photo, pointer, -120);
            QCOMPARE(photo->drawnRect(), fitted);
            QCOMPARE(photo->cursor().shape(), Qt::ArrowCursor);
            QVERIFY(zoom->isVisible());
            checked = true;
        });
        click(u"btnZoomFoto"_s);
        QVERIFY(checked);
        QVERIFY(editor()->findChildren<ZoomWindow*>().isEmpty());
        QCOMPARE(editor()->photoFrame()->photo().full(), picture); // the editor's photo is untouched
    }

    // After a drag, the window still closes with a click (a press and release that moved less than a
    // drag), on the photo or on the panel, and with Escape.
    void zoomClosesWithAClickOrEscapeNotWithADrag_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("click on the photo") << u"click"_s;
        QTest::newRow("a press that barely moved") << u"nudge"_s;
        QTest::newRow("Escape") << u"escape"_s;
    }
    void zoomClosesWithAClickOrEscapeNotWithADrag() {
        QFETCH(QString, how);
        openBook(1);
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(coordinatePicture({3000, 2000})));
        bool stayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* zoom = qobject_cast<ZoomWindow*>(QApplication::activeModalWidget());
            QVERIFY(zoom);
            // Whatever happens, the window does not stay open over the rest of the tests.
            const auto closing = qScopeGuard([zoom] { QTimer::singleShot(0, zoom, &QDialog::reject); });
            PhotoView* photo = zoom->photoFrame();
            drag(photo, {900, 500}, {{880, 480}, {700, 400}}); // fitted: nothing moves, nothing closes
            QTest::keyClick(zoom, Qt::Key_1);
            drag(photo, {900, 500}, {{880, 480}, {700, 400}});
            stayedOpen = zoom->isVisible();
            const int nudge = QApplication::startDragDistance() / 2;
            if (how == u"click"_s)
                QTest::mouseClick(photo, Qt::LeftButton, {}, {600, 300});
            else if (how == u"nudge"_s)
                drag(photo, {600, 300}, {{600 + nudge, 300}});
            else
                QTest::keyClick(zoom, Qt::Key_Escape);
        });
        click(u"btnZoomFoto"_s);
        QVERIFY(stayedOpen);
        QTRY_VERIFY(editor()->findChildren<ZoomWindow*>().isEmpty());
    }

    // --- Attachments -----------------------------------------------------------------------------
    void attachmentsOfACardWithoutAny() {
        openBook(1);
        withAttachments([](AttachmentsWindow* window) {
            for (const char* name : {"01", "02", "03"}) {
                QCOMPARE(window->findChild<QLineEdit*>(u"txtFile"_s + QLatin1String(name))->text(),
                         QString());
                QVERIFY(!window->findChild<QPushButton*>(u"btnApri"_s + QLatin1String(name))->isEnabled());
            }
            window->reject();
        });
    }

    // An attachment the desktop cannot open is not a click that does nothing: the user is told why,
    // with the file named.
    void attachmentTheDesktopCannotOpen_data() {
        QTest::addColumn<bool>("inFolder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no program for the kind of file")
            << true << u"nel sistema non c'è un programma associato a questo tipo di file."_s;
        QTest::newRow("file not in the folder") << false << u"il file non esiste."_s;
    }
    void attachmentTheDesktopCannotOpen() {
        QFETCH(bool, inFolder);
        QFETCH(QString, reason);
        FakeShell shell;
        shell.opens = false;
        FakeMessages messages;
        openBook(1);
        press(u'N');
        const QString path = AttachmentFolder::folder() + u"/contratto1.pdf"_s;
        if (inFolder)
            QVERIFY(writeFile(path, "%PDF-1.4"));
        withAttachments([](AttachmentsWindow* window) {
            window->findChild<QPushButton*>(u"btnApri01"_s)->click();
            QVERIFY(window->isVisible());
            window->reject();
        });
        QCOMPARE(shell.opened, QStringList{u"\""_s + path + u"\""_s});
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 u"Attenzione: non è stato possibile aprire il file \""_s + path + u"\": "_s + reason);
        QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::Ok);

        // A desktop that opens it says nothing more.
        shell.opens = true;
        withAttachments([](AttachmentsWindow* window) {
            window->findChild<QPushButton*>(u"btnApri01"_s)->click();
            window->reject();
        });
        QCOMPARE(shell.opened.size(), 2);
        QCOMPARE(messages.asked.size(), 1);
    }

    void attachingCopiesIntoTheFolder_data() {
        QTest::addColumn<bool>("alreadyThere");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("inFolder");
        QTest::newRow("new file") << false << int(MsgAnswer::Yes) << QByteArray("nuovo");
        QTest::newRow("same name, Yes replaces") << true << int(MsgAnswer::Yes) << QByteArray("nuovo");
        QTest::newRow("same name, No keeps") << true << int(MsgAnswer::No) << QByteArray("vecchio");
    }
    void attachingCopiesIntoTheFolder() {
        QFETCH(bool, alreadyThere);
        QFETCH(int, answer);
        QFETCH(QByteArray, inFolder);
        FakeFileDialogs dialogs;
        FakeMessages messages;
        FakeShell shell;
        messages.answers = {MsgAnswer(answer)};
        openBook(1);
        press(u'N');
        if (alreadyThere) {
            QVERIFY(AttachmentFolder::ensureFolder());
            QVERIFY(writeFile(AttachmentFolder::folder() + u"/contratto.pdf"_s, "vecchio"));
        }
        const QString source = m_dir->filePath(u"scrivania/contratto.pdf"_s);
        QVERIFY(QDir().mkpath(m_dir->filePath(u"scrivania"_s)));
        QVERIFY(writeFile(source, "nuovo"));
        dialogs.answers = {source};
        withAttachments([&](AttachmentsWindow* window) {
            window->findChild<QPushButton*>(u"btnSfoglia02"_s)->click();
            QCOMPARE(window->findChild<QLineEdit*>(u"txtFile02"_s)->text(), u"contratto.pdf"_s);
            QVERIFY(window->findChild<QPushButton*>(u"btnApri02"_s)->isEnabled());
            window->findChild<QPushButton*>(u"btnApri02"_s)->click();
            window->findChild<QLineEdit*>(u"txtDesc02"_s)->setText(u"  Contratto firmato  "_s);
            window->findChild<QPushButton*>(u"btnApplica"_s)->click();
        });
        QCOMPARE(dialogs.asked[0].title, u"Selezionare il file da allegare:"_s);
        QCOMPARE(messages.asked.size(), alreadyThere ? 1 : 0);
        if (alreadyThere)
            QCOMPARE(messages.asked[0].text, AttachmentsWindow::overwriteQuestion());
        QCOMPARE(readFile(AttachmentFolder::folder() + u"/contratto.pdf"_s), inFolder);
        QCOMPARE(shell.opened, QStringList{u"\""_s + AttachmentFolder::folder() + u"/contratto.pdf\""_s});
        QCOMPARE(editor()->attachments()[1], u"contratto.pdf"_s);
        QCOMPARE(editor()->attachments()[4], u"Contratto firmato"_s);
        press(u'S');
        QCOMPARE(storedCard(1).field(TScheda::File02), u"contratto.pdf"_s);
        QCOMPARE(storedCard(1).field(TScheda::Desc02), u"Contratto firmato"_s);
    }

    // A file dropped anywhere on one of the three places (its fields, label, button or frame) fills
    // that place as its "Sfoglia" does; a folder, or a drop beside the places, is refused.
    void fileDroppedOnAPlace_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("dropped");
        QTest::addColumn<int>("place"); // -1: refused
        QTest::newRow("the file's field") << u"txtFile02"_s << u"contratto.pdf"_s << 1;
        QTest::newRow("the description") << u"txtDesc03"_s << u"contratto.pdf"_s << 2;
        QTest::newRow("the label") << u"lblFile01"_s << u"contratto.pdf"_s << 0;
        QTest::newRow("the browse button") << u"btnSfoglia02"_s << u"contratto.pdf"_s << 1;
        QTest::newRow("the frame") << u"shpSlot03"_s << u"contratto.pdf"_s << 2;
        QTest::newRow("a folder") << u"txtFile01"_s << u"scrivania"_s << -1;
        QTest::newRow("beside the places") << u"btnApplica"_s << u"contratto.pdf"_s << -1;
    }
    void fileDroppedOnAPlace() {
        QFETCH(QString, target);
        QFETCH(QString, dropped);
        QFETCH(int, place);
        FakeFileDialogs dialogs;
        FakeMessages messages;
        openBook(1);
        press(u'N');
        QVERIFY(writeFile(m_dir->filePath(u"scrivania/contratto.pdf"_s), "firmato"));
        const QString path =
            dropped == u"scrivania"_s ? m_dir->filePath(dropped) : m_dir->filePath(u"scrivania/"_s + dropped);
        withAttachments([&](AttachmentsWindow* window) {
            const AttachmentsWindow::Values before = window->values();
            const bool taken = dropFiles(window->findChild<QWidget*>(target), QStringList{path});
            AttachmentsWindow::Values expected = before;
            if (place >= 0)
                expected[std::size_t(place)] = u"contratto.pdf"_s;
            const AttachmentsWindow::Values after = window->values();
            window->findChild<QPushButton*>(u"btnApplica"_s)->click();
            QCOMPARE(taken, place >= 0);
            QCOMPARE(after, expected); // the place's file, and no description changed
        });
        QVERIFY(dialogs.asked.isEmpty());
        QVERIFY(messages.asked.isEmpty());
        if (place >= 0) {
            QCOMPARE(readFile(AttachmentFolder::folder() + u"/contratto.pdf"_s), "firmato"_ba);
            QCOMPARE(editor()->attachments()[place], u"contratto.pdf"_s);
        } else {
            QVERIFY(!QFileInfo::exists(AttachmentFolder::folder() + u"/contratto.pdf"_s));
        }
    }

    // Choosing the very file that lies in the folder never damages it, whatever the answer.
    void attachingAFileOntoItself_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(MsgAnswer::Yes);
        QTest::newRow("no") << int(MsgAnswer::No);
    }
    void attachingAFileOntoItself() {
        QFETCH(int, answer);
        FakeFileDialogs dialogs;
        FakeMessages messages;
        messages.answers = {MsgAnswer(answer)};
        openBook(1);
        QVERIFY(AttachmentFolder::ensureFolder());
        const QString inFolder = AttachmentFolder::folder() + u"/liberatoria.pdf"_s;
        QVERIFY(writeFile(inFolder, "contenuto prezioso"));
        dialogs.answers = {inFolder};
        withAttachments([](AttachmentsWindow* window) {
            window->findChild<QPushButton*>(u"btnSfoglia01"_s)->click();
            window->findChild<QPushButton*>(u"btnApplica"_s)->click();
        });
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(readFile(inFolder), QByteArray("contenuto prezioso"));
        QCOMPARE(editor()->attachments()[0], u"liberatoria.pdf"_s);
    }

    // A file whose name the card cannot store is kept under one it can, never over another file.
    void attachingAFileWhoseNameTheCardCannotStore() {
        FakeFileDialogs dialogs;
        FakeMessages messages;
        FakeShell shell;
        openBook(1);
        press(u'N');
        const QString folder = AttachmentFolder::folder();
        const QString first = m_dir->filePath(u"scrivania/modella_Łucja.txt"_s);
        const QString second = m_dir->filePath(u"altrove/modella_Łucja.txt"_s);
        QVERIFY(writeFile(first, "prima"));
        QVERIFY(writeFile(second, "seconda"));

        dialogs.answers = {first};
        withAttachments([](AttachmentsWindow* window) {
            window->findChild<QPushButton*>(u"btnSfoglia01"_s)->click();
            QCOMPARE(window->findChild<QLineEdit*>(u"txtFile01"_s)->text(), u"modella_Lucja.txt"_s);
            window->findChild<QPushButton*>(u"btnApri01"_s)->click();
            window->findChild<QPushButton*>(u"btnApplica"_s)->click();
        });
        QCOMPARE(entriesOf(folder), QStringList{u"modella_Lucja.txt"_s});
        QCOMPARE(readFile(folder + u"/modella_Lucja.txt"_s), "prima"_ba);
        QCOMPARE(shell.opened, QStringList{u"\""_s + folder + u"/modella_Lucja.txt\""_s});
        QCOMPARE(editor()->attachments()[0], u"modella_Lucja.txt"_s);

        // Another file of the same name: a name of its own; the same file again: the name it has.
        dialogs.answers = {second, first};
        withAttachments([](AttachmentsWindow* window) {
            window->findChild<QPushButton*>(u"btnSfoglia02"_s)->click();
            QCOMPARE(window->findChild<QLineEdit*>(u"txtFile02"_s)->text(), u"modella_Lucja (2).txt"_s);
            window->findChild<QPushButton*>(u"btnSfoglia03"_s)->click();
            QCOMPARE(window->findChild<QLineEdit*>(u"txtFile03"_s)->text(), u"modella_Lucja.txt"_s);
            window->findChild<QPushButton*>(u"btnApri02"_s)->click();
            window->findChild<QPushButton*>(u"btnApplica"_s)->click();
        });
        QVERIFY(messages.asked.isEmpty()); // no file was in the way: nothing to ask
        QCOMPARE(entriesOf(folder), (QStringList{u"modella_Lucja (2).txt"_s, u"modella_Lucja.txt"_s}));
        QCOMPARE(readFile(folder + u"/modella_Lucja.txt"_s), "prima"_ba);
        QCOMPARE(readFile(folder + u"/modella_Lucja (2).txt"_s), "seconda"_ba);
        QCOMPARE(shell.opened.last(), u"\""_s + folder + u"/modella_Lucja (2).txt\""_s);

        press(u'S');
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s);
        QCOMPARE(storedCard(1).field(TScheda::File01), u"modella_Lucja.txt"_s);
        QCOMPARE(storedCard(1).field(TScheda::File02), u"modella_Lucja (2).txt"_s);
        QCOMPARE(storedCard(1).field(TScheda::File03), u"modella_Lucja.txt"_s);
    }

    // The descriptions refuse what a card cannot store; the balloon at the field says which and why.
    void descriptionsRefuseWhatTheBookCannotStore() {
        openBook(1);
        press(u'N');
        withAttachments([](AttachmentsWindow* window) {
            for (const char* name : {"txtDesc01", "txtDesc02", "txtDesc03"}) {
                auto* description = window->findChild<QLineEdit*>(QString::fromLatin1(name));
                QVERIFY(qobject_cast<const StorableTextValidator*>(description->validator()));
            }
            auto* description = window->findChild<QLineEdit*>(u"txtDesc02"_s);
            description->setFocus();
            typeCharacters(description, u"Liberatoria ★ firmata a Łódź"_s);
            QCOMPARE(description->text(), u"Liberatoria  firmata a ód"_s);
            QTRY_VERIFY(QToolTip::isVisible());
            QCOMPARE(QToolTip::text(), refusal(u"ź"_s, u"z"_s));
            typeCharacters(description, u"📷"_s);
            QCOMPARE(QToolTip::text(), refusal(u"📷"_s));
            QToolTip::hideText();
            window->findChild<QPushButton*>(u"btnApplica"_s)->click();
        });
        QCOMPARE(editor()->attachments()[4], u"Liberatoria  firmata a ód"_s);
    }

    void clearingASlotKeepsDescriptionAndFile() {
        FakeMessages messages;
        openBook(1);
        press(u'N'); // contratto1.pdf with "Liberatoria 1" in slot 3's description
        QVERIFY(AttachmentFolder::ensureFolder());
        QVERIFY(writeFile(AttachmentFolder::folder() + u"/contratto1.pdf"_s, "pdf"));
        editor()->setAttachments(std::array<QString, 6>{u"contratto1.pdf"_s, QString(), QString(),
                                                        u"Il contratto"_s, QString(), QString()});
        withAttachments([](AttachmentsWindow* window) {
            QVERIFY(window->findChild<QPushButton*>(u"btnApri01"_s)->isEnabled());
            QTest::mouseClick(window->findChild<Picture*>(u"imgCancella01"_s), Qt::LeftButton);
            QVERIFY(!window->findChild<QPushButton*>(u"btnApri01"_s)->isEnabled());
            window->findChild<QPushButton*>(u"btnApplica"_s)->click();
        });
        QCOMPARE(editor()->attachments()[0], QString());
        QCOMPARE(editor()->attachments()[3], u"Il contratto"_s);
        QVERIFY(QFile::exists(AttachmentFolder::folder() + u"/contratto1.pdf"_s));
    }

    void appliedButUnsavedAttachmentsAreDropped() {
        openBook(2);
        press(u'N');
        const QByteArray before = readFile(archive());
        withAttachments([](AttachmentsWindow* window) {
            window->findChild<QLineEdit*>(u"txtDesc01"_s)->setText(QString(300, u'd'));
            window->findChild<QPushButton*>(u"btnApplica"_s)->click();
        });
        QCOMPARE(editor()->attachments()[3].size(), 300);
        {
            FakeMessages dropped;
            dropped.answers << MsgAnswer::No;
            press(u'N');
            QCOMPARE(dropped.asked.size(), 1);
            press(u'P');
        }
        QCOMPARE(readFile(archive()), before);
        QCOMPARE(editor()->attachments()[0], u"contratto1.pdf"_s);
        QCOMPARE(editor()->attachments()[3], QString());
        // Saved, a 300-character description keeps its first 250 bytes.
        editor()->setAttachments(std::array<QString, 6>{QString(), QString(), QString(), QString(300, u'd'),
                                                        QString(), QString()});
        FakeMessages messages;
        press(u'S');
        QCOMPARE(storedCard(1).field(TScheda::Desc01), QString(250, u'd'));
    }

    void cancelKeepsTheSlotsAndATagIsNeeded() {
        openBook(1);
        editor()->setAttachments(
            std::array<QString, 6>{u"a.pdf"_s, QString(), QString(), QString(), QString(), QString()});
        withAttachments([](AttachmentsWindow* window) {
            window->findChild<QLineEdit*>(u"txtDesc01"_s)->setText(u"cambiata"_s);
            window->findChild<QPushButton*>(u"btnAnnulla"_s)->click();
        });
        QCOMPARE(editor()->attachments()[3], QString());

        AttachmentsWindow untagged(editor());
        untagged.show();
        untagged.findChild<QPushButton*>(u"btnApplica"_s)->click();
        QVERIFY(untagged.isVisible());
    }

    // Return does what "Applica e chiudi" does, or what the button that has the focus does; Escape
    // leaves as "Annulla" does, dropping what was typed.
    void keysOfTheAttachmentsWindow_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("applied");
        QTest::addColumn<int>("fileDialogs");
        QTest::newRow("Return in a description applies")
            << u"txtDesc02"_s << int(Qt::Key_Return) << true << 0;
        QTest::newRow("Return on a file name applies") << u"txtFile01"_s << int(Qt::Key_Return) << true << 0;
        QTest::newRow("Return on Applica e chiudi") << u"btnApplica"_s << int(Qt::Key_Return) << true << 0;
        QTest::newRow("Return on Annulla") << u"btnAnnulla"_s << int(Qt::Key_Return) << false << 0;
        QTest::newRow("Return on Sfoglia chooses a file")
            << u"btnSfoglia02"_s << int(Qt::Key_Return) << false << 1;
        QTest::newRow("Escape in a description") << u"txtDesc02"_s << int(Qt::Key_Escape) << false << 0;
    }
    void keysOfTheAttachmentsWindow() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, applied);
        QFETCH(int, fileDialogs);
        FakeFileDialogs dialogs; // answers as a cancelled dialog
        openBook(1);
        editor()->setAttachments(
            std::array<QString, 6>{u"a.pdf"_s, QString(), QString(), u"Prima"_s, QString(), QString()});
        bool closedByTheKey = false;
        withAttachments([&](AttachmentsWindow* window) {
            const auto closeAnyway = qScopeGuard([&] {
                closedByTheKey = !window->isVisible();
                if (!closedByTheKey)
                    window->reject();
            });
            window->findChild<QLineEdit*>(u"txtDesc02"_s)->setText(u"Liberatoria"_s);
            auto* start = window->findChild<QWidget*>(focus);
            start->setFocus();
            QTRY_VERIFY(start->hasFocus());
            QTest::keyClick(start, Qt::Key(key));
        });
        QCOMPARE(closedByTheKey, fileDialogs == 0);
        QCOMPARE(dialogs.asked.size(), fileDialogs);
        QCOMPARE(editor()->attachments()[0], u"a.pdf"_s);
        QCOMPARE(editor()->attachments()[3], u"Prima"_s);
        QCOMPARE(editor()->attachments()[4], applied ? u"Liberatoria"_s : QString());
    }

    // Long names and descriptions are read from their beginning, as the window opens and after a file
    // is chosen.
    void attachmentFieldsShowTheirBeginning() {
        FakeFileDialogs dialogs;
        FakeMessages messages;
        const QString name = u"Contratto di cessione dei diritti d'immagine firmato dalla modella.pdf"_s;
        const QString description =
            u"Contratto firmato dalla modella e dal fotografo per il servizio in spiaggia di agosto"_s;
        openBook(1);
        editor()->setAttachments(
            std::array<QString, 6>{name, name, QString(), description, description, description});
        const QString source = m_dir->filePath(u"scrivania/"_s + name);
        QVERIFY(QDir().mkpath(m_dir->filePath(u"scrivania"_s)));
        QVERIFY(writeFile(source, "firmato"));
        dialogs.answers = {source};
        QStringList shownFromTheStart;
        withAttachments([&](AttachmentsWindow* window) {
            const auto closeAnyway = qScopeGuard([window] { window->reject(); });
            for (const char* field : {"txtFile01", "txtFile02", "txtDesc01", "txtDesc02", "txtDesc03"}) {
                auto* edit = window->findChild<QLineEdit*>(QLatin1String(field));
                QVERIFY(edit->fontMetrics().horizontalAdvance(edit->text()) > edit->width());
                if (firstShown(edit) == 0)
                    shownFromTheStart << edit->objectName();
            }
            auto* third = window->findChild<QLineEdit*>(u"txtFile03"_s);
            window->findChild<QPushButton*>(u"btnSfoglia03"_s)->click();
            QCOMPARE(third->text(), name);
            if (firstShown(third) == 0)
                shownFromTheStart << third->objectName();
        });
        QCOMPARE(shownFromTheStart, QStringList({u"txtFile01"_s, u"txtFile02"_s, u"txtDesc01"_s,
                                                 u"txtDesc02"_s, u"txtDesc03"_s, u"txtFile03"_s}));
    }

    // A name with folder parts, as another program might store, never reaches outside the folder.
    void namesWithFolderPartsOpenNothing() {
        FakeShell shell;
        openBook(1);
        editor()->setAttachments(std::array<QString, 6>{u"../Giulia.wmn"_s, u"/etc/passwd"_s, QString(),
                                                        QString(), QString(), QString()});
        withAttachments([](AttachmentsWindow* window) {
            window->findChild<QPushButton*>(u"btnApri01"_s)->click();
            window->findChild<QPushButton*>(u"btnApri02"_s)->click();
            window->reject();
        });
        QVERIFY(shell.opened.isEmpty());
        QVERIFY(AttachmentFolder::pathOf(u"../Giulia.wmn"_s).isEmpty());
        QVERIFY(!AttachmentFolder::copyIn(archive(), u"../copia.wmn"_s));
    }

private:
    // A picture whose every pixel tells where it lies: red and green the low bits of x and y, blue
    // their high bits.
    static QImage coordinatePicture(QSize size) {
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                line[x] = qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8));
        }
        return picture;
    }
    // What the photo area shows is the picture pixel for pixel, its top-left corner at `origin`.
    static bool showsPixelForPixel(QWidget* area, const QImage& picture, QPoint origin) {
        const QImage shown = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int w = shown.width() - 1;
        const int h = shown.height() - 1;
        for (QPoint at : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h), QPoint(w / 2, h / 2),
                          QPoint(w / 2 + 1, h / 2), QPoint(w / 3, h / 3 + 1)}) {
            if (shown.pixel(at) != picture.pixel(at - origin)) {
                qWarning("at %d,%d: shown %08x, photo %08x", at.x(), at.y(), shown.pixel(at),
                         picture.pixel(at - origin));
                return false;
            }
        }
        return true;
    }
    // The mouse wheel turned over the widget at a point, in eighths of a degree (120: one notch up).
    static void wheel(QWidget* widget, QPoint at, int delta) {
        QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    }
    // The left button pressed at a point of the widget, moved through the others, released at the last.
    static void drag(QWidget* widget, QPoint from, const QList<QPoint>& through) {
        const auto send = [widget](QEvent::Type type, QPoint at, Qt::MouseButton button,
                                   Qt::MouseButtons held) {
            QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (QPoint at : through)
            send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, through.isEmpty() ? from : through.last(), Qt::LeftButton,
             Qt::NoButton);
    }
    void click(const QString& control) {
        QTest::mouseClick(editor()->findChild<Picture*>(control), Qt::LeftButton);
    }
    template <class Steps> void withAttachments(Steps steps) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<AttachmentsWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            steps(window);
            ran = true;
        });
        click(u"cmdFile"_s);
        QVERIFY(ran);
        QVERIFY(editor()->findChildren<AttachmentsWindow*>().isEmpty());
    }
    QLineEdit* dateField() { return editor()->findChild<QLineEdit*>(u"txtData"_s); }
    void fill(const QString& title, const QString& date, const QString& location) {
        editor()->findChild<QLineEdit*>(u"txtTitolo"_s)->setText(title);
        editor()->setDateText(date);
        editor()->findChild<QLineEdit*>(u"txtLocation"_s)->setText(location);
    }
    QByteArray storedBytes(int position) {
        return readFile(archive()).mid((position - 1) * kRecord, kRecord);
    }
    TScheda storedCard(int position) {
        TScheda c;
        const QByteArray bytes = storedBytes(position);
        std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(c.bytes().data()));
        return c;
    }
    EditorWindow* editor() { return m_windows->editor(); }
    // Another copy of the program, in a process of its own, saves a card of the book.
    void otherCopySaves(int position, const QStringList& changes) {
        QProcess other;
        other.start(QString::fromUtf8(LUMIVERA_OTHER_COPY),
                    QStringList{m_dir->path(), u"Giulia"_s, QString::number(position)} + changes);
        QVERIFY(other.waitForFinished(60000));
        QCOMPARE(other.exitStatus(), QProcess::NormalExit);
        QCOMPARE(other.exitCode(), 0);
    }
    // Starts the program again under other regional settings, which hold until the test ends.
    void startUnder(const QString& locale) {
        m_windows.reset();
        ProcessFormats::setSystemLocale(QLocale(locale));
        m_windows = std::make_unique<WindowSet>();
    }
    QString archive() { return m_dir->filePath(u"Giulia.wmn"_s); }
    void openBook(int cards) {
        writeBook(archive(), cards);
        editor()->openBook(u"Giulia"_s, archive());
        editor()->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
    }
    QString field(const QString& name) {
        if (auto* edit = editor()->findChild<QLineEdit*>(name))
            return edit->text();
        return editor()->findChild<QLabel*>(name)->text();
    }
    void press(QChar move) {
        const char* command = move == u'F'   ? "cmdPrimo"
                              : move == u'P' ? "cmdIndietro"
                              : move == u'N' ? "cmdAvanti"
                              : move == u'L' ? "cmdUltimo"
                              : move == u'S' ? "cmdSalva"
                              : move == u'D' ? "cmdDuplica"
                                             : "cmdNuovo";
        QTest::mouseClick(editor()->findChild<Picture*>(QString::fromLatin1(command)), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
};

LUMIVERA_WINDOW_TEST_MAIN(TestEditor)
#include "tst_editor.moc"
