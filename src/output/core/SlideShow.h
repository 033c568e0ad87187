// The slide show's step: which of the book's photos to show at each tick. A plain object that owns the
// six-second timer and says what the window must show; the window only follows.
//
// The counter is the position of the card last shown, 0 before the first card of each cycle. At each
// tick the archive is opened and counted afresh, so cards saved meanwhile join the show; a book of N
// cards thus shows cards 1 to N and then keeps the last photo for one more tick while the counter
// returns to 0.
#pragma once

#include "archive/core/PhotoStore.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <optional>

class SlideShow final : public QObject {
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 6000;

    explicit SlideShow(QObject* parent = nullptr);

    // The book whose photos are shown and its archive, as the program took them in.
    void setBook(const QString& bookName, const QString& archivePath);
    QString bookName() const { return m_bookName; }
    QString archivePath() const { return m_archivePath; }

    // The size, in device pixels, of the area the photos are shown in: each photo is decoded no
    // larger than it is drawn there. Until it is known, photos are decoded at their own size.
    void setPictureSize(QSize devicePixels) { m_pictureSize = devicePixels; }

    // Puts up the waiting picture and starts the timer; the first card follows one interval later.
    void start();
    void stop() { m_timer.stop(); }
    bool isRunning() const { return m_timer.isActive(); }
    const QTimer& timer() const { return m_timer; }

    // The position of the card last shown; nothing before the first step and after an empty book.
    std::optional<int> position() const { return m_position; }

    // One tick of the show. A tick that falls due while the previous step is still waiting for the
    // user (its message is open) is let go, so messages never pile up.
    void step();

Q_SIGNALS:
    // Show the waiting picture: at the start, and for a card whose photo is missing or unreadable.
    void waitingPicture();
    // Show this photo of the card at `position`.
    void photo(const CardPhoto& photo, int position);
    // The book has no card: the timer is already stopped and the show is over.
    void bookEmpty();
    // The archive could not be opened or counted; the counter is unchanged and the timer goes on.
    void archiveFailed();

private:
    void runStep();

    QTimer m_timer;
    QString m_bookName;
    QString m_archivePath;
    QSize m_pictureSize;
    std::optional<int> m_position;
    bool m_stepping = false;
};
