#include "PhotoFrame.h"

#include "FitRule.h"

#include <QPainter>

PhotoFrame::PhotoFrame(QWidget* parent)
    : QWidget(parent) {
    showPlaceholder();
}

void PhotoFrame::setPhoto(const CardPhoto& photo) {
    m_photo = photo;
    m_placeholder = false;
    update();
}

void PhotoFrame::showPlaceholder() {
    m_photo = CardPhoto::fromImage(PhotoStore::placeholder());
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
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(drawnRect(), m_photo.display());
}
