// The photos of the cards next to the one on screen, decoded for the photo frame ahead of time on one
// worker thread, so that moving to the next or previous card shows its photo at once. A prepared copy
// is exactly what PhotoStore::loadCardPhoto gives for the same card and frame; it is used only while
// the photo file is the one it was decoded from (same file, size and modification time), and a few
// copies are kept at most.
#pragma once

#include "archive/core/PhotoStore.h"
#include "base/FileStamp.h"

#include <QList>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <deque>
#include <list>
#include <mutex>
#include <thread>

class PhotoPrefetch {
public:
    // Frame-size copies kept at most: the card on screen, the two next to it and the one just left.
    static constexpr std::size_t kKept = 4;

    PhotoPrefetch();
    // Drops the work not started and waits for the decode under way.
    ~PhotoPrefetch();
    PhotoPrefetch(const PhotoPrefetch&) = delete;
    PhotoPrefetch& operator=(const PhotoPrefetch&) = delete;

    // Decodes the photos of these cards in the background, in this order, for a frame of this size
    // (device pixels). Earlier requests not yet started are dropped.
    void prepare(const QString& bookName, const QList<int>& positions, QSize frame);

    // The card's photo for the frame, as PhotoStore::loadCardPhoto gives it: the prepared copy when its
    // file has not changed since (waiting for it when its decode is under way), else decoded now.
    CardPhoto load(const QString& bookName, int position, QSize frame);

    // Drops the copy of one card (its photo file was just written), or of every card (the book closed).
    void forget(const QString& bookName, int position);
    void clear();

    // True when the card's photo is prepared for that frame and ready to be shown.
    bool isPrepared(const QString& bookName, int position, QSize frame) const;

private:
    struct Request {
        QString path;
        QSize frame;
    };
    struct Entry {
        quint64 id;
        QString path;
        QSize frame;
        FileStamp stamp;
        CardPhoto photo;
        bool ready;
    };

    std::list<Entry>::iterator find(const QString& path, QSize frame);
    std::list<Entry>::iterator findId(quint64 id);
    // Keeps the newest kKept copies; a decode under way is never dropped.
    void trim();
    void work();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;    // a request came, or the worker must stop
    std::condition_variable m_decoded; // a decode finished
    std::deque<Request> m_requests;
    std::list<Entry> m_entries; // newest first
    quint64 m_nextId = 1;
    bool m_stop = false;
    std::thread m_worker;
};
