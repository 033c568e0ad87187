// The slide show's picture: the current photo, or the waiting picture, drawn as large as the area
// allows (shrunk or enlarged, proportions kept) and centred. A click on it ends the show.
#pragma once

#include "archive/core/PhotoStore.h"

#include <QImage>
#include <QWidget>

class SlidePicture final : public QWidget {
    Q_OBJECT

public:
    // The waiting picture's own size: a photographer aiming a camera, above "Avvio Slide Show".
    static constexpr QSize kWaitingSize{689, 529};
    static QString waitingResource() { return QStringLiteral(":/slideshow/waiting.svg"); }

    explicit SlidePicture(QWidget* parent = nullptr);

    void showWaiting();
    void setPhoto(const CardPhoto& photo);
    bool showsWaiting() const { return m_waiting; }
    const CardPhoto& photo() const { return m_photo; }
    // The area's size in device pixels: the size photos are decoded at for it.
    QSize decodeSize() const;
    // Where the picture is drawn inside the area.
    QRect drawnRect() const;

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_waiting = true;
    CardPhoto m_photo;
    QImage m_drawn; // the picture at the size it is drawn, made once per picture and size
};
