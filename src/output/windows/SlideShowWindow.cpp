#include "output/windows/SlideShowWindow.h"
#include "ui_SlideShowWindow.h"

#include "archive/windows/ArchiveMessages.h"
#include "archive/windows/PhotoView.h"
#include "base/ProcessFormats.h"
#include "output/core/SlideShow.h"
#include "ui/Messages.h"
#include "ui/WindowFrame.h"

#include <QMouseEvent>

SlideShowWindow::SlideShowWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::SlideShowWindow>())
    , m_show(new SlideShow(this)) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Slide Show Book Fotografico"));
    setWindowFlags(Qt::Window);
    WindowFrame::makeMaximisedPicture(this, ui->panContainer, ui->imgFoto);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
    ui->imgFoto->setCursor(Qt::PointingHandCursor);
    // The photos fill the screen; until the first one, a photographer aiming a camera above
    // "Avvio Slide Show" stands in their place.
    ui->imgFoto->setFit(PhotoView::Fit::Fill);
    ui->imgFoto->setArtwork(QStringLiteral(":/slideshow/waiting.svg"), QSize(689, 529));
    ui->imgFoto->showArtwork();

    connect(ui->imgFoto, &PhotoView::clicked, this, &QDialog::accept);
    ui->panContainer->installEventFilter(this);

    connect(m_show, &SlideShow::waitingPicture, ui->imgFoto, &PhotoView::showArtwork);
    connect(m_show, &SlideShow::photo, ui->imgFoto, &PhotoView::setPhoto);
    connect(m_show, &SlideShow::archiveFailed, this, &showArchiveAccessMessage);
    connect(m_show, &SlideShow::bookEmpty, this, &SlideShowWindow::bookEmpty);
}

SlideShowWindow::~SlideShowWindow() = default;

void SlideShowWindow::setBook(const QString& bookName, const QString& archivePath) {
    m_show->setBook(bookName, archivePath);
}

PhotoView* SlideShowWindow::picture() const {
    return ui->imgFoto;
}

QString SlideShowWindow::emptyBookMessage() {
    return QStringLiteral("L'archivio non contiene nessuna scheda.");
}

void SlideShowWindow::done(int result) {
    m_show->stop();
    QDialog::done(result);
}

// The show starts at the first showing only: restoring a minimised window goes on where it was.
void SlideShowWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    m_show->setPictureSize(ui->imgFoto->decodeSize());
    m_show->start();
}

bool SlideShowWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->panContainer && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SlideShowWindow::bookEmpty() {
    MessageBox(emptyBookMessage(), MsgKind::Information, MsgButtons::OkCancel);
    accept();
}
