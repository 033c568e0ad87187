#include "output/windows/SlidePicture.h"

#include "base/FitRule.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

SlidePicture::SlidePicture(QWidget* parent)
    : QWidget(parent) {}

void SlidePicture::showWaiting() {
    m_waiting = true;
    m_photo = CardPhoto();
    m_drawn = QImage();
    update();
}

void SlidePicture::setPhoto(const CardPhoto& photo) {
    if (photo.isNull()) {
        showWaiting();
        return;
    }
    m_waiting = false;
    m_photo = photo;
    m_drawn = QImage();
    update();
}

QSize SlidePicture::decodeSize() const {
    return size() * devicePixelRatioF();
}

QRect SlidePicture::drawnRect() const {
    return FitRule::fill(m_waiting ? kWaitingSize : m_photo.fullSize(), size());
}

void SlidePicture::paintEvent(QPaintEvent*) {
    const QRect drawn = drawnRect();
    if (drawn.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize needed = drawn.size() * ratio;
    // Scaled or rendered once per slide, so repaints cost only a copy.
    if (m_drawn.size() != needed) {
        if (m_waiting) {
            m_drawn = QImage(needed, QImage::Format_ARGB32_Premultiplied);
            m_drawn.fill(Qt::transparent);
            QSvgRenderer renderer(waitingResource());
            QPainter painter(&m_drawn);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(needed)));
        } else if (m_photo.display().size() == needed) {
            m_drawn = m_photo.display();
        } else {
            m_drawn = m_photo.display().scaled(needed, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        m_drawn.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawImage(drawn.topLeft(), m_drawn);
}

void SlidePicture::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
