#include "editor/windows/ZoomWindow.h"
#include "ui_ZoomWindow.h"

#include "archive/windows/PhotoView.h"
#include "base/ProcessFormats.h"
#include "ui/WindowFrame.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>

ZoomWindow::ZoomWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::ZoomWindow>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    setWindowFlags(Qt::Window);
    WindowFrame::makeMaximisedPicture(this, ui->panContainer, ui->imgFoto);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
    // A click closes the window, a drag moves the photo: both are told apart here, from the press to
    // the release, so the photo's own click is not used.
    ui->panContainer->installEventFilter(this);
    ui->imgFoto->installEventFilter(this);

    // How to switch and move, in the room the photo area leaves under it (shown where it fits).
    m_keys = new QLabel(this);
    m_keys->setObjectName(QStringLiteral("lblComandi"));
    m_keys->setText(QStringLiteral("Barra spaziatrice o rotellina del mouse: foto nelle dimensioni reali o "
                                   "adattata allo schermo.   Trascinare la foto o usare le frecce per "
                                   "spostarla.   Esc: chiudi."));
    m_keys->setAlignment(Qt::AlignCenter);
    m_keys->setStyleSheet(QStringLiteral("color: #173A5C;"));
    m_keys->setAttribute(Qt::WA_TransparentForMouseEvents);
}

ZoomWindow::~ZoomWindow() = default;

void ZoomWindow::setPhoto(const CardPhoto& photo) {
    ui->imgFoto->setPhoto(photo);
    updateCursor();
}

PhotoView* ZoomWindow::photoFrame() const {
    return ui->imgFoto;
}

void ZoomWindow::showActualSize(QPointF at) {
    if (ui->imgFoto->fit() == PhotoView::Fit::ActualSize)
        return;
    // The full picture may still have to be decoded from its file, which takes a moment for a large one.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    (void)ui->imgFoto->photo().full();
    ui->imgFoto->showActualSizeAt(at);
    QGuiApplication::restoreOverrideCursor();
    updateCursor();
}

void ZoomWindow::showFitted() {
    ui->imgFoto->setFit(PhotoView::Fit::Shrink);
    updateCursor();
}

void ZoomWindow::updateCursor() {
    if (m_dragging && ui->imgFoto->canMove())
        ui->imgFoto->setCursor(Qt::ClosedHandCursor);
    else if (ui->imgFoto->canMove())
        ui->imgFoto->setCursor(Qt::OpenHandCursor);
    else
        ui->imgFoto->unsetCursor();
}

void ZoomWindow::keyPressEvent(QKeyEvent* event) {
    const QPointF middle = QRectF(ui->imgFoto->rect()).center();
    const QSizeF step = QSizeF(ui->imgFoto->size()) / 10;
    switch (event->key()) {
    case Qt::Key_Space:
        if (ui->imgFoto->fit() == PhotoView::Fit::ActualSize)
            showFitted();
        else
            showActualSize(middle);
        return;
    case Qt::Key_1:
        showActualSize(middle);
        return;
    case Qt::Key_0:
        showFitted();
        return;
    // The arrows move the view over the photo, as the scroll bars of a document would.
    case Qt::Key_Left:
        ui->imgFoto->moveBy({step.width(), 0});
        return;
    case Qt::Key_Right:
        ui->imgFoto->moveBy({-step.width(), 0});
        return;
    case Qt::Key_Up:
        ui->imgFoto->moveBy({0, step.height()});
        return;
    case Qt::Key_Down:
        ui->imgFoto->moveBy({0, -step.height()});
        return;
    default:
        QDialog::keyPressEvent(event); // Escape closes
    }
}

// Wheel up: the actual size, around the point under the pointer; wheel down: the whole photo again.
// `at` is the pointer's place on the photo area.
void ZoomWindow::wheelTurned(QWheelEvent* event, QPointF at) {
    const int notches = event->angleDelta().y();
    if (notches > 0)
        showActualSize(at);
    else if (notches < 0)
        showFitted();
    event->accept();
}

void ZoomWindow::wheelEvent(QWheelEvent* event) {
    wheelTurned(event, ui->imgFoto->mapFrom(this, event->position()));
}

void ZoomWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int below = ui->panContainer->geometry().bottom() + 1;
    const int room = height() - below;
    m_keys->setGeometry(0, below, width(), room);
    m_keys->setVisible(room >= m_keys->sizeHint().height());
}

bool ZoomWindow::mouseOnPhoto(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_pressedAt = mouse->globalPosition();
        m_lastAt = mouse->globalPosition();
        m_dragging = false;
        return true;
    case QEvent::MouseMove:
        if (!m_pressedAt || !(mouse->buttons() & Qt::LeftButton))
            return false;
        if (!m_dragging &&
            (mouse->globalPosition() - *m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragging = true;
            updateCursor();
        }
        if (m_dragging) {
            ui->imgFoto->moveBy(mouse->globalPosition() - m_lastAt);
            m_lastAt = mouse->globalPosition();
        }
        return true;
    case QEvent::MouseButtonRelease: {
        if (mouse->button() != Qt::LeftButton || !m_pressedAt)
            return false;
        // A press and release that moved less than a drag is a click, which closes the window.
        const bool click = !m_dragging;
        m_pressedAt.reset();
        m_dragging = false;
        updateCursor();
        if (click)
            accept();
        return true;
    }
    default:
        return false;
    }
}

bool ZoomWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->panContainer || watched == ui->imgFoto) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            return mouseOnPhoto(event);
        case QEvent::MouseButtonDblClick:
            return true; // the second press of a double click is a click of its own
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            wheelTurned(wheel, ui->imgFoto->mapFrom(static_cast<QWidget*>(watched), wheel->position()));
            return true;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
