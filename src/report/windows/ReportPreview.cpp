#include "report/windows/ReportPreview.h"

#include "report/core/ReportPainter.h"
#include "report/windows/ReportPrinting.h"
#include "ui/Messages.h"

#include <QAction>
#include <QGraphicsView>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

ReportPreview::ReportPreview(const Report::PreparedReport& report, QWidget* parent)
    : QDialog(parent)
    , m_report(report)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(u"ReportPreview"_s);
    setWindowTitle(u" Anteprima di stampa - "_s + report.name);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    setWindowModality(Qt::ApplicationModal);
    m_printer->setFullPage(true);
    m_printer->setDocName(report.name);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(u"tbrAnteprima"_s);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->setMovable(false);

    QAction* print =
        m_toolBar->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), u"Stampa"_s);
    print->setObjectName(u"actStampa"_s);
    print->setToolTip(u"Stampa il documento"_s);
    connect(print, &QAction::triggered, this, &ReportPreview::printClicked);

    // Zoom: one command with its steps and the two fitting modes in a menu.
    auto* zoomMenu = new QMenu(this);
    zoomMenu->setObjectName(u"mnuZoom"_s);
    for (int percent : zoomSteps()) {
        QAction* step = zoomMenu->addAction(u"%1 %"_s.arg(percent));
        step->setObjectName(u"actZoom%1"_s.arg(percent));
        connect(step, &QAction::triggered, this, [this, percent] { setZoomPercent(percent); });
    }
    zoomMenu->addSeparator();
    QAction* width = zoomMenu->addAction(u"Adatta alla larghezza"_s);
    width->setObjectName(u"actZoomLarghezza"_s);
    connect(width, &QAction::triggered, this, [this] { m_view->fitToWidth(); });
    QAction* whole = zoomMenu->addAction(u"Pagina intera"_s);
    whole->setObjectName(u"actZoomPagina"_s);
    connect(whole, &QAction::triggered, this, [this] { m_view->fitInView(); });
    QAction* zoom = m_toolBar->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), u"Zoom"_s);
    zoom->setObjectName(u"actZoom"_s);
    zoom->setMenu(zoomMenu);
    m_zoomButton = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(zoom));
    if (m_zoomButton)
        m_zoomButton->setPopupMode(QToolButton::InstantPopup);

    m_fullScreen =
        m_toolBar->addAction(style()->standardIcon(QStyle::SP_TitleBarMaxButton), u"Schermo intero"_s);
    m_fullScreen->setObjectName(u"actSchermoIntero"_s);
    m_fullScreen->setCheckable(true);
    connect(m_fullScreen, &QAction::toggled, this, &ReportPreview::toggleFullScreen);

    QAction* close = m_toolBar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), u"Chiudi"_s);
    close->setObjectName(u"actChiudi"_s);
    connect(close, &QAction::triggered, this, &QDialog::accept);

    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    m_view->setObjectName(u"pvwDocumento"_s);
    // A failure cannot travel through the view's signal: it is kept, and handed to the caller below.
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        try {
            Report::paintReport(*printer, m_report);
        } catch (const Report::ReportError& error) {
            m_failure = error;
        }
    });
    // The view scrolls by moving what it already shows by the distance its scroll bar moved since the
    // last scroll, and draws only the strip that comes into view. QPrintPreviewWidget moves that scroll
    // bar without telling the view whenever the view is resized (the window manager maximising the
    // window, full screen, a restored window), so the next scroll moved the page by a stale distance and
    // showed part of it twice, the photo's top again below itself. Drawn whole at every scroll, the view
    // shows the page as printed.
    if (auto* pageView = m_view->findChild<QGraphicsView*>())
        pageView->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_view, 1);
    setWindowState(Qt::WindowMaximized);

    // The pages are drawn now, before the window can be shown, so that a page that cannot be drawn
    // reaches the caller, who reports it in its own words, instead of an empty preview.
    m_view->updatePreview();
    if (m_failure)
        throw *m_failure;
}

ReportPreview::~ReportPreview() = default;

const QList<int>& ReportPreview::zoomSteps() {
    static const QList<int> steps = {25, 50, 75, 100, 150, 200, 400};
    return steps;
}

void ReportPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_firstShow) {
        m_firstShow = false;
        setZoomPercent(100);
        showTopOfFirstPage();
    }
}

// A new zoom keeps the middle of what was in view, which on opening is the middle of the first page:
// the reader would start at the photo, with the book's name, the title and the date above out of view.
// The view starts where reading starts, at the top left corner of the first page; later resizes (the
// window manager maximising the window) keep that corner in place.
void ReportPreview::showTopOfFirstPage() {
    auto* pageView = m_view->findChild<QGraphicsView*>();
    if (!pageView)
        return;
    pageView->verticalScrollBar()->setValue(pageView->verticalScrollBar()->minimum());
    pageView->horizontalScrollBar()->setValue(pageView->horizontalScrollBar()->minimum());
}

void ReportPreview::setZoomPercent(int percent) {
    m_view->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_view->setZoomFactor(qreal(percent) / 100);
}

void ReportPreview::toggleFullScreen(bool on) {
    if (on)
        setWindowState(windowState() | Qt::WindowFullScreen);
    else
        setWindowState((windowState() & ~Qt::WindowFullScreen) | Qt::WindowMaximized);
}

void ReportPreview::printClicked() {
    try {
        ReportPrinting::print(m_report, this);
    } catch (const Report::ReportError& error) {
        MessageBox(u"Attenzione: la stampa non è andata a buon fine.\r\n\r\n"_s + error.text(),
                   MsgKind::Warning, MsgButtons::Ok);
    }
}
