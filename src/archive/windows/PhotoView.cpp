#include "archive/windows/PhotoView.h"

#include "base/FitRule.h"

#include <QDropEvent>
#include <QImageReader>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

PhotoView::PhotoView(QWidget* parent)
    : QWidget(parent) {
    showPlaceholder();
}

void PhotoView::setFit(Fit fit) {
    if (fit == Fit::ActualSize && m_fit != Fit::ActualSize)
        m_origin = centred();
    m_fit = fit;
    m_drawn = QImage();
    update();
}

// Every new picture drops the copies drawn for the previous one, even at the same size; at actual size
// a new photo starts centred.
void PhotoView::shown(Shows shows) {
    m_shows = shows;
    m_drawn = QImage();
    m_actual = QImage();
    m_origin = centred();
    update();
}

QPoint PhotoView::centred() const {
    const QSize room = decodeSize() - pictureSize();
    return {room.width() / 2, room.height() / 2};
}

void PhotoView::showActualSizeAt(QPointF at) {
    if (m_fit == Fit::ActualSize || showsArtwork())
        return;
    const QRect drawn = drawnRect();
    const QSize full = pictureSize();
    if (drawn.isEmpty() || full.isEmpty()) {
        setFit(Fit::ActualSize);
        return;
    }
    // The point of the photo drawn at `at`, in the photo's own pixels.
    const qreal x = std::clamp<qreal>(at.x(), drawn.left(), drawn.left() + drawn.width());
    const qreal y = std::clamp<qreal>(at.y(), drawn.top(), drawn.top() + drawn.height());
    const QPointF inPhoto((x - drawn.left()) * full.width() / drawn.width(),
                          (y - drawn.top()) * full.height() / drawn.height());
    const qreal ratio = devicePixelRatioF();
    m_fit = Fit::ActualSize;
    m_drawn = QImage();
    m_origin = keptInside(QPoint(qRound(at.x() * ratio - inPhoto.x()), qRound(at.y() * ratio - inPhoto.y())));
    update();
}

void PhotoView::moveBy(QPointF distance) {
    if (m_fit != Fit::ActualSize)
        return;
    const qreal ratio = devicePixelRatioF();
    m_origin =
        keptInside(keptInside(m_origin) + QPoint(qRound(distance.x() * ratio), qRound(distance.y() * ratio)));
    update();
}

bool PhotoView::canMove() const {
    if (m_fit != Fit::ActualSize)
        return false;
    const QSize area = decodeSize();
    const QSize picture = pictureSize();
    return picture.width() > area.width() || picture.height() > area.height();
}

QPoint PhotoView::keptInside(QPoint origin) const {
    const QSize area = decodeSize();
    const QSize picture = pictureSize();
    const auto axis = [](int at, int length, int room) {
        return length <= room ? (room - length) / 2 : std::clamp(at, room - length, 0);
    };
    return {axis(origin.x(), picture.width(), area.width()),
            axis(origin.y(), picture.height(), area.height())};
}

QRect PhotoView::actualRect() const {
    return QRect(keptInside(m_origin), pictureSize());
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
    switch (m_fit) {
    case Fit::Shrink:
        break;
    case Fit::Fill:
        return FitRule::fill(pictureSize(), size());
    case Fit::ActualSize:
        if (showsArtwork())
            break;
        const QRect device = actualRect();
        const qreal ratio = devicePixelRatioF();
        return QRectF(QPointF(device.topLeft()) / ratio, QSizeF(device.size()) / ratio).toRect();
    }
    return FitRule::fit(pictureSize(), size());
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

// At actual size only the part of the photo inside the area is drawn, pixel for pixel: no scaling, so
// moving a photo of many millions of pixels costs no more than the area it fills.
void PhotoView::paintActualSize(QPainter& painter) {
    if (m_actual.isNull()) {
        m_actual = m_photo.full();
        if (m_actual.isNull())
            m_actual = m_photo.display(); // the file is gone: what was decoded for the frame, enlarged
        else if (m_actual.format() != QImage::Format_RGB32 &&
                 m_actual.format() != QImage::Format_ARGB32_Premultiplied)
            m_actual = m_actual.convertToFormat(
                m_actual.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    }
    const qreal ratio = devicePixelRatioF();
    const QRect photo = actualRect();
    if (m_actual.size() != photo.size()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(QPointF(photo.topLeft()) / ratio, QSizeF(photo.size()) / ratio), m_actual);
        return;
    }
    const QRect visible = photo & QRect(QPoint(0, 0), decodeSize());
    if (visible.isEmpty())
        return;
    painter.drawImage(QRectF(QPointF(visible.topLeft()) / ratio, QSizeF(visible.size()) / ratio), m_actual,
                      QRectF(visible.translated(-photo.topLeft())));
}

void PhotoView::paintEvent(QPaintEvent*) {
    if (m_fit == Fit::ActualSize && !showsArtwork()) {
        QPainter painter(this);
        paintActualSize(painter);
        return;
    }
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

void PhotoView::acceptPictureDrops() {
    setAcceptDrops(true);
}

QString PhotoView::droppedPicture(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    if (!PhotoStore::isRegularFile(path))
        return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.canRead() ? path : QString();
}

void PhotoView::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedPicture(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void PhotoView::dragMoveEvent(QDragMoveEvent* event) {
    if (!droppedPicture(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void PhotoView::dropEvent(QDropEvent* event) {
    const QString path = droppedPicture(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    Q_EMIT pictureDropped(path);
}
