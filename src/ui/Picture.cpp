#include "Picture.h"

#include <QMouseEvent>
#include <QPainter>

Picture::Picture(QWidget* parent)
    : QWidget(parent) {}

void Picture::setSource(const QString& resource) {
    m_source = resource;
    m_renderer.load(resource);
    m_renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    update();
}

void Picture::setClickable(bool clickable) {
    m_clickable = clickable;
    if (clickable)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

QImage Picture::toImage() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer.render(&painter, QRectF(image.rect()));
    return image;
}

void Picture::paintEvent(QPaintEvent*) {
    if (!m_renderer.isValid())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer.render(&painter, QRectF(rect()));
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
