// The one widget that shows a photo: the editor's frame, the zoom window and the slide show. It holds
// the picture at full size and draws it centred, either shrunk to fit and never enlarged (the frame and
// the zoom) or as large as the area allows (the slide show), proportions kept; the zoom may also show it
// at its actual size, one pixel of the photo on one pixel of the screen, and move it about. In place of
// a photo it shows the card's placeholder picture or a piece of artwork drawn crisp at any size. A left
// click on it is reported, and so is a picture file dropped on it where drops are taken.
#pragma once

#include "archive/core/PhotoStore.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

class QMimeData;
class QPainter;

class PhotoView final : public QWidget {
    Q_OBJECT

public:
    enum class Fit {
        Shrink, // shrunk to fit, never enlarged
        Fill,   // shrunk or enlarged to the largest size that fits
        // Each pixel of the photo on one pixel of the screen (a device pixel, so on a screen scaled to
        // 200 % the photo looks half as large as its pixel count in layout units): what a photographer
        // checks sharpness at. Centred where it is smaller than the area; elsewhere the area shows a
        // part of it, which moveBy() changes.
        ActualSize,
    };

    // Starts with the placeholder picture, shrunk to fit.
    explicit PhotoView(QWidget* parent = nullptr);

    void setFit(Fit fit);
    Fit fit() const { return m_fit; }

    // A photo to show; a null photo shows the artwork instead.
    void setPhoto(const CardPhoto& photo);
    const CardPhoto& photo() const { return m_photo; }

    // The card's placeholder picture, held as the photo: it is what a card without a photo prints.
    void showPlaceholder();
    bool showsPlaceholder() const { return m_shows == Shows::Placeholder; }

    // The artwork shown in place of a photo: an SVG resource and its own size, which sets its shape.
    void setArtwork(const QString& resource, QSize ownSize);
    void showArtwork();
    bool showsArtwork() const { return m_shows == Shows::Artwork; }

    // Shows the photo at its actual size with the point of the photo now drawn at `at` (a point of the
    // area; the nearest point of the photo when `at` lies beside it) left under `at`, as far as the
    // photo's edges allow. Already at actual size, the photo stays where it is.
    void showActualSizeAt(QPointF at);
    // At actual size, moves the photo by the distance (layout units), never so far that the area shows
    // room beside a photo larger than it; anything else stays.
    void moveBy(QPointF distance);
    // True when the photo is at actual size and larger than the area: there is more of it to see.
    bool canMove() const;

    // The area's size in device pixels: the size a photo is decoded at for it.
    QSize decodeSize() const;
    // Where the picture is drawn inside the area (at actual size, the whole photo, most of it outside).
    QRect drawnRect() const;

    // Takes one picture file dragged onto the area (a file of the computer that the program reads as a
    // picture) and reports its drop; anything else is refused as it is dragged over, so the photo shown
    // stays.
    void acceptPictureDrops();
    // The picture file that the dragged data holds, or none.
    static QString droppedPicture(const QMimeData* data);

Q_SIGNALS:
    void clicked();
    void pictureDropped(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Shows { Photo, Placeholder, Artwork };

    void shown(Shows shows);
    QSize pictureSize() const;
    // The picture at the given size in device pixels.
    QImage drawnPicture(QSize needed) const;
    // At actual size: the photo's rectangle in device pixels, from the area's top-left corner.
    QRect actualRect() const;
    // The photo's top-left corner moved so that the photo covers the area where it is large enough and
    // is centred where it is not.
    QPoint keptInside(QPoint origin) const;
    QPoint centred() const;
    void paintActualSize(QPainter& painter);

    Fit m_fit = Fit::Shrink;
    Shows m_shows = Shows::Placeholder;
    CardPhoto m_photo;
    QString m_artwork;
    QSize m_artworkSize;
    QImage m_drawn;  // the picture at the size it is drawn, made once per picture and size
    QPoint m_origin; // at actual size: the photo's top-left corner, device pixels from the area's
    QImage m_actual; // at actual size: the full picture in a format drawn without conversion
};
