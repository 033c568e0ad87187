// Searching a book: which cards are found, their lines and order, the quick find, and handing a card
// back to the editor.
#include "FakeMessages.h"
#include "FakePrinting.h"
#include "FaultyFileSystem.h"
#include "PdfCheck.h"
#include "ShownText.h"
#include "TestFiles.h"
#include "TestTyping.h"
#include "TestWindows.h"
#include "app/Application.h"
#include "app/WindowSet.h"
#include "archive/core/BookArchive.h"
#include "archive/windows/PhotoView.h"
#include "base/Clock.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"
#include "editor/windows/EditorWindow.h"
#include "search/core/CardSearch.h"
#include "search/core/QuickFind.h"
#include "search/core/ResultListModel.h"
#include "search/windows/SearchWindow.h"
#include "ui/Picture.h"
#include "ui/StorableTextValidator.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

struct Card {
    QString titolo, data, location, note, abiti = {};
};

// The fixture book: each card differs where a criterion below looks.
const QList<Card> kBook = {
    {u"Ritratto in studio"_s, u"15/12/2023"_s, u"Milano Centrale"_s, u"luce morbida"_s, u"abito rosso"_s},
    {u"Ritratto in studio"_s, u"02/01/2024"_s, u"MILANO"_s, u"controluce"_s},
    {u"Spiaggia all'alba"_s, u"03/12/2024"_s, u"Centrale elettrica"_s, u"vento"_s},
    {u"Èstate"_s, u"20/06/2024"_s, u"È bella Roma"_s, u""_s},
    {QString(60, u'T'), u"01/05/2022"_s, u"Torino"_s, u"titolo lungo"_s},
};

TScheda scheda(const Card& c) {
    TScheda s;
    s.setField(TScheda::Titolo, c.titolo);
    s.setField(TScheda::Data, c.data);
    s.setField(TScheda::Location, c.location);
    s.setField(TScheda::Note, c.note);
    s.setField(TScheda::Abiti, c.abiti);
    return s;
}

void writeBook(const QString& path, const QList<Card>& cards) {
    QList<TScheda> book;
    for (const Card& c : cards)
        book << scheda(c);
    QVERIFY(writeFile(path, archiveOf(book)));
}

