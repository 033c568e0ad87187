// The card preview and print windows and the engine's preview window: what the editor hands them (texts
// as shown, trimmed, and the photo frame's picture), the print dialog confirmed or cancelled,
// their failure messages, and printing to a PDF file.
#include "FakeMessages.h"
#include "FakePrinting.h"
#include "PdfCheck.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "app/Application.h"
#include "app/WindowSet.h"
#include "archive/core/TScheda.h"
#include "archive/windows/PhotoView.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"
#include "editor/windows/EditorWindow.h"
#include "output/core/CardPage.h"
#include "output/windows/CardPreviewWindow.h"
#include "output/windows/CardPrintWindow.h"
#include "report/windows/ReportPreview.h"
#include "report/windows/ReportPrinting.h"
#include "ui/Picture.h"
#include "ui/WindowFrame.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <QtMath>

#include <type_traits>

using namespace Qt::StringLiterals;

namespace {

QImage solid(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
        m_windows = std::make_unique<WindowSet>();
        m_printing = std::make_unique<FakePrinting>();
        m_printing->output = m_dir->filePath(u"scheda.pdf"_s);
        m_messages.asked.clear();
        m_messages.answers.clear();
    }
    void cleanup() {
        m_printing.reset();
        m_windows.reset();
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    void windowLayout_data() {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("icon");
        QTest::newRow("preview") << true << u" Anteprima di stampa"_s << u"Mostra anteprima"_s
                                 << u":/report/preview-heading.svg"_s << u":/report/preview-icon.svg"_s;
        QTest::newRow("print") << false << u" Stampa scheda"_s << u"Stampa"_s
                               << u":/report/print-heading.svg"_s << u":/report/print-icon.svg"_s;
    }
    void windowLayout() {
        QFETCH(bool, preview);
        QFETCH(QString, caption);
        QFETCH(QString, button);
        QFETCH(QString, heading);
        QFETCH(QString, icon);
        std::unique_ptr<QDialog> window;
        if (preview)
            window = std::make_unique<CardPreviewWindow>(editor());
        else
            window = std::make_unique<CardPrintWindow>(editor());
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->size(), QSize(364, 287));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        for (const auto& [name, text] :
             {std::pair{u"btnAnnulla"_s, u"Annulla"_s}, std::pair{u"btnStampa"_s, button}}) {
            auto* push = window->findChild<QPushButton*>(name);
            QVERIFY(push);
            QCOMPARE(push->text(), text);
            QCOMPARE(push->size(), QSize(145, 28));
            QCOMPARE(push->cursor().shape(), Qt::PointingHandCursor);
        }
        for (const QString& source : {heading, icon}) {
            const auto pictures = window->findChildren<Picture*>();
            QVERIFY(std::any_of(pictures.begin(), pictures.end(),
                                [&](Picture* p) { return p->source() == source && p->isLoaded(); }));
        }
        auto* temp = window->findChild<Picture*>(u"imgTemp"_s);
        QVERIFY(temp && temp->isLoaded());
        QCOMPARE(temp->size(), QSize(297, 184));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(!temp->isVisible());
        window->close();
    }

