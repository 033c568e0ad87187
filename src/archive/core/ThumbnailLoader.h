// The thumbnails of a book's cards for a grid of the whole book: each photo decoded at thumbnail size
// (the JPEG library's scaled decode, never the full picture) on worker threads, one per core, never on
// the thread that asks. Only the cards on screen are decoded, the latest asked first; a request for a
// card scrolled away before its turn is dropped. At most `capacity` thumbnails are kept, the ones used
// least recently going first; the grid sets it to what a few screens show. A thumbnail is shown only while
// its photo file is the one it was decoded from (same file, size and modification time), the same check as
// the editor's photos ahead.
#pragma once

#include "base/FileStamp.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <deque>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

class ThumbnailLoader final : public QObject {
    Q_OBJECT

public:
    explicit ThumbnailLoader(int capacity, QObject* parent = nullptr);
    // Drops the work not started and waits for the decodes under way.
    ~ThumbnailLoader() override;

    // The book whose cards are shown, and the box a thumbnail fits in (device pixels); a change of
    // either drops every thumbnail kept.
    void setBook(const QString& bookName);
    void setBox(QSize box);
    QSize box() const { return m_box; }

    struct Thumbnail {
        enum State {
            Pending, // being decoded, or waiting its turn
            Photo,   // the picture, at most the box's size
            NoPhoto, // the card has no photo file, one that is no picture, or the placeholder picture
        } state = Pending;
        QImage picture;
    };
    // The card's thumbnail when decoded and its file unchanged since; otherwise its decode is asked for
    // (ahead of the earlier requests) and Pending is returned. ready() follows when it is done.
    Thumbnail thumbnail(int position);

    // The cards on screen: a request for any other card is dropped before its turn.
    void setWanted(int first, int last);
    // Looks again at the photo files of these cards: a thumbnail whose file changed is decoded anew.
    // Returns how many were changed.
    int recheck(int first, int last);

    // Drops every thumbnail kept (the book changed on disk in ways not known).
    void clear();

    // How many thumbnails are kept now, and at most.
    int kept() const;
    int capacity() const { return m_capacity; }
    void setCapacity(int capacity);

Q_SIGNALS:
    // The thumbnail of that card is ready (or known to be none).
    void ready(int position);

private:
    struct Entry {
        int position;
        FileStamp stamp;
        Thumbnail thumbnail;
    };
    struct Done {
        quint64 generation;
        int position;
        FileStamp stamp;
        Thumbnail thumbnail;
    };

    void work();
    void deliver();
    void keep(Entry entry);

    QString m_bookName;
    QSize m_box;
    int m_capacity;

    // Used on the owner's thread only.
    std::list<Entry> m_entries; // most recently used first
    QHash<int, std::list<Entry>::iterator> m_index;

    // Shared with the workers.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<int> m_requests; // the next to decode at the front
    QHash<int, bool> m_asked;   // requested and not yet delivered
    std::vector<Done> m_done;
    int m_wantedFirst = 0;
    int m_wantedLast = -1;
    quint64 m_generation = 1; // a change of book or box makes earlier work void
    QString m_workBook;
    QSize m_workBox;
    bool m_stop = false;
    bool m_deliveryQueued = false;
    std::vector<std::thread> m_workers;
};
