// Start-up: the seventeen windows in their order, the date conventions, the launcher and the report of
// errors that nothing caught; the shell, the guide, the information and copyright windows and the
// launcher's help.
#include "FakeMessages.h"
#include "FakeShell.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "access/core/PasswordStore.h"
#include "access/windows/ChangePasswordWindow.h"
#include "access/windows/LoginWindow.h"
#include "app/Application.h"
#include "app/CopyrightWindow.h"
#include "app/InfoWindow.h"
#include "app/LauncherWindow.h"
#include "app/WindowSet.h"
#include "archive/core/BookArchive.h"
#include "archive/windows/CreateBookWindow.h"
#include "archive/windows/OpenBookWindow.h"
#include "base/HelpTopics.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"
#include "editor/windows/EditorWindow.h"
#include "ui/GuideWindow.h"
#include "ui/LinkText.h"
#include "ui/Picture.h"
#include "ui/WindowFrame.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace {

// A control whose event handler fails with an archive error that nothing catches.
class Failing final : public QObject {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw ArchiveError(u"Impossibile aprire l'archivio \"Giulia.wmn\"."_s);
        return QObject::event(event);
    }
};

// The object names of the top-level windows there are now that were not there before.
QStringList windowsMadeSince(const QWidgetList& before) {
    QStringList made;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!before.contains(window))
            made << window->objectName();
    }
    made.sort();
    return made;
}

// Types the password into the login window's field and presses OK.
void logIn(LoginWindow* login, const QString& password) {
    auto* field = login->findChild<QLineEdit*>(u"txtPassword"_s);
    QTest::keyClicks(field, password);
    QTest::mouseClick(login->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
}

std::unique_ptr<QDialog> makeInfoWindow(const QString& which) {
    if (which == u"info"_s)
        return std::make_unique<InfoWindow>();
    return std::make_unique<CopyrightWindow>();
}

} // namespace

