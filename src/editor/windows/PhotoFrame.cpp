#include "editor/windows/PhotoFrame.h"

#include "base/FitRule.h"

#include <QMouseEvent>
#include <QPainter>

PhotoFrame::PhotoFrame(QWidget* parent)
    : QWidget(parent) {
    showPlaceholder();
}

void PhotoFrame::setPhoto(const CardPhoto& photo) {
    m_photo = photo;
    m_scaled = QImage(); // the copy scaled for the drawn size belongs to the previous picture
    m_placeholder = false;
    update();
}

void PhotoFrame::showPlaceholder() {
    m_photo = CardPhoto::fromImage(PhotoStore::placeholder());
    m_scaled = QImage();
    m_placeholder = true;
    update();
}

QSize PhotoFrame::decodeSize() const {
    return size() * devicePixelRatioF();
}

QRect PhotoFrame::drawnRect() const {
    return FitRule::fit(m_photo.fullSize(), size());
}

void PhotoFrame::paintEvent(QPaintEvent*) {
    if (m_photo.isNull())
        return;
    const QRect drawn = drawnRect();
    const QSize needed = drawn.size() * devicePixelRatioF();
    const QImage* picture = &m_photo.display();
    if (picture->size() != needed) {
        // Scaled once, from the display version when it is large enough, else from the full picture.
        if (m_scaled.size() != needed) {
            const bool displayLargeEnough =
                picture->width() >= needed.width() && picture->height() >= needed.height();
            const QImage full = displayLargeEnough ? QImage() : m_photo.full();
            const QImage& source = full.isNull() ? *picture : full;
            m_scaled = source.scaled(needed, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        picture = &m_scaled;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(drawn, *picture);
}

void PhotoFrame::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