    // The editor hands over its frame's photo, taken by the window when it is shown; the euro sign when
    // the frame has none.
    void photoTakenWhenShown_data() {
        QTest::addColumn<bool>("hasPhoto");
        QTest::newRow("the frame's photo at full size") << true;
        QTest::newRow("no picture in the frame") << false;
    }
    void photoTakenWhenShown() {
        QFETCH(bool, hasPhoto);
        showEditor();
        const QImage photo = solid({2400, 1600}, Qt::darkGreen);
        editor()->photoFrame()->setPhoto(hasPhoto ? CardPhoto::fromImage(photo) : CardPhoto());
        QImage taken;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<CardPreviewWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            taken = window->photo();
            QTest::mouseClick(window->findChild<QPushButton*>(u"btnAnnulla"_s), Qt::LeftButton);
        });
        clickCommand<CardPreviewWindow>();
        if (hasPhoto) {
            QCOMPARE(taken, photo);
        } else {
            QCOMPARE(taken.size(), QSize(297, 184));
            QCOMPARE(taken.pixelColor(taken.width() / 2, 4), QColor(Qt::white));
            bool blue = false;
            for (int x = 0; x < taken.width() && !blue; ++x) {
                const QColor c = taken.pixelColor(x, taken.height() / 2);
                blue = c.blue() > 150 && c.red() < 80;
            }
            QVERIFY(blue);
        }
        QVERIFY(m_messages.asked.isEmpty());
        QCOMPARE(m_printing->dialogs, 0);
        QVERIFY(m_printing->previewed.empty());
    }

    // The card the editor offers: its texts as a save stores them, trimmed but not cut, its book's name
    // and its frame's picture at full size, the placeholder included.
    void editorOffersTheCardAsSaved() {
        openBookWithOneCard();
        setField(u"txtTitolo"_s, u"  Titolo  con spazi \t"_s);
        setField(u"txtDescrizione"_s, u" Primo piano "_s);
        setField(u"txtNote"_s, u"Nota [DATE]"_s);
        CardPage::Values values = editor()->cardValues();
        QCOMPARE(values.texts[TScheda::Titolo], u"Titolo  con spazi"_s);
        QCOMPARE(values.texts[TScheda::Descrizione], u"Primo piano"_s);
        QCOMPARE(values.texts[TScheda::Data], u"05/03/2024"_s);
        QCOMPARE(values.texts[TScheda::Location], u"Milano"_s);
        QCOMPARE(values.texts[TScheda::Fotografo], QString());
        QCOMPARE(values.texts[TScheda::Note], u"Nota [DATE]"_s);
        QCOMPARE(values.bookName, u"Giulia"_s);
        QVERIFY(editor()->photoFrame()->showsPlaceholder());
        QVERIFY(!values.photo.isNull());
        QCOMPARE(values.photo, editor()->photoFrame()->photo().full());

        const QImage photo = solid({800, 600}, Qt::darkRed);
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(photo));
        values = editor()->cardValues();
        QCOMPARE(values.photo, photo);
    }

    // Texts the editor shows, never saved, print trimmed; the archive is not touched.
    void printsTheEditorAsShown() {
        openBookWithOneCard();
        setField(u"txtTitolo"_s, u"  Titolo cambiato [non salvato] \t"_s);
        setField(u"txtFotografo"_s, u" Anna Bianchi "_s);
        setField(u"txtNote"_s, u"Nota [DATE]"_s);
        const QByteArray before = readFile(archive());
        const QImage photo = solid({600, 900}, Qt::blue);
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(photo));

        clickStampa<CardPrintWindow>();

        QCOMPARE(m_printing->dialogs, 1);
        QVERIFY(m_messages.asked.isEmpty());
        QVERIFY_SOUND_PDF(m_printing->output);
        const QString text = pdfText(m_printing->output);
        for (const QString& expected :
             {u"Titolo cambiato [non salvato]"_s, u"Anna Bianchi"_s, u"Nota [DATE]"_s, u"Giulia"_s,
              u"Data scatto: 05/03/2024"_s, u"Milano"_s})
            QVERIFY2(text.contains(expected), qPrintable(expected + u" not in:\n"_s + text));
        QCOMPARE(readFile(archive()), before);
        QVERIFY(QDir(m_dir->path()).entryList({u"*.wmn"_s}, QDir::Files) == QStringList{u"Giulia.wmn"_s});
    }

    // A field too long for its box prints its words up to the last that fits and "…", on paper and in
    // the preview alike; no word is printed cut in two.
    void longFieldPrintsWholeWords() {
        openBookWithOneCard();
        setField(u"txtAbiti"_s, u"Abito lungo "_s + QString(120, u'x'));
        clickStampa<CardPrintWindow>();
        const QString text = pdfText(m_printing->output);
        QVERIFY2(text.contains(u"Abito lungo…"_s), qPrintable(text));
        QVERIFY2(!text.contains(u"xxx"_s), qPrintable(text));

        clickStampa<CardPreviewWindow>();
        QCOMPARE(m_printing->previewed.size(), std::size_t(1));
        QCOMPARE(m_printing->previewed.front().pages.front().find(u"txtAbiti")->text, u"Abito lungo…"_s);
    }

    void previewShowsThePreparedCard() {
        openBookWithOneCard();
        setField(u"txtData"_s, QString());
        setField(u"txtAbiti"_s, u"   Abito lungo  "_s);
        clickStampa<CardPreviewWindow>();

        QCOMPARE(m_printing->previewed.size(), std::size_t(1));
        QCOMPARE(m_printing->dialogs, 0);
        QVERIFY(m_messages.asked.isEmpty());
        const Report::PreparedReport& report = m_printing->previewed.front();
        QCOMPARE(report.name, u"Scheda book fotografico"_s);
        QCOMPARE(report.pages.size(), std::size_t(1));
        const Report::PreparedPage& page = report.pages.front();
        QCOMPARE(page.find(u"txtData")->text, u"Data scatto: "_s);
        QCOMPARE(page.find(u"txtAbiti")->text, u"Abito lungo"_s);
        QCOMPARE(page.find(u"txtTitolo")->text, u"Scatto 1"_s);
        QCOMPARE(page.find(u"txtNome")->text, u"Giulia"_s);
        QVERIFY(page.find(u"imgLogo", Report::PreparedItem::Kind::Picture));
    }

    // The window opens on the button it is for, which Return presses; Escape leaves as "Annulla" does.
    void keysOfTheCardWindows_data() {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<QString>("focus"); // empty: where the window puts it
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("printed"); // print dialogs or previews asked for
        QTest::newRow("print, Return prints") << false << QString() << int(Qt::Key_Return) << 1;
        QTest::newRow("print, Escape leaves") << false << QString() << int(Qt::Key_Escape) << 0;
        QTest::newRow("print, Return on Annulla leaves")
            << false << u"btnAnnulla"_s << int(Qt::Key_Return) << 0;
        QTest::newRow("preview, Return shows the preview") << true << QString() << int(Qt::Key_Return) << 1;
        QTest::newRow("preview, Escape leaves") << true << QString() << int(Qt::Key_Escape) << 0;
    }
    void keysOfTheCardWindows() {
        QFETCH(bool, preview);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, printed);
        openBookWithOneCard();
        bool closedByTheKey = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(window);
            const auto closeAnyway = qScopeGuard([&] {
                closedByTheKey = !window->isVisible();
                if (!closedByTheKey)
                    window->reject();
            });
            QTRY_VERIFY(window->isActiveWindow() && QApplication::focusWidget());
            if (!focus.isEmpty())
                window->findChild<QWidget*>(focus)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        });
        if (preview)
            clickCommand<CardPreviewWindow>();
        else
            clickCommand<CardPrintWindow>();
        QVERIFY(closedByTheKey);
        QCOMPARE(preview ? int(m_printing->previewed.size()) : m_printing->dialogs, printed);
        QCOMPARE(preview ? m_printing->dialogs : int(m_printing->previewed.size()), 0);
        QVERIFY(m_messages.asked.isEmpty());
    }

    void cancelledPrintDialogClosesSilently() {
        openBookWithOneCard();
        m_printing->confirm = false;
        clickStampa<CardPrintWindow>();
        QCOMPARE(m_printing->dialogs, 1);
        QVERIFY(m_messages.asked.isEmpty());
        QVERIFY(!QFile::exists(m_printing->output));
    }

    void failureIsReported_data() {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<int>("answer");
        QTest::newRow("preview, OK") << true << int(MsgAnswer::Ok);
        QTest::newRow("print, Cancel") << false << int(MsgAnswer::Cancel);
    }
    void failureIsReported() {
        QFETCH(bool, preview);
        QFETCH(int, answer);
        openBookWithOneCard();
        m_messages.answers = {MsgAnswer(answer)};
        m_printing->previewError = u"Anteprima non disponibile."_s;
        m_printing->output = m_dir->filePath(u"manca/scheda.pdf"_s); // a folder that does not exist
        QString expected;
        if (preview) {
            clickStampa<CardPreviewWindow>();
            expected = CardPreviewWindow::failureMessage();
            QCOMPARE(expected, u"Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon "
                               u"fine.\n\r\n\rSi consiglia di ridurre le dimensioni della foto."_s);
        } else {
            clickStampa<CardPrintWindow>();
            expected = CardPrintWindow::failureMessage();
            QCOMPARE(expected,
                     u"Attenzione: la stampa non è andata a buon fine.\n\r\n\rSi consiglia di ridurre le "
                     u"dimensioni della foto."_s);
        }
        QCOMPARE(m_messages.asked.size(), 1);
        QCOMPARE(m_messages.asked[0].text, expected);
        QCOMPARE(m_messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(m_messages.asked[0].buttons, MsgButtons::OkCancel);
    }

    // A card whose page the preview window cannot draw gets the preview's own warning, and no preview
    // window and no other message appear.
    void undrawablePageIsReportedByTheCardWindow() {
        openBookWithOneCard();
        m_printing->undrawablePage = true;
        clickStampa<CardPreviewWindow>();
        QCOMPARE(m_printing->previewed.size(), std::size_t(1));
        QCOMPARE(m_printing->previewWindows, 0);
        QCOMPARE(m_messages.asked.size(), 1);
        QCOMPARE(
            m_messages.asked[0].text,
            u"Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon fine.\n\r\n\rSi "
            u"consiglia di ridurre le dimensioni della foto."_s);
        QCOMPARE(m_messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(m_messages.asked[0].buttons, MsgButtons::OkCancel);
    }

    // --- The engine's preview window ---------------------------------------------------------------
    // The pages are drawn before the window exists: one that cannot be drawn comes back to the caller
    // in the engine's words, with no window and no message of the preview's own.
    void previewOfAPageThatCannotBeDrawn() {
        Report::PreparedReport report = preparedCard();
        report.pages.clear();
        QString failure;
        try {
            ReportPreview window(report, editor());
            window.show();
        } catch (const Report::ReportError& error) {
            failure = error.text();
        }
        QCOMPARE(failure, u"Il documento \"Scheda book fotografico\" non ha pagine da stampare."_s);
        QVERIFY(m_messages.asked.isEmpty());
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<ReportPreview*>(window));
    }

    void previewWindow() {
        ReportPreview window(preparedCard(), editor());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.isModal());
        QTRY_VERIFY(window.isMaximized());
        auto* bar = window.findChild<QToolBar*>();
        QVERIFY(bar);
        QStringList commands;
        for (QAction* action : bar->actions())
            commands << action->objectName();
        QCOMPARE(commands,
                 (QStringList{u"actStampa"_s, u"actZoom"_s, u"actSchermoIntero"_s, u"actChiudi"_s}));
        auto* view = window.findChild<QPrintPreviewWidget*>();
        QCOMPARE(view->zoomFactor(), 1.0);
        QCOMPARE(view->pageCount(), 1);
        QCOMPARE(view->orientation(), QPageLayout::Portrait);

        window.findChild<QAction*>(u"actZoom200"_s)->trigger();
        QCOMPARE(view->zoomFactor(), 2.0);
        auto* fullScreen = window.findChild<QAction*>(u"actSchermoIntero"_s);
        fullScreen->trigger();
        QTRY_VERIFY(window.isFullScreen());
        fullScreen->trigger();
        QTRY_VERIFY(!window.isFullScreen());

        window.findChild<QAction*>(u"actStampa"_s)->trigger();
        QCOMPARE(m_printing->dialogs, 1);
        QVERIFY(pdfText(m_printing->output).contains(u"Scatto di prova"_s));
        QVERIFY_SOUND_PDF(m_printing->output);
        QVERIFY(m_messages.asked.isEmpty());

        window.findChild<QAction*>(u"actChiudi"_s)->trigger();
        QVERIFY(!window.isVisible());
    }

    // The preview opens on the top of the first page, as a reader starts it: the title bar under the
    // book's name and the date is in view, in a window as tall as the screen and in a short one alike,
    // and the view can only go down from there.
    void previewOpensAtTheTopOfTheFirstPage_data() {
        QTest::addColumn<QSize>("window");
        QTest::newRow("maximised") << QSize();
        QTest::newRow("a short window") << QSize(1024, 600);
    }
    void previewOpensAtTheTopOfTheFirstPage() {
        QFETCH(QSize, window);
        ReportPreview preview(preparedCard(), editor());
        if (window.isValid()) {
            preview.setWindowState(Qt::WindowNoState);
            preview.resize(window);
        }
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        if (window.isValid())
            QTRY_COMPARE(preview.size(), window);
        else
            QTRY_VERIFY(preview.isMaximized());
        auto* area = preview.findChild<QPrintPreviewWidget*>()->findChild<QAbstractScrollArea*>();
        QVERIFY(area);
        QCOMPARE(area->verticalScrollBar()->value(), area->verticalScrollBar()->minimum());
        QVERIFY(area->verticalScrollBar()->maximum() > area->verticalScrollBar()->minimum());

        // Down the middle of what is shown: the grey room around the sheet, the sheet's white top
        // edge, then the royal-blue title bar 15 mm below it (10 mm of margin and 5 mm down to the bar).
        const QImage shown = area->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int x = shown.width() / 2;
        int edge = -1;
        int firstBlue = -1;
        for (int y = 0; y < shown.height() && firstBlue < 0; ++y) {
            if (edge < 0 && shown.pixelColor(x, y) == QColor(Qt::white))
                edge = y;
            if (shown.pixelColor(x, y) == QColor(65, 105, 225))
                firstBlue = y;
        }
        const qreal mm = area->viewport()->logicalDpiY() / 25.4;
        QVERIFY2(edge >= 0 && edge < 20 * mm, qPrintable(u"sheet's edge at %1"_s.arg(edge)));
        QVERIFY2(std::abs(firstBlue - edge - 15 * mm) < 3,
                 qPrintable(u"sheet's edge at %1, first royal-blue row at %2"_s.arg(edge).arg(firstBlue)));
    }

    // The window manager maximises the window after showing it, and the user may restore it and
    // maximise it again: scrolling with the wheel afterwards must still show the page as it is drawn,
    // the red photo once and whole, never a copy of its top below itself.
    void previewScrollsTheWholePage_data() {
        QTest::addColumn<QString>("zoom");
        QTest::newRow("100 %") << u"actZoom100"_s;
        QTest::newRow("200 %") << u"actZoom200"_s;
        QTest::newRow("whole page") << u"actZoomPagina"_s;
    }
    void previewScrollsTheWholePage() {
        QFETCH(QString, zoom);
        ReportPreview window(preparedCard(), editor());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.findChild<QAction*>(zoom)->trigger();
        auto* view = window.findChild<QPrintPreviewWidget*>();
        auto* area = view->findChild<QAbstractScrollArea*>();
        QVERIFY(area);
        QScrollBar* bar = area->verticalScrollBar();

        window.setWindowState(Qt::WindowNoState);
        window.resize(640, 360);
        QTRY_COMPARE(window.size(), QSize(640, 360));
        wheel(area->viewport(), -40); // to the foot of the page
        QCOMPARE(bar->value(), bar->maximum());
        window.setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(window.isMaximized());
        QTRY_VERIFY(!area->horizontalScrollBar()->isVisible()); // the whole width of the page in view
        QTRY_VERIFY(shownAsDrawn(area->viewport(), view->zoomFactor()));

        for (int steps : {1, 1, 2, -1, 3}) {
            const int before = bar->value();
            wheel(area->viewport(), steps);
            if (bar->maximum() > bar->minimum())
                QVERIFY(bar->value() != before || bar->value() == bar->minimum());
            QTRY_VERIFY2(shownAsDrawn(area->viewport(), view->zoomFactor()),
                         qPrintable(u"scrolled to %1"_s.arg(bar->value())));
        }
    }

    // With no printer, the dialog's print to file may name a folder: the PDF goes into it.
    void printToFileNamingAFolder() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir->path());
        ReportPrinting::printOn(printer, preparedCard());
        const QString pdf = m_dir->filePath(u"Scheda book fotografico.pdf"_s);
        QVERIFY(readFile(pdf).startsWith("%PDF-"));
        QVERIFY(pdfText(pdf).contains(u"Scatto di prova"_s));
        QVERIFY_SOUND_PDF(pdf);

        printer.setOutputFileName(QString());
        QVERIFY_THROWS_EXCEPTION(Report::ReportError, ReportPrinting::printOn(printer, preparedCard()));
    }

