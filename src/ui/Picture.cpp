#include "ui/Picture.h"

#include "artwork/Artwork.h"

#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

Picture::Picture(QWidget* parent)
    : QWidget(parent) {}

void Picture::setSource(const QString& resource) {
    m_source = resource;
    m_renderer.reset();
    m_drawn = QPixmap();
    update();
}

QSvgRenderer& Picture::renderer() const {
    if (!m_renderer) {
        static QHash<QString, std::weak_ptr<QSvgRenderer>> parsed;
        m_renderer = parsed.value(m_source).lock();
        if (!m_renderer) {
            m_renderer = std::make_shared<QSvgRenderer>(m_source);
            m_renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
            parsed.insert(m_source, m_renderer);
        }
    }
    return *m_renderer;
}

void Picture::setClickable(bool clickable) {
    m_clickable = clickable;
    if (clickable)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void Picture::setKeyboardReachable(bool reachable) {
    setFocusPolicy(reachable ? Qt::TabFocus : Qt::NoFocus);
}

void Picture::click() {
    if (m_clickable && isEnabled())
        Q_EMIT clicked();
}

QImage Picture::toImage() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer().render(&painter, QRectF(image.rect()));
    return image;
}

// The artwork is drawn once for each size and pixel ratio, in device pixels so it stays crisp; every
// later paint only copies it. A drawing the build made at those pixels is taken as it is.
void Picture::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    const QSize needed = size() * ratio;
    if (m_drawn.size() != needed || m_drawn.devicePixelRatio() != ratio) {
        QImage drawing = Artwork::prepared(m_source, needed, Artwork::Background::Transparent);
        if (drawing.isNull()) {
            QSvgRenderer& artwork = renderer();
            if (!artwork.isValid())
                return;
            drawing = Artwork::draw(artwork, needed, Artwork::Background::Transparent);
        }
        m_drawn = QPixmap::fromImage(std::move(drawing));
        m_drawn.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_drawn);
    if (hasFocus()) {
        // The focus frame: the yellow of a field that holds the focus, three pixels just inside the
        // edge, clear on the blue and on the white of every button.
        painter.setPen(QPen(QColor(255, 204, 0), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }
}

void Picture::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (m_clickable && focusPolicy() != Qt::NoFocus && (event->modifiers() & ~Qt::KeypadModifier) == 0 &&
        (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        event->accept();
        click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Picture::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void Picture::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void Picture::mousePressEvent(QMouseEvent* event) {
    if (m_clickable && event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    if (m_clickable && event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        event->accept();
        if (rect().contains(event->position().toPoint()))
            Q_EMIT clicked();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
