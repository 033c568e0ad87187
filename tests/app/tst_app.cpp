// Start-up: the seventeen windows in their order, the date conventions, the launcher and the report of
// errors that nothing caught.
#include "Application.h"
#include "ApriZudid.h"
#include "Avvio.h"
#include "BookArchive.h"
#include "BookZudid.h"
#include "CambiaPassword.h"
#include "CreaZudid.h"
#include "FakeMessages.h"
#include "FakeShell.h"
#include "Guida.h"
#include "HelpTopics.h"
#include "Info.h"
#include "LinkText.h"
#include "Password.h"
#include "Picture.h"
#include "ProcessFormats.h"
#include "ProgramFolder.h"
#include "Splash.h"
#include "WindowSet.h"
#include "Windows.h"

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace {

QList<QWidget*> visibleWindows() {
    QList<QWidget*> visible;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            visible << w;
    }
    return visible;
}

// A control whose event handler fails with an archive error that nothing catches.
class Failing final : public QObject {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw ArchiveError(u"Impossibile aprire l'archivio \"Giulia.wmn\"."_s);
        return QObject::event(event);
    }
};

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
        QTest::addColumn<QString>("className");
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
        QFETCH(QString, className);
        QFETCH(QString, caption);
        QFETCH(QSize, clientSize);
        QFETCH(bool, maximised);
        QCOMPARE(int(m_windows->windows().size()), 17);
        QWidget* window = m_windows->windows().at(index);
        QCOMPARE(QString::fromLatin1(window->metaObject()->className()), className);
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
        QCOMPARE(static_cast<QWidget*>(Windows::frmPassword), m_windows->windows().at(0));
        QCOMPARE(static_cast<QWidget*>(Windows::frmAvvio), m_windows->windows().at(1));
        QCOMPARE(static_cast<QWidget*>(Windows::frmCambiaPassword), m_windows->windows().at(2));
        QCOMPARE(static_cast<QWidget*>(Windows::frmCreaZudid), m_windows->windows().at(6));
        QCOMPARE(static_cast<QWidget*>(Windows::frmApriZudid), m_windows->windows().at(7));
        QCOMPARE(static_cast<QWidget*>(Windows::frmBookZudid), m_windows->windows().at(8));
    }

    void dateTextAfterStartUp() {
        const QChar sep = ProcessFormats::systemDateSeparator();
        QCOMPARE(ProcessFormats::dateText(QDate(2024, 3, 1)), u"01"_s + sep + u"03"_s + sep + u"2024"_s);
        QCOMPARE(ProcessFormats::decimalSeparator(), u',');
    }

    void startShowsTheLauncherMaximised() {
        m_windows->start();
        QTRY_VERIFY(Windows::frmAvvio->isVisible());
        QCOMPARE(visibleWindows(), QList<QWidget*>{Windows::frmAvvio});
        QTRY_VERIFY(Windows::frmAvvio->isMaximized());
        // The content panel keeps its size, centred in the maximised window.
        auto* panel = Windows::frmAvvio->findChild<QWidget*>(u"panContainer"_s);
        QCOMPARE(panel->size(), QSize(995, 692));
        QTRY_COMPARE(panel->geometry().center(), Windows::frmAvvio->rect().center());
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
        auto* picture = Windows::frmAvvio->findChild<Picture*>(name);
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
        Windows::frmAvvio->show();
        QVERIFY(QTest::qWaitForWindowExposed(Windows::frmAvvio));
        QTest::mouseClick(Windows::frmAvvio->findChild<Picture*>(picture), Qt::LeftButton);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->windows().at(target)});

        // Closing the create or open window brings the launcher back.
        m_windows->windows().at(target)->close();
        QCOMPARE(visibleWindows(), QList<QWidget*>{Windows::frmAvvio});
    }

    void closingTheLauncherEndsTheProgram_data() {
        QTest::addColumn<bool>("byExitIcon");
        QTest::newRow("close button") << false;
        QTest::newRow("exit icon") << true;
    }
    void closingTheLauncherEndsTheProgram() {
        QFETCH(bool, byExitIcon);
        Windows::frmAvvio->show();
        QVERIFY(QTest::qWaitForWindowExposed(Windows::frmAvvio));
        QTimer::singleShot(0, Windows::frmAvvio, [byExitIcon] {
            if (byExitIcon)
                QTest::mouseClick(Windows::frmAvvio->findChild<Picture*>(u"imgEsci"_s), Qt::LeftButton);
            else
                Windows::frmAvvio->close();
        });
        QTimer guard;
        guard.callOnTimeout([] { QCoreApplication::exit(99); });
        guard.start(20000);
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    // Each opening makes a new window owned by the launcher and discards it when it closes.
    void perOpeningWindowsAreMadeAnew_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("className");
        QTest::newRow("information") << u"imgInfo"_s << u"TfrmInfo"_s;
        QTest::newRow("copyright") << u"imgCopyright"_s << u"TfrmSplash"_s;
    }
    void perOpeningWindowsAreMadeAnew() {
        QFETCH(QString, picture);
        QFETCH(QString, className);
        Windows::frmAvvio->show();
        QVERIFY(QTest::qWaitForWindowExposed(Windows::frmAvvio));
        QList<QDialog*> seen;
        for (int opening = 0; opening < 2; ++opening) {
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QCOMPARE(QString::fromLatin1(dialog->metaObject()->className()), className);
                QCOMPARE(dialog->parentWidget(), Windows::frmAvvio);
                seen << dialog;
                dialog->accept();
            });
            QTest::mouseClick(Windows::frmAvvio->findChild<Picture*>(picture), Qt::LeftButton);
            QVERIFY(Windows::frmAvvio->findChildren<QDialog*>().isEmpty());
        }
        QCOMPARE(seen.size(), 2);
    }

    void webBannerOpensTheSite() {
        FakeShell shell;
        Windows::frmAvvio->show();
        QVERIFY(QTest::qWaitForWindowExposed(Windows::frmAvvio));
        QTest::mouseClick(Windows::frmAvvio->findChild<Picture*>(u"imgSito"_s), Qt::LeftButton);
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
        TfrmGuida guide;
        guide.setTopic(HelpTopics::creaZudid());
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

    void eachOpeningIsAFreshGuideAtTheTop() {
        QWidget opener;
        opener.show();
        QList<QPointer<QDialog>> seen;
        for (int opening = 0; opening < 2; ++opening) {
            QTimer::singleShot(0, [&] {
                auto* guide = qobject_cast<TfrmGuida*>(QApplication::activeModalWidget());
                QVERIFY(guide);
                QCOMPARE(guide->parentWidget(), &opener);
                QCOMPARE(guide->findChild<QLabel*>(u"lblTitolo"_s)->text(),
                         u"App Gestione book fotografico."_s);
                auto* text = guide->findChild<QPlainTextEdit*>(u"txtGuida"_s);
                QCOMPARE(text->toPlainText(), HelpTopics::bookZudid().paragraphs.join(u"\n\n"_s));
                QCOMPARE(text->verticalScrollBar()->value(), 0);
                QVERIFY(text->isReadOnly());
                QCOMPARE(guide->size(), QSize(670, 572));
                text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
                seen << guide;
                guide->findChild<QPushButton*>(u"btnChiudi"_s)->click();
            });
            showHelp(&opener, HelpTopics::bookZudid());
            QVERIFY(opener.findChildren<TfrmGuida*>().isEmpty());
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
        QCOMPARE(HelpTopics::bookZudid().paragraphs.size(), 8);
        QCOMPARE(HelpTopics::creaZudid().paragraphs.size(), 6);
    }

private:
    std::unique_ptr<WindowSet> m_windows;
};

int main(int argc, char* argv[]) {
    LumiveraApplication app(argc, argv);
    TestApp test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_app.moc"
