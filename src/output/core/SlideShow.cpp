#include "output/core/SlideShow.h"

#include "archive/core/BookArchive.h"

#include <QScopedValueRollback>

SlideShow::SlideShow(QObject* parent)
    : QObject(parent) {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &SlideShow::step);
}

void SlideShow::setBook(const QString& bookName, const QString& archivePath) {
    m_bookName = bookName;
    m_archivePath = archivePath;
}

void SlideShow::start() {
    Q_EMIT waitingPicture();
    m_timer.start();
}

void SlideShow::step() {
    if (m_stepping)
        return;
    const QScopedValueRollback guard(m_stepping, true);
    runStep();
}

void SlideShow::runStep() {
    int count = 0;
    try {
        BookArchive archive;
        archive.open(m_archivePath);
        count = archive.count();
        archive.close();
    } catch (const ArchiveError&) {
        // The archive was closed when it went out of scope; the next tick tries again.
        Q_EMIT archiveFailed();
        return;
    }

    const int shown = m_position.value_or(0);
    if (count == 0) {
        m_position.reset();
        m_timer.stop();
        Q_EMIT bookEmpty();
        return;
    }
    if (shown >= count) {
        // The last card stays up for one more tick while the cycle starts over.
        m_position = 0;
        return;
    }
    m_position = shown + 1;
    // JPEG sides stop at 65535, so that area holds any photo at its own size.
    const QSize area = m_pictureSize.isEmpty() ? QSize(65535, 65535) : m_pictureSize;
    const CardPhoto picture = PhotoStore::loadCardPhoto(m_bookName, *m_position, area);
    if (picture.isNull())
        Q_EMIT waitingPicture();
    else
        Q_EMIT photo(picture, *m_position);
}
