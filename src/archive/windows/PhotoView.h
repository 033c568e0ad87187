// The one widget that shows a photo: the editor's frame, the zoom window and the slide show. It holds
// the picture at full size and draws it centred, either shrunk to fit and never enlarged (the frame and
// the zoom) or as large as the area allows (the slide show), proportions kept. In place of a photo it
// shows the card's placeholder picture or a piece of artwork drawn crisp at any size. A left click on it
// is reported.
#pragma once

#include "archive/core/PhotoStore.h"

#include <QImage>
#include <QWidget>

class PhotoView final : public QWidget {
    Q_OBJECT

public:
    enum class Fit {
        Shrink, // shrunk to fit, never enlarged
        Fill,   // shrunk or enlarged to the largest size that fits
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

    // The area's size in device pixels: the size a photo is decoded at for it.
    QSize decodeSize() const;
    // Where the picture is drawn inside the area.
    QRect drawnRect() const;

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Shows { Photo, Placeholder, Artwork };

    void shown(Shows shows);
    QSize pictureSize() const;
    // The picture at the given size in device pixels.
    QImage drawnPicture(QSize needed) const;

    Fit m_fit = Fit::Shrink;
    Shows m_shows = Shows::Placeholder;
    CardPhoto m_photo;
    QString m_artwork;
    QSize m_artworkSize;
    QImage m_drawn; // the picture at the size it is drawn, made once per picture and size
};
