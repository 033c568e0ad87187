// A photo frame: holds a picture at full size and draws it shrunk to fit, centred, never enlarged.
// The editor's frame holds the card's photo; the zoom window's frame shows it as large as the screen.
#pragma once

#include "archive/core/PhotoStore.h"

#include <QWidget>

class PhotoFrame final : public QWidget {
    Q_OBJECT

public:
    explicit PhotoFrame(QWidget* parent = nullptr);

    void setPhoto(const CardPhoto& photo);
    // Puts the placeholder picture in the frame.
    void showPlaceholder();
    bool showsPlaceholder() const { return m_placeholder; }
    const CardPhoto& photo() const { return m_photo; }
    // The frame's size in device pixels: the size a photo is decoded at for it.
    QSize decodeSize() const;
    // Where the picture is drawn inside the frame.
    QRect drawnRect() const;

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CardPhoto m_photo;
    bool m_placeholder = false;
    QImage m_scaled; // the picture scaled to the drawn size, when its display version does not fit
};