private:
    EditorWindow* editor() { return m_windows->editor(); }
    QString archive() { return m_dir->filePath(u"Giulia.wmn"_s); }

    void openBookWithOneCard() {
        TScheda card;
        card.setField(TScheda::Titolo, u"Scatto 1"_s);
        card.setField(TScheda::Data, u"05/03/2024"_s);
        card.setField(TScheda::Location, u"Milano"_s);
        QFile file(archive());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(card.bytes().data()), qsizetype(TScheda::kSize));
        file.close();
        editor()->openBook(u"Giulia"_s, archive());
        showEditor();
        QTest::mouseClick(editor()->findChild<Picture*>(u"cmdAvanti"_s), Qt::LeftButton);
        QCOMPARE(editor()->position(), std::optional<int>(1));
    }

    void showEditor() {
        editor()->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
    }

    void setField(const QString& name, const QString& text) {
        auto* edit = editor()->findChild<QLineEdit*>(name);
        QVERIFY(edit);
        edit->setText(text);
    }

    // Opens the window W with the editor's command for it, as the user does.
    template <class W> void clickCommand() {
        const QString command = std::is_same_v<W, CardPrintWindow> ? u"cmdStampa"_s : u"cmdAnteprima"_s;
        auto* picture = editor()->findChild<Picture*>(command);
        QVERIFY(picture);
        QTest::mouseClick(picture, Qt::LeftButton);
    }

    // Opens the window from the editor and presses its button; the window must close by itself.
    template <class W> void clickStampa() {
        bool clicked = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
            QVERIFY(window);
            QTest::mouseClick(window->template findChild<QPushButton*>(u"btnStampa"_s), Qt::LeftButton);
            clicked = true;
        });
        clickCommand<W>();
        QVERIFY(clicked);
        QVERIFY(editor()->findChildren<W*>().isEmpty());
    }

    // Turns the mouse wheel over the widget notch by notch, upwards for positive steps.
    static void wheel(QWidget* widget, int steps) {
        const QPointF centre = QRectF(widget->rect()).center();
        for (int i = 0; i < std::abs(steps); ++i) {
            QWheelEvent event(centre, widget->mapToGlobal(centre), QPoint(),
                              QPoint(0, steps > 0 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(widget, &event);
        }
    }

    // What the screen shows of the preview's page is what the page draws now, and down the middle of
    // the photo there is one red stretch, no taller than the photo's 177 mm frame at the zoom shown.
    static bool shownAsDrawn(QWidget* viewport, qreal zoom) {
        const QPoint corner = viewport->mapTo(viewport->window(), QPoint());
        const QImage shown = viewport->screen()
                                 ->grabWindow(viewport->window()->winId(), corner.x(), corner.y(),
                                              viewport->width(), viewport->height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        const QImage drawn = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (shown != drawn)
            return false;
        const int x = shown.width() / 2;
        int stretches = 0;
        int height = 0;
        for (int y = 0; y < shown.height(); ++y) {
            if (shown.pixelColor(x, y) != QColor(Qt::red))
                continue;
            if (y == 0 || shown.pixelColor(x, y - 1) != QColor(Qt::red))
                ++stretches;
            ++height;
        }
        const qreal frame = 177 / 25.4 * viewport->logicalDpiY() * zoom;
        return stretches <= 1 && height <= qCeil(frame) + 1;
    }

    static Report::PreparedReport preparedCard() {
        Report::ReportTemplate page = CardPage::makeTemplate();
        CardPage::Values values;
        values.photo = solid({300, 400}, Qt::red);
        values.texts[TScheda::Titolo] = u"Scatto di prova"_s;
        values.bookName = u"Giulia"_s;
        CardPage::fill(page, values);
        return Report::prepare(page);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
    std::unique_ptr<FakePrinting> m_printing;
    FakeMessages m_messages;
};

LUMIVERA_WINDOW_TEST_MAIN(TestPrint)
#include "tst_print.moc"
