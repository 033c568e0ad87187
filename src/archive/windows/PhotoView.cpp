#include "archive/windows/PhotoView.h"

#include "base/FitRule.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

PhotoView::PhotoView(QWidget* parent)
    : QWidget(parent) {
    showPlaceholder();
}

void PhotoView::setFit(Fit fit) {
    m_fit = fit;
    m_drawn = QImage();
    update();
}

// Every new picture drops the copy drawn for the previous one, even at the same size.
void PhotoView::shown(Shows shows) {
    m_shows = shows;
    m_drawn = QImage();
    update();
}

void PhotoView::setPhoto(const CardPhoto& photo) {
    if (photo.isNull()) {
        showArtwork();
        return;
    }
    m_photo = photo;
    shown(Shows::Photo);
}

void PhotoView::showPlaceholder() {
    m_photo = CardPhoto::fromImage(PhotoStore::placeholder());
    shown(Shows::Placeholder);
}

void PhotoView::setArtwork(const QString& resource, QSize ownSize) {
    m_artwork = resource;
    m_artworkSize = ownSize;
    if (showsArtwork())
        shown(Shows::Artwork);
}

void PhotoView::showArtwork() {
    m_photo = CardPhoto();
    shown(Shows::Artwork);
}

QSize PhotoView::decodeSize() const {
    return size() * devicePixelRatioF();
}

QSize PhotoView::pictureSize() const {
    return showsArtwork() ? m_artworkSize : m_photo.fullSize();
}

QRect PhotoView::drawnRect() const {
    return m_fit == Fit::Shrink ? FitRule::fit(pictureSize(), size()) : FitRule::fill(pictureSize(), size());
}

QImage PhotoView::drawnPicture(QSize needed) const {
    if (showsArtwork()) {
        QImage drawn(needed, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QSvgRenderer renderer(m_artwork);
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(needed)));
        return drawn;
    }
    const QImage& display = m_photo.display();
    if (display.size() == needed)
        return display;
    // The display version was decoded for the area; when the area has grown past it and it is smaller
    // than the photo itself, the full picture is scaled instead.
    const QSize full = m_photo.fullSize();
    const bool displayLargeEnough = display.width() >= std::min(needed.width(), full.width()) &&
                                    display.height() >= std::min(needed.height(), full.height());
    const QImage fullPicture = displayLargeEnough ? QImage() : m_photo.full();
    const QImage& source = fullPicture.isNull() ? display : fullPicture;
    return source.scaled(needed, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void PhotoView::paintEvent(QPaintEvent*) {
    const QRect drawn = drawnRect();
    if (drawn.isEmpty())
        return;
    // Scaled or rendered once per picture and size, so a repaint costs only a copy.
    const QSize needed = drawn.size() * devicePixelRatioF();
    if (m_drawn.size() != needed)
        m_drawn = drawnPicture(needed);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(drawn), m_drawn);
}

void PhotoView::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