CardSearch::Criteria criterion(TScheda::Field field, const QString& text) {
    CardSearch::Criteria criteria;
    for (std::size_t i = 0; i < CardSearch::kSearchable.size(); ++i) {
        if (CardSearch::kSearchable[i] == field)
            criteria[i] = text;
    }
    return criteria;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
        writeBook(archive(), kBook);
    }

    // --- The search ------------------------------------------------------------------------------
    void whichCardsAreFound_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("positions"); // in list order
        QTest::newRow("no criteria lists every card")
            << int(TScheda::Titolo) << QString() << QList<int>{2, 1, 3, 5, 4};
        QTest::newRow("blanks only are no criterion")
            << int(TScheda::Note) << u"   "_s << QList<int>{2, 1, 3, 5, 4};
        QTest::newRow("milano, any case of A-Z") << int(TScheda::Location) << u"milano"_s << QList<int>{2, 1};
        QTest::newRow("è does not find È") << int(TScheda::Location) << u"è"_s << QList<int>{};
        QTest::newRow("December of any year") << int(TScheda::Data) << u"/12/"_s << QList<int>{1, 3};
        QTest::newRow("a year") << int(TScheda::Data) << u"2024"_s << QList<int>{2, 3, 4};
        QTest::newRow("leading blank is part of the criterion")
            << int(TScheda::Location) << u" centrale"_s << QList<int>{1};
        QTest::newRow("a field that is not in the line")
            << int(TScheda::Abiti) << u"ROSSO"_s << QList<int>{1};
    }
    void whichCardsAreFound() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QList<int>, positions);
        const QList<CardSearch::Hit> hits =
            CardSearch::run(archive(), criterion(TScheda::Field(field), text));
        QList<int> found;
        for (const CardSearch::Hit& hit : hits)
            found << hit.position;
        QCOMPARE(found, positions);
    }

    void allCriteriaMustHold() {
        CardSearch::Criteria criteria = criterion(TScheda::Titolo, u"ritratto"_s);
        criteria[3] = u"MILANO"_s; // location
        criteria[9] = u"luce"_s;   // note
        QCOMPARE(CardSearch::criteriaCount(criteria), 3);
        const QList<CardSearch::Hit> hits = CardSearch::run(archive(), criteria);
        QCOMPARE(hits.size(), 2); // "luce morbida" and "controluce"
        criteria[9] = u"morbida"_s;
        QCOMPARE(CardSearch::run(archive(), criteria).size(), 1);
    }

    void resultLineColumns() {
        const QString line = CardSearch::resultLine(scheda(kBook[4]));
        QCOMPARE(line, QString(50, u'T') + u"  Data: 01/05/2022  Location: Torino"_s + QString(24, u' ') +
                           u"  Note:  titolo lungo"_s);
        const QString shortLine =
            CardSearch::resultLine(scheda({u"  A  "_s, u"1/1/24"_s, QString(40, u'L'), u" n "_s}));
        QCOMPARE(shortLine, u"A"_s + QString(49, u' ') + u"  Data: 1/1/24    "_s + u"  Location: "_s +
                                QString(30, u'L') + u"  Note:  n"_s);
    }

    // Equal titles sort by the date as text: 02/01/2024 before 15/12/2023.
    void equalTitlesSortByDateText() {
        const QList<CardSearch::Hit> hits =
            CardSearch::run(archive(), criterion(TScheda::Titolo, u"ritratto"_s));
        QCOMPARE(hits.size(), 2);
        QCOMPARE(hits[0].position, 2);
        QCOMPARE(hits[1].position, 1);
        QVERIFY(CardSearch::linesBefore(u"_x"_s, u"b"_s));
        QVERIFY(CardSearch::linesBefore(u"a"_s, u"B"_s));
        // Only A to Z fold; a shorter beginning comes first; lines equal but for case are neither before.
        QVERIFY(CardSearch::linesBefore(u"Zeta"_s, u"èta"_s));
        QVERIFY(CardSearch::linesBefore(u"ROSS"_s, u"rosso"_s));
        QVERIFY(!CardSearch::linesBefore(u"Rosso"_s, u"rOSSO"_s));
        QVERIFY(!CardSearch::linesBefore(u"rOSSO"_s, u"Rosso"_s));
    }

    void emptyAndMissingBooks() {
        QFile::remove(archive());
        QVERIFY(CardSearch::run(archive(), {}).isEmpty());
        QVERIFY(QFile::exists(archive())); // created empty, as every reader does
    }

    // --- Quick find ------------------------------------------------------------------------------
    void quickFindCycles() {
        const QStringList lines = {u"alfa rosso"_s, u"beta"_s, u"gamma ROSSO"_s, u"delta"_s,
                                   u"Rosso epsilon"_s};
        QuickFind::forgetLastKey();
        QCOMPARE(QuickFind::find(lines, 0, u"rosso"_s), std::optional<int>(0)); // new key: first line tested
        QCOMPARE(QuickFind::find(lines, 0, u"rosso"_s), std::optional<int>(2));
        QCOMPARE(QuickFind::find(lines, 2, u"rosso"_s), std::optional<int>(4));
        QCOMPARE(QuickFind::find(lines, 4, u"rosso"_s), std::optional<int>(0)); // wraps
        QCOMPARE(QuickFind::find(lines, 0, u"delta"_s), std::optional<int>(3)); // new key starts again
        QCOMPARE(QuickFind::find(lines, 3, u"delta"_s), std::optional<int>(3)); // the only one: stays
        QCOMPARE(QuickFind::find(lines, 3, u""_s), std::nullopt);
        QCOMPARE(QuickFind::find(lines, 3, u"zeta"_s), std::nullopt);
        QCOMPARE(QuickFind::lastKey(), u"zeta"_s);
    }

    // --- The window ------------------------------------------------------------------------------
    void searchFromTheEditor_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("count");
        QTest::newRow("every card") << u"txtTitolo"_s << QString()
                                    << u"Il presente riepilogo contiene 5 schede."_s;
        QTest::newRow("one card") << u"txtNote"_s << u"vento"_s
                                  << u"Il presente riepilogo contiene 1 scheda."_s;
        QTest::newRow("no card") << u"txtNote"_s << u"grandine"_s
                                 << u"Il presente riepilogo contiene 0 schede."_s;
    }
    void searchFromTheEditor() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, count);
        WindowSet windows;
        openEditor(windows);
        QString shown;
        bool criteriaVisible = true;
        withSearch(windows, [&](SearchWindow* search) {
            QVERIFY(search->findChild<QWidget*>(u"panAvvio"_s)->isVisible());
            QVERIFY(!search->findChild<QWidget*>(u"panContainer"_s)->isVisible());
            QTRY_VERIFY(search->findChild<QLineEdit*>(u"txtTitolo"_s)->hasFocus());
            search->findChild<QLineEdit*>(field)->setText(text);
            QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
            shown = search->findChild<QLabel*>(u"lblTrovate"_s)->text();
            criteriaVisible = search->findChild<QWidget*>(u"panAvvio"_s)->isVisible();
            QVERIFY(search->findChild<QWidget*>(u"panContainer"_s)->isVisible());
            QTRY_VERIFY(search->findChild<QLineEdit*>(u"txtTrova"_s)->hasFocus());
            search->reject();
            QVERIFY(search->findChild<QLabel*>(u"lblAttendere"_s)->isHidden());
            QCOMPARE(search->results().rowCount(), 0);
        });
        QCOMPARE(shown, count);
        QVERIFY(!criteriaVisible);
    }

    // The criteria refuse, as they are typed, what no card can hold; a balloon at the field says which
    // and why, and the rest of the criterion stays.
    void criteriaRefuseWhatNoCardHolds() {
        WindowSet windows;
        openEditor(windows);
        QString balloon;
        QString kept;
        QString count;
        withSearch(windows, [&](SearchWindow* search) {
            for (const char* name : {"txtTitolo", "txtDescrizione", "txtData", "txtLocation", "txtFotografo",
                                     "txtFotocamera", "txtAbiti", "txtTrucco", "txtGiudizio", "txtNote"}) {
                auto* criterion = search->findChild<QLineEdit*>(QString::fromLatin1(name));
                QVERIFY2(qobject_cast<const StorableTextValidator*>(criterion->validator()), name);
            }
            auto* location = search->findChild<QLineEdit*>(u"txtLocation"_s);
            location->setFocus();
            for (char32_t c : u"Mi★lano"_s.toUcs4())
                QTest::sendKeyEvent(QTest::Click, location, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                                    Qt::NoModifier);
            kept = location->text();
            QTRY_VERIFY(QToolTip::isVisible());
            balloon = QToolTip::text();
            QToolTip::hideText();
            QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
            count = search->findChild<QLabel*>(u"lblTrovate"_s)->text();
        });
        QCOMPARE(kept, u"Milano"_s);
        QCOMPARE(balloon, u"Il carattere «★» non è stato inserito: un book conserva solo lettere e segni "
                          "dell'Europa occidentale."_s);
        QCOMPARE(count, u"Il presente riepilogo contiene 2 schede."_s);
    }

    // Two cards whose lines read alike: a double-click on either shows that very card.
    void doubleClickShowsThatVeryCard_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("first line") << 0;
        QTest::newRow("second line") << 1;
    }
    void doubleClickShowsThatVeryCard() {
        QFETCH(int, row);
        const QString longTitle = QString(50, u'S');
        QList<Card> alike = {{longTitle + u"-uno"_s, u"01/01/2024"_s, u"Roma"_s, u"n"_s, u"seta"_s},
                             {longTitle + u"-due"_s, u"01/01/2024"_s, u"Roma"_s, u"n"_s, u"lino"_s}};
        writeBook(archive(), alike);
        WindowSet windows;
        openEditor(windows);
        withSearch(windows, [&](SearchWindow* search) {
            QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
            auto* list = search->findChild<QListView*>(u"lstRecords"_s);
            QCOMPARE(search->results().hits()[0].line, search->results().hits()[1].line);
            const QModelIndex index = list->model()->index(row, 0);
            list->setCurrentIndex(index);
            const QPoint at = list->visualRect(index).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        });
        const int position = row + 1;
        QCOMPARE(windows.editor()->position(), std::optional<int>(position));
        QCOMPARE(windows.editor()->findChild<QLineEdit*>(u"txtAbiti"_s)->text(), alike[row].abiti);
        QCOMPARE(windows.editor()->findChild<QLineEdit*>(u"txtTitolo"_s)->text(), alike[row].titolo);
        QVERIFY(windows.editor()->photoFrame()->showsPlaceholder());
    }

    // A double-click on the empty part of the list, below the last line, hands back the selected line;
    // with no line selected it closes the window and leaves the editor as it was.
    void doubleClickBelowTheLines_data() {
        QTest::addColumn<int>("row"); // the selected line, -1 for none
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("position");
        QTest::newRow("a line selected") << 2 << u"Spiaggia all'alba"_s << 3;
        QTest::newRow("no line selected") << -1 << QString() << 0;
    }
    void doubleClickBelowTheLines() {
        QFETCH(int, row);
        QFETCH(QString, title);
        QFETCH(int, position);
        WindowSet windows;
        openEditor(windows);
        bool closed = false;
        withSearch(windows, [&](SearchWindow* search) {
            QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
            auto* list = search->findChild<QListView*>(u"lstRecords"_s);
            QCOMPARE(list->model()->rowCount(), 5);
            if (row >= 0)
                list->setCurrentIndex(list->model()->index(row, 0));
            const QPoint below(40, list->viewport()->height() - 8);
            QVERIFY(!list->indexAt(below).isValid());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, below);
            closed = !search->isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(windows.editor()->position(), position ? std::optional<int>(position) : std::nullopt);
        QCOMPARE(windows.editor()->findChild<QLineEdit*>(u"txtTitolo"_s)->text(), title);
    }

    void quickFindInTheWindow() {
        WindowSet windows;
        openEditor(windows);
        FakeMessages messages;
        withSearch(windows, [&](SearchWindow* search) {
            search->findChild<QLineEdit*>(u"txtNote"_s)->setText(u"nessuna nota così"_s);
            QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
            search->findChild<QPushButton*>(u"btnTrova"_s)->click();
            search->reject();
        });
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Plain);

        withSearch(windows, [&](SearchWindow* search) {
            QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
            auto* list = search->findChild<QListView*>(u"lstRecords"_s);
            auto* key = search->findChild<QLineEdit*>(u"txtTrova"_s);
            QTest::keyClicks(key, u"RITRATTO"_s);
            QTest::keyClick(key, Qt::Key_Return); // focus to Trova, nothing found yet
            QTRY_VERIFY(search->findChild<QPushButton*>(u"btnTrova"_s)->hasFocus());
            auto* trova = search->findChild<QPushButton*>(u"btnTrova"_s);
            for (int expected : {0, 1, 0}) { // a new key tests the first line; the same key goes on and wraps
                trova->click();
                QCOMPARE(list->currentIndex().row(), expected);
            }
            search->reject();
        });
    }

    void unreadableArchiveKeepsTheCriteriaPage() {
        WindowSet windows;
        openEditor(windows);
        FakeMessages messages;
        withSearch(windows, [&](SearchWindow* search) {
            FaultyFileSystem faulty(FaultyFileSystem::Fault::ReadError);
            QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
            QVERIFY(search->findChild<QWidget*>(u"panAvvio"_s)->isVisible());
            QVERIFY(search->findChild<QLabel*>(u"lblAttendere"_s)->isVisible());
            search->reject();
        });
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, BookArchive::accessMessage());
        QCOMPARE(messages.asked[0].kind, MsgKind::Plain);
    }

    void focusFramesAndReturnChain() {
        WindowSet windows;
        openEditor(windows);
        withSearch(windows, [&](SearchWindow* search) {
            for (int i = 1; i <= 10; ++i)
                QVERIFY(search->findChild<QWidget*>(u"effCampo%1"_s.arg(i, 2, 10, QLatin1Char('0'))));
            auto* note = search->findChild<QLineEdit*>(u"txtNote"_s);
            note->setFocus();
            QTRY_VERIFY(search->findChild<QWidget*>(u"effCampo04"_s)->isVisible());
            QTest::keyClick(note, Qt::Key_Return);
            QTRY_VERIFY(search->findChild<QLineEdit*>(u"txtTitolo"_s)->hasFocus());
            QVERIFY(!search->findChild<QWidget*>(u"effCampo04"_s)->isVisible());
            search->reject();
        });
    }

    // Return presses the button that has the focus, or "Cerca" on the criteria page, and on the list
    // hands back the line the user is on, as a double-click does; Escape closes the window on either
    // page as "Chiudi" does. Keys: "@name" puts the focus on a control, "cerca" clicks "Cerca",
    // "type:" types, the rest are keys.
    void keysOfTheSearchWindow_data() {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("position"); // of the card the editor shows, 0 for none
        QTest::addColumn<int>("row");      // the list's current line afterwards, -1 for none
        QTest::newRow("Escape on the criteria page")
            << QString() << u"@txtTitolo type:Ritratto Escape"_s << true << 0 << -1;
        QTest::newRow("Return on Cerca searches") << QString() << u"@btnCerca Return"_s << false << 0 << -1;
        QTest::newRow("Tab from the last criterion to Cerca, Return")
            << QString() << u"@txtNote Tab Return"_s << false << 0 << -1;
        QTest::newRow("Return in a criterion only moves on")
            << QString() << u"@txtTitolo type:Ritratto Return"_s << false << 0 << -1;
        QTest::newRow("Escape on the results page") << QString() << u"cerca Escape"_s << true << 0 << -1;
        QTest::newRow("Return on a line picked with the arrows")
            << QString() << u"cerca @lstRecords Down Return"_s << true << 1 << -1;
        QTest::newRow("Return on the line the list opens on, none picked")
            << QString() << u"cerca @lstRecords Return"_s << true << 2 << -1;
        QTest::newRow("Return on the line the keys moved to, none picked")
            << QString() << u"cerca @lstRecords CtrlDown Return"_s << true << 1 << -1;
        QTest::newRow("Return in the quick-find key, then on Trova")
            << QString() << u"cerca type:spiaggia Return Return"_s << false << 0 << 2;
        QTest::newRow("Return on an empty list does nothing")
            << u"nessuna nota così"_s << u"cerca @lstRecords Return"_s << false << 0 << -1;
    }
    void keysOfTheSearchWindow() {
        QFETCH(QString, note);
        QFETCH(QString, keys);
        QFETCH(bool, closed);
        QFETCH(int, position);
        QFETCH(int, row);
        WindowSet windows;
        openEditor(windows);
        bool closedByTheKeys = false;
        bool resultsShown = false;
        int current = -1;
        withSearch(windows, [&](SearchWindow* search) {
            QTRY_VERIFY(search->findChild<QLineEdit*>(u"txtTitolo"_s)->hasFocus());
            search->findChild<QLineEdit*>(u"txtNote"_s)->setText(note);
            for (const QString& step : keys.split(u' ')) {
                QWidget* focused = QApplication::focusWidget();
                if (step.startsWith(u'@')) {
                    auto* control = search->findChild<QWidget*>(step.mid(1));
                    control->setFocus(Qt::TabFocusReason);
                    QTRY_VERIFY(control->hasFocus());
                } else if (step == u"cerca"_s) {
                    QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
                } else if (step.startsWith(u"type:"_s)) {
                    QTest::keyClicks(focused, step.mid(5));
                } else if (step == u"CtrlDown"_s) {
                    QTest::keyClick(focused, Qt::Key_Down, Qt::ControlModifier);
                } else {
                    QTest::keyClick(focused, keyNamed(step, Qt::Key_Down));
                }
            }
            closedByTheKeys = !search->isVisible();
            resultsShown = search->findChild<QWidget*>(u"panContainer"_s)->isVisible();
            const QModelIndex line = search->findChild<QListView*>(u"lstRecords"_s)->currentIndex();
            current = line.isValid() ? line.row() : -1;
        });
        QCOMPARE(closedByTheKeys, closed);
        QCOMPARE(windows.editor()->position(), position ? std::optional<int>(position) : std::nullopt);
        if (position)
            QCOMPARE(windows.editor()->findChild<QLineEdit*>(u"txtTitolo"_s)->text(),
                     kBook[position - 1].titolo);
        if (!closed)
            QCOMPARE(resultsShown, keys.startsWith(u"cerca"_s) || keys.contains(u"btnCerca"_s) ||
                                       keys.contains(u"Tab Return"_s));
        if (row >= 0)
            QCOMPARE(current, row);
    }

    // A long criterion is read from its beginning once the user goes on to another field.
    void criteriaShowTheirBeginning_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("on with Return") << int(Qt::Key_Return);
        QTest::newRow("on with Tab") << int(Qt::Key_Tab);
    }
    void criteriaShowTheirBeginning() {
        QFETCH(int, key);
        WindowSet windows;
        openEditor(windows);
        int shown = -1;
        withSearch(windows, [&](SearchWindow* search) {
            auto* titolo = search->findChild<QLineEdit*>(u"txtTitolo"_s);
            QTRY_VERIFY(titolo->hasFocus());
            QTest::keyClicks(titolo, u"Ritratto in studio con luce morbida da sinistra e fondale grigio"_s);
            QVERIFY(firstShown(titolo) > 0);
            QTest::keyClick(titolo, Qt::Key(key));
            QTRY_VERIFY(search->findChild<QLineEdit*>(u"txtDescrizione"_s)->hasFocus());
            shown = firstShown(titolo);
        });
        QCOMPARE(shown, 0);
    }

    // The summary of the latest search, printed after the print dialog; the window stays open.
    void printingTheSummary_data() {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("no hits") << u"nessuna nota così"_s << QStringList();
        QTest::newRow("one hit") << u"vento"_s << QStringList{u"Spiaggia all'alba"_s};
    }
    void printingTheSummary() {
        QFETCH(QString, note);
        QFETCH(QStringList, printed);
        QVERIFY2(!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty(),
                 "pdftotext (poppler-utils) is needed");
        Clock::setToday(QDate(2026, 12, 8));
        // Under the C locale, whose own short dates are separated by blanks.
        ProcessFormats::setSystemLocale(QLocale::c());
        const auto systemAgain = qScopeGuard([] { ProcessFormats::setSystemLocale(std::nullopt); });
        WindowSet windows;
        openEditor(windows);
        FakePrinting printing;
        printing.output = m_dir->filePath(u"riepilogo.pdf"_s);
        bool stayedOpen = false;
        withSearch(windows, [&](SearchWindow* search) {
            search->findChild<QLineEdit*>(u"txtNote"_s)->setText(note);
            QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
            search->findChild<QPushButton*>(u"btnStampa"_s)->click();
            stayedOpen = search->isVisible();
        });
        Clock::setToday(std::nullopt);
        QVERIFY(stayedOpen);
        QCOMPARE(printing.dialogs, 1);
        QVERIFY_SOUND_PDF(printing.output);
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-layout"_s, printing.output, u"-"_s});
        QVERIFY(pdftotext.waitForFinished(60000));
        // The font may set "fi" as one ligature glyph; compatibility normalisation reads it as two letters.
        const QString text =
            QString::fromUtf8(pdftotext.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
        // The title bar names the book searched.
        QVERIFY2(text.contains(u"Riepilogo foto in book fotografico \"Giulia\""_s), qPrintable(text));
        QVERIFY2(text.contains(u"Stampa eseguita in data 08/12/2026"_s), qPrintable(text));
        for (const QString& line : printed)
            QVERIFY(text.contains(line));
    }

    void cancelledPrintDialogPrintsNothing() {
        WindowSet windows;
        openEditor(windows);
        FakePrinting printing;
        printing.confirm = false;
        printing.output = m_dir->filePath(u"mai.pdf"_s);
        FakeMessages messages;
        withSearch(windows, [&](SearchWindow* search) {
            QTest::mouseClick(search->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
            search->findChild<QPushButton*>(u"btnStampa"_s)->click();
        });
        QCOMPARE(printing.dialogs, 1);
        QVERIFY(!QFile::exists(printing.output));
        QVERIFY(messages.asked.isEmpty());
    }

private:
    QString archive() { return m_dir->filePath(u"Giulia.wmn"_s); }
    void openEditor(WindowSet& windows) {
        windows.editor()->openBook(u"Giulia"_s, archive());
        windows.editor()->show();
        QVERIFY(QTest::qWaitForWindowExposed(windows.editor()));
    }
    template <class Steps> void withSearch(WindowSet& windows, Steps steps) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* search = qobject_cast<SearchWindow*>(QApplication::activeModalWidget());
            QVERIFY(search);
            steps(search);
            ran = true;
            if (search->isVisible()) // a step that failed must not leave the test waiting
                search->reject();
        });
        QTest::mouseClick(windows.editor()->findChild<Picture*>(u"cmdTrova"_s), Qt::LeftButton);
        QVERIFY(ran);
        QVERIFY(windows.editor()->findChildren<SearchWindow*>().isEmpty());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

LUMIVERA_WINDOW_TEST_MAIN(TestSearch)
#include "tst_search.moc"