class TestApp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_windows = std::make_unique<WindowSet>(); }
    void cleanup() {
        m_windows.reset();
        QTRY_VERIFY(visibleWindows().isEmpty());
    }

    void seventeenWindowsInOrder_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("windowName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("clientSize");
        QTest::addColumn<bool>("maximised");
        const QString copyright = u" Lumivera - © 2026 Lumivera Software"_s;
        const struct {
            const char* cls;
            QString caption;
            QSize size;
            bool maximised;
        } rows[] = {
            {"TfrmPassword", u" Lumivera - Accesso"_s, {388, 405}, false},
            {"TfrmAvvio", u" Lumivera"_s, {1016, 713}, true},
            {"TfrmCambiaPassword", u" Cambia password"_s, {411, 418}, false},
            {"TfrmGuida", u" Guida all'utilizzo del software"_s, {670, 572}, false},
            {"TfrmInfo", u" Informazioni su Lumivera"_s, {473, 579}, false},
            {"TfrmSplash", copyright, {661, 467}, false},
            {"TfrmCreaZudid", u" Lumivera - Creazione book fotografico"_s, {1016, 713}, true},
            {"TfrmApriZudid", u" Lumivera - Apertura book fotografico"_s, {1016, 713}, true},
            {"TfrmBookZudid", u" Lumivera - Gestione book fotografico"_s, {1016, 713}, true},
            {"TfrmZoom", u" Fai clic sulla foto per chiudere questa finestra"_s, {1016, 713}, true},
            {"TfrmAllegaCartella", u" Allega file"_s, {634, 534}, false},
            {"TfrmCalendario", u" Importazione data"_s, {253, 294}, false},
            {"TfrmTrovaBookZudid", u" Trova foto in book fotografico"_s, {862, 560}, false},
            {"TfrmExpBookZudid", u" Esporta book fotografico in Microsoft Excel"_s, {862, 560}, false},
            {"TfrmAnteprimaBookZudid", u" Anteprima di stampa"_s, {364, 287}, false},
            {"TfrmStampaBookZudid", u" Stampa scheda"_s, {364, 287}, false},
            {"TfrmSlideshow_Zudid", u" Slide Show Book Fotografico"_s, {1016, 713}, true},
        };
        int index = 0;
        for (const auto& r : rows) {
            QTest::newRow(r.cls) << index++ << QString::fromLatin1(r.cls) << r.caption << r.size
                                 << r.maximised;
        }
    }
    void seventeenWindowsInOrder() {
        QFETCH(int, index);
        QFETCH(QString, windowName);
        QFETCH(QString, caption);
        QFETCH(QSize, clientSize);
        QFETCH(bool, maximised);
        QCOMPARE(int(m_windows->windows().size()), 17);
        QWidget* window = m_windows->windows().at(index);
        QCOMPARE(window->objectName(), windowName);
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->size(), clientSize);
        QVERIFY(!window->isVisible());
        QCOMPARE(bool(window->windowState() & Qt::WindowMaximized), maximised);
        if (!maximised) {
            // A fixed dialog: its size cannot change and it has no caption-bar buttons.
            QCOMPARE(window->minimumSize(), clientSize);
            QCOMPARE(window->maximumSize(), clientSize);
            QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
            QVERIFY(!(window->windowFlags() & Qt::WindowMinMaxButtonsHint));
        }
    }

    void referencesReachTheStartUpInstances() {
        QCOMPARE(static_cast<QWidget*>(m_windows->login()), m_windows->windows().at(0));
        QCOMPARE(static_cast<QWidget*>(m_windows->launcher()), m_windows->windows().at(1));
        QCOMPARE(static_cast<QWidget*>(m_windows->changePassword()), m_windows->windows().at(2));
        QCOMPARE(static_cast<QWidget*>(m_windows->createBook()), m_windows->windows().at(6));
        QCOMPARE(static_cast<QWidget*>(m_windows->openBook()), m_windows->windows().at(7));
        QCOMPARE(static_cast<QWidget*>(m_windows->editor()), m_windows->windows().at(8));
    }

    // The system's date separator is kept when it is a mark of its own; a system that separates with a
    // blank (the C locale writes "1 Mar 2024") or with nothing printable gets "/".
    void dateTextAfterStartUp_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("written");
        QTest::newRow("Italian") << u"it_IT"_s << u"01/03/2024"_s;
        QTest::newRow("C") << u"C"_s << u"01/03/2024"_s;
        QTest::newRow("German") << u"de_DE"_s << u"01.03.2024"_s;
        QTest::newRow("Dutch") << u"nl_NL"_s << u"01-03-2024"_s;
        QTest::newRow("American, month first") << u"en_US"_s << u"01/03/2024"_s;
        QTest::newRow("Korean, dot and blank") << u"ko_KR"_s << u"01.03.2024"_s;
        QTest::newRow("Egyptian, direction mark") << u"ar_EG"_s << u"01/03/2024"_s;
    }
    void dateTextAfterStartUp() {
        QFETCH(QString, locale);
        QFETCH(QString, written);
        m_windows.reset();
        ProcessFormats::setSystemLocale(QLocale(locale));
        const auto systemAgain = qScopeGuard([] { ProcessFormats::setSystemLocale(std::nullopt); });
        m_windows = std::make_unique<WindowSet>();
        QCOMPARE(ProcessFormats::dateText(QDate(2024, 3, 1)), written);
        QCOMPARE(ProcessFormats::decimalSeparator(), u',');
    }

    // A card's date text as the calendar reads it: day, month and year joined by one separator.
    void dateFromTextReadsACardsDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // invalid: no date
        QTest::newRow("as this program writes it") << u"08/12/2026"_s << QDate(2026, 12, 8);
        QTest::newRow("blanks and a tab around") << u"  08/12/2026\t"_s << QDate(2026, 12, 8);
        QTest::newRow("German dots") << u"08.12.2026"_s << QDate(2026, 12, 8);
        QTest::newRow("Dutch dashes") << u"08-12-2026"_s << QDate(2026, 12, 8);
        QTest::newRow("one digit for day and month") << u"8/2/2026"_s << QDate(2026, 2, 8);
        QTest::newRow("29 February of a leap year") << u"29/02/2024"_s << QDate(2024, 2, 29);
        QTest::newRow("29 February of another year") << u"29/02/2023"_s << QDate();
        QTest::newRow("31 April") << u"31/04/2024"_s << QDate();
        QTest::newRow("month 13") << u"01/13/2024"_s << QDate();
        QTest::newRow("two separators that differ") << u"08/12.2026"_s << QDate();
        QTest::newRow("two-digit year") << u"08/12/26"_s << QDate();
        QTest::newRow("year 0") << u"01/01/0000"_s << QDate();
        QTest::newRow("a word") << u"dicembre"_s << QDate();
        QTest::newRow("empty") << QString() << QDate();
        QTest::newRow("digits of another script") << u"\u0660\u0668/12/2026"_s << QDate();
    }
    void dateFromTextReadsACardsDate() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(ProcessFormats::dateFromText(text), date);
    }

    void startShowsTheLoginWindow() {
        m_windows->start();
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->login()});
        QTRY_VERIFY(m_windows->login()->findChild<QWidget*>(u"txtPassword"_s)->hasFocus());
    }

    // Start-up makes the login window and nothing else; every other window of the run is made the
    // first time the way leads to it, and only that one.
    void eachWindowIsMadeWhenTheWayFirstLeadsThere_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QStringList>("made");
        QTest::addColumn<QString>("shown");
        QTest::newRow("start") << u"start"_s << QStringList{u"TfrmPassword"_s} << u"TfrmPassword"_s;
        QTest::newRow("right password")
            << u"right password"_s << QStringList{u"TfrmAvvio"_s, u"TfrmPassword"_s} << u"TfrmAvvio"_s;
        QTest::newRow("wrong password")
            << u"wrong password"_s << QStringList{u"TfrmPassword"_s} << u"TfrmPassword"_s;
        QTest::newRow("change password")
            << u"change password"_s << QStringList{u"TfrmCambiaPassword"_s, u"TfrmPassword"_s}
            << u"TfrmCambiaPassword"_s;
    }
    void eachWindowIsMadeWhenTheWayFirstLeadsThere() {
        QFETCH(QString, way);
        QFETCH(QStringList, made);
        QFETCH(QString, shown);
        const auto folder = scratchProgramFolder();
        QVERIFY(folder->isValid());
        PasswordStore(ProgramFolder::passwordStore())
            .writePassword(PasswordStore::kInitialPassword.toString());
        FakeMessages messages;
        m_windows.reset();
        const QWidgetList before = QApplication::topLevelWidgets();
        m_windows = std::make_unique<WindowSet>();
        m_windows->start();
        QVERIFY(QTest::qWaitForWindowActive(m_windows->login()));
        if (way == u"right password"_s)
            logIn(m_windows->login(), u"lucepiumavelox"_s);
        else if (way == u"wrong password"_s)
            logIn(m_windows->login(), u"sbagliata"_s);
        else if (way == u"change password"_s)
            QTest::mouseClick(m_windows->login()->findChild<QPushButton*>(u"btnCambiaPassword"_s),
                              Qt::LeftButton);
        QCOMPARE(windowsMadeSince(before), made);
        const QList<QWidget*> visible = visibleWindows();
        QCOMPARE(visible.size(), 1);
        QCOMPARE(visible.first()->objectName(), shown);
        QVERIFY(QTest::qWaitForWindowActive(visible.first()));
        QCOMPARE(messages.asked.size(), way == u"wrong password"_s ? 1 : 0);
    }

    // The whole way of a run, each window made on the way: the password, the launcher, the open-book
    // window, the editor on the chosen book and, when it closes, the launcher again.
    void fromTheLoginToTheEditorAndBack() {
        const auto folder = scratchProgramFolder();
        QVERIFY(folder->isValid());
        PasswordStore(ProgramFolder::passwordStore())
            .writePassword(PasswordStore::kInitialPassword.toString());
        for (const QString& book : {u"Anna"_s, u"Giulia estate"_s}) {
            QFile archive(ProgramFolder::archiveOf(book));
            QVERIFY(archive.open(QIODevice::WriteOnly));
        }
        FakeMessages messages;
        m_windows.reset();
        const QWidgetList before = QApplication::topLevelWidgets();
        m_windows = std::make_unique<WindowSet>();
        m_windows->start();
        QVERIFY(QTest::qWaitForWindowActive(m_windows->login()));
        logIn(m_windows->login(), u"lucepiumavelox"_s);
        QWidget* launcher = visibleWindows().value(0);
        QVERIFY(launcher);
        QCOMPARE(launcher->objectName(), u"TfrmAvvio"_s);
        QTRY_VERIFY(launcher->isMaximized());

        QTest::mouseClick(launcher->findChild<Picture*>(u"btnApri"_s), Qt::LeftButton);
        QWidget* openBook = visibleWindows().value(0);
        QVERIFY(openBook);
        QCOMPARE(openBook->objectName(), u"TfrmApriZudid"_s);
        QVERIFY(QTest::qWaitForWindowActive(openBook));
        auto* books = openBook->findChild<QListWidget*>(u"lstFiles"_s);
        QCOMPARE(books->count(), 2);
        books->setCurrentRow(1);
        QTest::mouseClick(openBook->findChild<Picture*>(u"btnApri"_s), Qt::LeftButton);

        QWidget* shown = visibleWindows().value(0);
        QCOMPARE(visibleWindows().size(), 1);
        EditorWindow* editor = qobject_cast<EditorWindow*>(shown);
        QVERIFY(editor);
        QTRY_VERIFY(editor->isMaximized());
        QCOMPARE(editor->windowTitle(), u" Lumivera - Gestione book fotografico"_s);
        QCOMPARE(editor->bookName(), u"Giulia estate"_s);
        QCOMPARE(editor->archivePath(), ProgramFolder::archiveOf(u"Giulia estate"_s));
        QCOMPARE(editor->findChild<QLabel*>(u"lblNome"_s)->text(), u"Giulia estate"_s);
        QCOMPARE(windowsMadeSince(before),
                 QStringList({u"TfrmApriZudid"_s, u"TfrmAvvio"_s, u"TfrmBookZudid"_s, u"TfrmPassword"_s}));
        // The windows made on the way are the ones the set hands out.
        QCOMPARE(static_cast<QWidget*>(m_windows->launcher()), launcher);
        QCOMPARE(static_cast<QWidget*>(m_windows->openBook()), openBook);
        QCOMPARE(m_windows->editor(), editor);

        editor->close();
        QCOMPARE(visibleWindows(), QList<QWidget*>{launcher});
        QVERIFY(QTest::qWaitForWindowActive(launcher));
        // Back in the open-book window the same window shows again, and the editor opens another book.
        QTest::mouseClick(launcher->findChild<Picture*>(u"btnApri"_s), Qt::LeftButton);
        QCOMPARE(visibleWindows(), QList<QWidget*>{openBook});
        books->setCurrentRow(0);
        QTest::mouseClick(openBook->findChild<Picture*>(u"btnApri"_s), Qt::LeftButton);
        QCOMPARE(visibleWindows(), QList<QWidget*>{editor});
        QCOMPARE(editor->bookName(), u"Anna"_s);
        QCOMPARE(windowsMadeSince(before).size(), 4);
        QVERIFY(messages.asked.isEmpty());
        editor->close();
    }

    // Windows made on demand in any order keep their places in the set, and the set makes the rest
    // when all of them are asked for.
    void windowsMadeOnDemandKeepTheirPlaces() {
        EditorWindow* editor = m_windows->editor();
        CreateBookWindow* createBook = m_windows->createBook();
        ChangePasswordWindow* changePassword = m_windows->changePassword();
        const std::vector<QWidget*> all = m_windows->windows();
        QCOMPARE(int(all.size()), 17);
        QCOMPARE(all.at(8), static_cast<QWidget*>(editor));
        QCOMPARE(all.at(6), static_cast<QWidget*>(createBook));
        QCOMPARE(all.at(2), static_cast<QWidget*>(changePassword));
        // Asking again makes nothing new.
        QCOMPARE(m_windows->windows(), all);
        QCOMPARE(m_windows->editor(), editor);
    }

    void launcherShowsMaximised() {
        m_windows->launcher()->show();
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->launcher()});
        QTRY_VERIFY(m_windows->launcher()->isMaximized());
        // The content panel keeps its size, centred in the maximised window.
        auto* panel = m_windows->launcher()->findChild<QWidget*>(u"panContainer"_s);
        QCOMPARE(panel->size(), QSize(995, 692));
        QTRY_COMPARE(panel->geometry().center(), m_windows->launcher()->rect().center());
    }

    void launcherPicturesAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("clickable");
        QTest::newRow("title") << u"icoTitolo01"_s << QRect(96, 28, 804, 45) << false;
        QTest::newRow("subtitle") << u"imgSottotitolo"_s << QRect(17, 82, 961, 22) << false;
        QTest::newRow("left photo") << u"imgCrea"_s << QRect(70, 140, 368, 368) << true;
        QTest::newRow("right photo") << u"imgApri"_s << QRect(554, 140, 368, 368) << true;
        QTest::newRow("create button") << u"btnCrea"_s << QRect(34, 518, 442, 79) << true;
        QTest::newRow("open button") << u"btnApri"_s << QRect(518, 518, 442, 79) << true;
        QTest::newRow("web banner") << u"imgSito"_s << QRect(17, 628, 961, 22) << true;
        QTest::newRow("info") << u"imgInfo"_s << QRect(14, 14, 30, 30) << true;
        QTest::newRow("guide") << u"imgGuida"_s << QRect(952, 16, 29, 28) << true;
        QTest::newRow("copyright") << u"imgCopyright"_s << QRect(16, 660, 23, 22) << true;
        QTest::newRow("exit") << u"imgEsci"_s << QRect(960, 662, 17, 18) << true;
    }
    void launcherPicturesAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(bool, clickable);
        auto* picture = m_windows->launcher()->findChild<Picture*>(name);
        QVERIFY(picture);
        QCOMPARE(picture->geometry(), geometry);
        QVERIFY(picture->isLoaded());
        QCOMPARE(picture->cursor().shape(), clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }

    void launcherShowsTheTargetAndHidesItself_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("target");
        QTest::newRow("create photo") << u"imgCrea"_s << 6;
        QTest::newRow("create button") << u"btnCrea"_s << 6;
        QTest::newRow("open photo") << u"imgApri"_s << 7;
        QTest::newRow("open button") << u"btnApri"_s << 7;
    }
    void launcherShowsTheTargetAndHidesItself() {
        QFETCH(QString, picture);
        QFETCH(int, target);
        m_windows->launcher()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_windows->launcher()));
        QTest::mouseClick(m_windows->launcher()->findChild<Picture*>(picture), Qt::LeftButton);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->windows().at(target)});

        // Closing the create or open window brings the launcher back.
        m_windows->windows().at(target)->close();
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->launcher()});
    }

    // The launcher from the keyboard: each command's key, or Tab to its button (the focus starts on
    // the first) and Space or Return.
    void launcherFromTheKeyboard_data() {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("target");
        QTest::newRow("Ctrl+N") << QKeySequence(Qt::CTRL | Qt::Key_N) << 0 << 6;
        QTest::newRow("Ctrl+O") << QKeySequence(Qt::CTRL | Qt::Key_O) << 0 << 7;
        QTest::newRow("Space on the first button") << QKeySequence(Qt::Key_Space) << 0 << 6;
        QTest::newRow("Tab, Return") << QKeySequence(Qt::Key_Return) << 1 << 7;
    }
    void launcherFromTheKeyboard() {
        QFETCH(QKeySequence, key);
        QFETCH(int, tabs);
        QFETCH(int, target);
        LauncherWindow* launcher = m_windows->launcher();
        launcher->show();
        QVERIFY(QTest::qWaitForWindowExposed(launcher));
        launcher->activateWindow();
        QTRY_VERIFY(launcher->isActiveWindow());
        for (int t = 0; t < tabs; ++t)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : launcher,
                            Qt::Key_Tab);
        QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : launcher, key);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->windows().at(target)});
        QCOMPARE(launcher->findChild<Picture*>(u"btnApri"_s)->toolTip(),
                 u"Apri o elimina un book fotografico. (Ctrl+O)"_s);
    }

    void closingTheLauncherEndsTheProgram_data() {
        QTest::addColumn<bool>("byExitIcon");
        QTest::newRow("close button") << false;
        QTest::newRow("exit icon") << true;
    }
    void closingTheLauncherEndsTheProgram() {
        QFETCH(bool, byExitIcon);
        m_windows->launcher()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_windows->launcher()));
        QTimer::singleShot(0, m_windows->launcher(), [this, byExitIcon] {
            if (byExitIcon)
                QTest::mouseClick(m_windows->launcher()->findChild<Picture*>(u"imgEsci"_s), Qt::LeftButton);
            else
                m_windows->launcher()->close();
        });
        QTimer guard;
        guard.callOnTimeout([] { QCoreApplication::exit(99); });
        guard.start(20000);
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    // Each opening makes a new window owned by the launcher and discards it when it closes.
    void perOpeningWindowsAreMadeAnew_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("windowName");
        QTest::newRow("information") << u"imgInfo"_s << u"TfrmInfo"_s;
        QTest::newRow("copyright") << u"imgCopyright"_s << u"TfrmSplash"_s;
    }
    void perOpeningWindowsAreMadeAnew() {
        QFETCH(QString, picture);
        QFETCH(QString, windowName);
        m_windows->launcher()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_windows->launcher()));
        QList<QPointer<QDialog>> seen;
        for (int opening = 0; opening < 2; ++opening) {
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QCOMPARE(dialog->objectName(), windowName);
                QCOMPARE(dialog->parentWidget(), m_windows->launcher());
                QVERIFY(dialog->isModal());
                // The window of the previous opening is gone: this one is new.
                for (const QPointer<QDialog>& earlier : std::as_const(seen))
                    QVERIFY(earlier.isNull());
                QCOMPARE(LinkText::colour(dialog->findChild<QLabel*>(u"lnkWeb"_s)), LinkText::kDarkBlue);
                seen << dialog;
                dialog->findChild<QPushButton*>(u"btnChiudi"_s)->click();
            });
            QTest::mouseClick(m_windows->launcher()->findChild<Picture*>(picture), Qt::LeftButton);
            QVERIFY(m_windows->launcher()->findChildren<QDialog*>().isEmpty());
            QVERIFY(seen.last().isNull());
        }
        QCOMPARE(seen.size(), 2);
    }

    // --- Information and copyright windows -------------------------------------------------------
    void infoAndCopyrightLayout_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry"); // in the window's client area
        QTest::newRow("info panel") << u"info"_s << u"panContainer"_s << QRect(15, 15, 442, 490);
        QTest::newRow("info title box") << u"info"_s << u"shpSfondo"_s << QRect(23, 23, 425, 72);
        QTest::newRow("info title") << u"info"_s << u"imgLogo"_s << QRect(39, 31, 392, 54);
        QTest::newRow("info close") << u"info"_s << u"btnChiudi"_s << QRect(295, 519, 161, 41);
        QTest::newRow("info envelope") << u"info"_s << u"imgEmail"_s << QRect(15, 531, 23, 16);
        QTest::newRow("copyright panel") << u"splash"_s << u"panContainer"_s << QRect(9, 9, 642, 448);
        QTest::newRow("copyright banner") << u"splash"_s << u"imgLogo"_s << QRect(17, 17, 625, 380);
        QTest::newRow("copyright globe") << u"splash"_s << u"imgWeb"_s << QRect(17, 409, 39, 36);
        QTest::newRow("copyright close") << u"splash"_s << u"btnChiudi"_s << QRect(417, 409, 225, 36);
    }
    void infoAndCopyrightLayout() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        const std::unique_ptr<QDialog> dialog = makeInfoWindow(window);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        auto* control = dialog->findChild<QWidget*>(name);
        QVERIFY(control);
        QVERIFY(control->isVisible());
        QCOMPARE(QRect(control->mapTo(dialog.get(), QPoint(0, 0)), control->size()), geometry);
        if (auto* picture = qobject_cast<Picture*>(control))
            QVERIFY(picture->isLoaded());
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            QCOMPARE(button->text(), u"Chiudi"_s);
            QCOMPARE(button->font().family(), u"Verdana"_s);
            QCOMPARE(button->font().pointSize(), 12);
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        }
    }

    // Each has one button, "Chiudi": Return and Escape both press it.
    void infoCopyrightAndGuideCloseByKeys_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key");
        for (const QString& window : {u"info"_s, u"splash"_s, u"guide"_s}) {
            QTest::addRow("%s, Return", qPrintable(window)) << window << int(Qt::Key_Return);
            QTest::addRow("%s, Escape", qPrintable(window)) << window << int(Qt::Key_Escape);
        }
    }
    void infoCopyrightAndGuideCloseByKeys() {
        QFETCH(QString, window);
        QFETCH(int, key);
        QWidget opener;
        opener.show();
        bool closedByTheKey = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto closeAnyway = qScopeGuard([&] {
                closedByTheKey = !dialog->isVisible();
                if (!closedByTheKey)
                    dialog->reject();
            });
            QTRY_VERIFY(dialog->isActiveWindow() && QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        });
        if (window == u"info"_s)
            openModal<InfoWindow>(&opener);
        else if (window == u"splash"_s)
            openModal<CopyrightWindow>(&opener);
        else
            showHelp(&opener, HelpTopics::editor());
        QVERIFY(closedByTheKey);
    }

    void infoAndCopyrightLinks_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<QString>("command");
        const QString mail =
            u"\"mailto:info@lumivera.it?subject=Software Lumivera&body=Salve, desidererei avere "
            u"le seguenti informazioni sul software in oggetto:\""_s;
        QTest::newRow("mail address")
            << u"info"_s << QString() << u"info@lumivera.it"_s << QPoint(46, 528) << mail;
        QTest::newRow("envelope") << u"info"_s << u"imgEmail"_s << u"info@lumivera.it"_s << QPoint(46, 528)
                                  << mail;
        QTest::newRow("web address") << u"splash"_s << QString() << u"www.lumivera.it"_s << QPoint(63, 418)
                                     << u"https://www.lumivera.it"_s;
        QTest::newRow("globe") << u"splash"_s << u"imgWeb"_s << u"www.lumivera.it"_s << QPoint(63, 418)
                               << u"https://www.lumivera.it"_s;
    }
    void infoAndCopyrightLinks() {
        QFETCH(QString, window);
        QFETCH(QString, picture);
        QFETCH(QString, text);
        QFETCH(QPoint, place);
        QFETCH(QString, command);
        FakeShell shell;
        FakeMessages messages;
        const std::unique_ptr<QDialog> dialog = makeInfoWindow(window);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        auto* link = dialog->findChild<QLabel*>(u"lnkWeb"_s);
        QCOMPARE(link->text(), text);
        QCOMPARE(link->mapTo(dialog.get(), QPoint(0, 0)), place);
        QCOMPARE(link->font().family(), u"Tahoma"_s);
        QCOMPARE(link->font().pointSize(), 14);
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(LinkText::colour(link), LinkText::kDarkBlue);

        QWidget* target =
            picture.isEmpty() ? static_cast<QWidget*>(link) : dialog->findChild<QWidget*>(picture);
        QCOMPARE(target->cursor().shape(), Qt::PointingHandCursor);
        QTest::mousePress(target, Qt::LeftButton, {}, {5, 5});
        QCOMPARE(LinkText::colour(link), LinkText::kOrange);
        QVERIFY(shell.opened.isEmpty());
        QTest::mouseRelease(target, Qt::LeftButton, {}, {5, 5});
        QCOMPARE(LinkText::colour(link), LinkText::kDarkBlue);
        QCOMPARE(shell.opened, QStringList{command});
        QVERIFY(messages.asked.isEmpty());
        QVERIFY(dialog->isVisible());
    }

    // The information window names the program's version, the one the build gives it, and the whole
    // of its text stays within the label's room.
    void infoWindowShowsTheVersion() {
        InfoWindow info;
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        auto* details = info.findChild<QLabel*>(u"lblDettagli"_s);
        QVERIFY(details);
        QTextDocument shown;
        shown.setHtml(details->text());
        const QStringList lines = shown.toPlainText().split(QChar::LineSeparator).join(u'\n').split(u'\n');
        QVERIFY2(lines.contains(u"Versione "_s + QStringLiteral(LUMIVERA_PROJECT_VERSION)),
                 qPrintable(lines.join(u" | "_s)));
        QVERIFY(details->heightForWidth(details->width()) <= details->height());
    }

    // The mail link's text, quoted and unencoded, still gives the mail program its subject and body.
    void mailLinkKeepsSubjectAndBody() {
        FakeShell shell;
        InfoWindow info;
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QTest::mouseClick(info.findChild<QLabel*>(u"lnkWeb"_s), Qt::LeftButton, {}, {5, 5});
        QCOMPARE(shell.opened.size(), 1);
        const QString command = shell.opened.first();
        QVERIFY(command.startsWith(u"\"mailto:"_s));
        QVERIFY(command.endsWith(u'"'));
        QVERIFY(!command.contains(u'%'));
        QVERIFY(command.contains(u"subject=Software Lumivera&"_s));
        const QUrl url = TMisc::urlFor(command);
        QCOMPARE(url.scheme(), u"mailto"_s);
        QCOMPARE(url.path(), u"info@lumivera.it"_s);
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue(u"subject"_s, QUrl::FullyDecoded), u"Software Lumivera"_s);
        QCOMPARE(query.queryItemValue(u"body"_s, QUrl::FullyDecoded),
                 u"Salve, desidererei avere le seguenti informazioni sul software in oggetto:"_s);
    }

    void copyrightWindowIsCentredOnTheLauncher() {
        m_windows->launcher()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_windows->launcher()));
        QTimer::singleShot(0, [this] {
            auto* splash = qobject_cast<CopyrightWindow*>(QApplication::activeModalWidget());
            QVERIFY(splash);
            QCOMPARE(splash->windowTitle(), u" Lumivera - © 2026 Lumivera Software"_s);
            QCOMPARE(splash->frameGeometry().center(), m_windows->launcher()->frameGeometry().center());
            splash->findChild<QPushButton*>(u"btnChiudi"_s)->click();
        });
        QTest::mouseClick(m_windows->launcher()->findChild<Picture*>(u"imgCopyright"_s), Qt::LeftButton);
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    // --- Launcher help ---------------------------------------------------------------------------
    void launcherHelpIsFreshAndAtTheTop() {
        m_windows->launcher()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_windows->launcher()));
        QList<QPointer<QDialog>> seen;
        for (int opening = 0; opening < 2; ++opening) {
            QTimer::singleShot(0, [&] {
                auto* guide = qobject_cast<GuideWindow*>(QApplication::activeModalWidget());
                QVERIFY(guide);
                QCOMPARE(guide->parentWidget(), m_windows->launcher());
                for (const QPointer<QDialog>& earlier : std::as_const(seen))
                    QVERIFY(earlier.isNull());
                QCOMPARE(guide->findChild<QLabel*>(u"lblTitolo"_s)->text(), u"Uno sguardo a Lumivera."_s);
                auto* text = guide->findChild<QPlainTextEdit*>(u"txtGuida"_s);
                QCOMPARE(text->toPlainText(), HelpTopics::launcher().paragraphs.join(u"\n\n"_s));
                QCOMPARE(text->verticalScrollBar()->value(), 0);
                // The text is long enough to scroll: leave it at the bottom for the next opening.
                QVERIFY(text->verticalScrollBar()->maximum() > 0);
                text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
                seen << guide;
                guide->findChild<QPushButton*>(u"btnChiudi"_s)->click();
            });
            QTest::mouseClick(m_windows->launcher()->findChild<Picture*>(u"imgGuida"_s), Qt::LeftButton);
            QVERIFY(m_windows->launcher()->findChildren<QDialog*>().isEmpty());
        }
        QCOMPARE(seen.size(), 2);
    }

    void launcherHelpParagraphs_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("firstSentence");
        const QString sentences[] = {
            u"Lumivera è un software facile e intuitivo studiato per fotografi professionisti e agenzie di "
            u"moda "
            u"che realizzano servizi fotografici per la promozione di modelle di ogni età."_s,
            u"Il software, quindi, consente di organizzare i servizi fotografici realizzati a favore delle "
            u"modelle che lavorano per la propria agenzia mettendo a disposizione due applicazioni: la prima "
            u"permette di creare un nuovo book fotografico, mentre la seconda va usata per aprire e "
            u"compilare "
            u"un book fotografico esistente."_s,
            u"L'app Creazione book fotografico permette di generare un nuovo book indicandone il nome per "
            u"esteso nell'apposito campo di testo e confermando l'operazione servendosi del pulsante in "
            u"calce."_s,
            u"Quando si crea un nuovo book fotografico si genera un file di archivio nella cartella del "
            u"programma caratterizzato dall'estensione WMN."_s,
            u"Per individuare il book fotografico creato senza possibilità di errore, è buona norma "
            u"assegnargli un nome il più possibile completo utilizzando parole chiave che indichino, ad "
            u"esempio, il nome della modella e il destinatario dello stesso book."_s,
            u"Una volta indicato il nome del book fotografico nell'apposita casella di testo, l'utente dovrà "
            u"confermare l'operazione premendo il pulsante Applica e chiudi."_s,
            u"L'icona del cestino consente di eliminare il book fotografico selezionato."_s,
            u"Il fatto che tutti i file degli archivi sono posizionati nella cartella di installazione del "
            u"programma rende molto semplice realizzare una copia di sicurezza dei book fotografici creati."_s,
            u"L'app Gestione book fotografico consente di creare le singole pagine di ogni book fotografico "
            u"da visualizzare a schermo o stampare su carta."_s,
            u"I dati da indicare nella scheda riguardano il titolo della foto, una sua descrizione, la data "
            u"dello scatto, la location, il nome del fotografo, la marca e il modello della fotocamera "
            u"utilizzata, l'eventuale ricorso al fotoritocco, gli abiti indossati dalla modella, gli "
            u"accessori, il trucco, il proprio giudizio sulla qualità della foto e ogni ulteriore "
            u"annotazione."_s,
            u"In ogni scheda è possibile importare una foto della modella in formato Jpeg o Bitmap."_s,
            u"Per compilare una nuova scheda del book fotografico, bisogna fare clic sul pulsante Nuovo, "
            u"compilare i campi di testo, caricare una foto e premere Salva."_s,
            u"La funzione Allega file consente di associare a ciascuna scheda del book fotografico tre file "
            u"di qualsiasi genere che potrebbero contenere, ad esempio, documenti riguardanti il servizio "
            u"fotografico in questione."_s,
            u"Il pulsante Trova consente di effettuare una ricerca fra le schede del book fotografico e di "
            u"richiamare quella di proprio interesse con un doppio clic."_s,
            u"Il pulsante Slide Show mostra in sequenza ad intervalli di sei secondi e a schermo intero "
            u"tutte "
            u"le foto delle modelle presenti nel book."_s,
            u"In qualsiasi momento è possibile visualizzare l'anteprima di stampa della pagina corrente del "
            u"book fotografico facendo clic sul pulsante Anteprima."_s,
            u"Il software può essere utilizzato anche in una rete locale se si ha necessità di condividere "
            u"gli archivi fra più postazioni di lavoro."_s,
            u"L'accesso al software è protetto da una password aggiornabile dall'utente che può essere "
            u"cambiata tutte le volte che si desidera."_s,
            u"Lumivera può essere utilizzato anche su chiavetta USB."_s,
            u"Lumivera è quindi lo strumento ideale per le agenzie di modelle e fotomodelle che vogliono "
            u"costruirsi, a tempo di record, un archivio fotografico da sfogliare con le aziende in cerca di "
            u"personale da impiegare in sfilate, spettacoli, spot pubblicitari e quant'altro."_s,
        };
        int number = 1;
        for (const QString& sentence : sentences) {
            QTest::addRow("paragraph %d", number) << number << sentence;
            ++number;
        }
    }
    void launcherHelpParagraphs() {
        QFETCH(int, number);
        QFETCH(QString, firstSentence);
        const HelpTopic topic = HelpTopics::launcher();
        QCOMPARE(topic.title, u"Uno sguardo a Lumivera."_s);
        QCOMPARE(topic.paragraphs.size(), 20);
        // The text as the guide window gets it: twenty paragraphs, one empty line between them.
        const QStringList paragraphs = topic.text().split(u"\r\n\r\n"_s);
        QCOMPARE(paragraphs.size(), 20);
        const QString paragraph = paragraphs.at(number - 1);
        QVERIFY2(paragraph.startsWith(firstSentence), qPrintable(paragraph));
        // The sentence is followed by the end of the paragraph or by the next sentence.
        const QString rest = paragraph.mid(firstSentence.size());
        QVERIFY(rest.isEmpty() || (rest.startsWith(u' ') && rest.size() > 1 && rest.at(1).isUpper()));
        QVERIFY(!paragraph.startsWith(u' ') && !paragraph.endsWith(u' '));
        if (number == 18)
            QVERIFY(rest.contains(u"\"lucepiumavelox\""_s));
    }

    // The guide document beside the program opens with the launcher's overview.
    void guideDocumentStartsWithTheLauncherTopic() {
        const QList<HelpTopic> topics = HelpTopics::all();
        QVERIFY(!topics.isEmpty());
        QCOMPARE(topics.first().title, HelpTopics::launcher().title);
        QCOMPARE(topics.first().text(), HelpTopics::launcher().text());
    }

    void webBannerOpensTheSite() {
        FakeShell shell;
        m_windows->launcher()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_windows->launcher()));
        QTest::mouseClick(m_windows->launcher()->findChild<Picture*>(u"imgSito"_s), Qt::LeftButton);
        QCOMPARE(shell.opened, QStringList{u"https://www.lumivera.it"_s});
    }

    void uncaughtErrorIsReportedAndTheProgramGoesOn() {
        FakeMessages messages;
        Failing failing;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&failing, &event);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"Impossibile aprire l'archivio \"Giulia.wmn\"."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Error);
        QCoreApplication::sendEvent(&failing, &event);
        QCOMPARE(messages.asked.size(), 2);
    }

    // --- Shell open ------------------------------------------------------------------------------
    void shellTargets_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("quoted path with blanks")
            << u"\"/home/anna/Book fotografici/Guida.pdf\""_s
            << QUrl::fromLocalFile(u"/home/anna/Book fotografici/Guida.pdf"_s);
        QTest::newRow("bare folder") << u"/home/anna/Documenti_Allegati"_s
                                     << QUrl::fromLocalFile(u"/home/anna/Documenti_Allegati"_s);
        QTest::newRow("web site") << u"https://www.lumivera.it"_s << QUrl(u"https://www.lumivera.it"_s);
        QTest::newRow("web address without scheme")
            << u"www.lumivera.it"_s << QUrl(u"https://www.lumivera.it"_s);
    }
    void shellTargets() {
        QFETCH(QString, command);
        QFETCH(QUrl, url);
        QCOMPARE(TMisc::urlFor(command), url);
    }

    // A mail text keeps its blanks and colons: the mail program gets the subject and body as typed.
    void mailTextKeepsSubjectAndBody() {
        const QUrl url =
            TMisc::urlFor(u"\"mailto:info@lumivera.it?subject=Software Lumivera&body=Salve, ecco: tutto\""_s);
        QCOMPARE(url.scheme(), u"mailto"_s);
        QCOMPARE(url.path(), u"info@lumivera.it"_s);
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue(u"subject"_s, QUrl::FullyDecoded), u"Software Lumivera"_s);
        QCOMPARE(query.queryItemValue(u"body"_s, QUrl::FullyDecoded), u"Salve, ecco: tutto"_s);
    }

    // --- Guide window ----------------------------------------------------------------------------
    void guideLinkOpensTheQuotedDocument_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain folder") << u"Lumivera"_s;
        QTest::newRow("folder with blanks") << u"Book fotografici/Lumivera 1"_s;
    }
    void guideLinkOpensTheQuotedDocument() {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        const QString programFolder = dir.filePath(folder);
        ProgramFolder::setPath(programFolder); // no Guida.pdf there
        FakeShell shell;
        FakeMessages messages;
        GuideWindow guide;
        guide.setTopic(HelpTopics::createBook());
        guide.show();
        QVERIFY(QTest::qWaitForWindowExposed(&guide));
        auto* link = guide.findChild<QLabel*>(u"lnkWeb"_s);
        QCOMPARE(link->text(), u"Visualizza guida in formato PDF"_s);
        QTest::mouseClick(link, Qt::LeftButton, {}, {5, 5});
        QTest::mouseClick(guide.findChild<QWidget*>(u"imgPDF"_s), Qt::LeftButton, {}, {5, 5});
        const QString quoted = u"\""_s + programFolder + u"/Guida.pdf\""_s;
        QCOMPARE(shell.opened, QStringList({quoted, quoted}));
        QCOMPARE(LinkText::colour(link), LinkText::kDarkBlue);
        QVERIFY(messages.asked.isEmpty());
    }

    // A guide document the desktop cannot open is not a click that does nothing: the user is told why,
    // with the file named.
    void guideTheDesktopCannotOpen_data() {
        QTest::addColumn<bool>("guideThere");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no program reads PDF files")
            << true << u"nel sistema non c'è un programma associato a questo tipo di file."_s;
        QTest::newRow("no guide beside the program") << false << u"il file non esiste."_s;
    }
    void guideTheDesktopCannotOpen() {
        QFETCH(bool, guideThere);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        ProgramFolder::setPath(dir.path());
        const QString guidePath = dir.filePath(u"Guida.pdf"_s);
        if (guideThere) {
            QFile file(guidePath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("%PDF-1.4");
        }
        FakeShell shell;
        shell.opens = false;
        FakeMessages messages;
        GuideWindow guide;
        guide.setTopic(HelpTopics::createBook());
        guide.show();
        QVERIFY(QTest::qWaitForWindowExposed(&guide));
        QTest::mouseClick(guide.findChild<QLabel*>(u"lnkWeb"_s), Qt::LeftButton, {}, {5, 5});
        QCOMPARE(shell.opened, QStringList{u"\""_s + guidePath + u"\""_s});
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 u"Attenzione: non è stato possibile aprire il file \""_s + guidePath + u"\": "_s + reason);
        QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::Ok);
        QVERIFY(guide.isVisible());
    }

    void eachOpeningIsAFreshGuideAtTheTop() {
        QWidget opener;
        opener.show();
        QList<QPointer<QDialog>> seen;
        for (int opening = 0; opening < 2; ++opening) {
            QTimer::singleShot(0, [&] {
                auto* guide = qobject_cast<GuideWindow*>(QApplication::activeModalWidget());
                QVERIFY(guide);
                QCOMPARE(guide->parentWidget(), &opener);
                QCOMPARE(guide->findChild<QLabel*>(u"lblTitolo"_s)->text(),
                         u"App Gestione book fotografico."_s);
                auto* text = guide->findChild<QPlainTextEdit*>(u"txtGuida"_s);
                QCOMPARE(text->toPlainText(), HelpTopics::editor().paragraphs.join(u"\n\n"_s));
                QCOMPARE(text->verticalScrollBar()->value(), 0);
                QVERIFY(text->isReadOnly());
                QCOMPARE(guide->size(), QSize(670, 572));
                text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
                seen << guide;
                guide->findChild<QPushButton*>(u"btnChiudi"_s)->click();
            });
            showHelp(&opener, HelpTopics::editor());
            QVERIFY(opener.findChildren<GuideWindow*>().isEmpty());
        }
        QCOMPARE(seen.size(), 2);
    }

    void helpTextsAreParagraphsJoinedByOneEmptyLine() {
        for (const HelpTopic& topic : HelpTopics::all()) {
            const QString text = topic.text();
            QVERIFY(!text.startsWith(u'\r') && !text.endsWith(u'\n'));
            QCOMPARE(text.split(u"\r\n\r\n"_s), topic.paragraphs);
            for (const QString& p : topic.paragraphs)
                QVERIFY(!p.contains(u'\n') && !p.contains(u'\r'));
        }
        QCOMPARE(HelpTopics::editor().paragraphs.size(), 12);
        QCOMPARE(HelpTopics::createBook().paragraphs.size(), 6);
    }

private:
    std::unique_ptr<WindowSet> m_windows;
};

LUMIVERA_WINDOW_TEST_MAIN(TestApp)
#include "tst_app.moc"
