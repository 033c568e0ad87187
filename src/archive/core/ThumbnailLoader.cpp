#include "archive/core/ThumbnailLoader.h"

#include "archive/core/PhotoStore.h"

#include <algorithm>

ThumbnailLoader::ThumbnailLoader(int capacity, QObject* parent)
    : QObject(parent)
    , m_capacity(std::max(1, capacity)) {
    PhotoStore::placeholderPhotoFile(); // made here, once, before any worker compares a file with it
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < cores; ++i)
        m_workers.emplace_back([this] { work(); });
}

ThumbnailLoader::~ThumbnailLoader() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        m_requests.clear();
    }
    m_wake.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

void ThumbnailLoader::setBook(const QString& bookName) {
    if (bookName == m_bookName)
        return;
    m_bookName = bookName;
    clear();
}

void ThumbnailLoader::setBox(QSize box) {
    if (box == m_box)
        return;
    m_box = box;
    clear();
}

void ThumbnailLoader::clear() {
    m_entries.clear();
    m_index.clear();
    const std::lock_guard lock(m_mutex);
    ++m_generation;
    m_workBook = m_bookName;
    m_workBox = m_box;
    m_requests.clear();
    m_asked.clear();
}

int ThumbnailLoader::kept() const {
    return int(m_entries.size());
}

ThumbnailLoader::Thumbnail ThumbnailLoader::thumbnail(int position) {
    if (const auto found = m_index.constFind(position); found != m_index.cend()) {
        m_entries.splice(m_entries.begin(), m_entries, *found); // the most recently used
        return m_entries.front().thumbnail;
    }
    {
        const std::lock_guard lock(m_mutex);
        if (!m_asked.contains(position)) {
            m_asked.insert(position, true);
            m_requests.push_front(position);
        } else if (const auto queued = std::find(m_requests.begin(), m_requests.end(), position);
                   queued != m_requests.end() && queued != m_requests.begin()) {
            // Asked again: the card is on screen now, before the ones asked since.
            m_requests.erase(queued);
            m_requests.push_front(position);
        }
    }
    m_wake.notify_one();
    return {};
}

void ThumbnailLoader::setWanted(int first, int last) {
    const std::lock_guard lock(m_mutex);
    m_wantedFirst = first;
    m_wantedLast = last;
    for (auto it = m_requests.begin(); it != m_requests.end();) {
        if (*it < first || *it > last) {
            m_asked.remove(*it);
            it = m_requests.erase(it);
        } else {
            ++it;
        }
    }
}

int ThumbnailLoader::recheck(int first, int last) {
    int changed = 0;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->position < first || it->position > last ||
            FileStamp::of(PhotoStore::photoPath(m_bookName, it->position)) == it->stamp) {
            ++it;
            continue;
        }
        const int position = it->position;
        m_index.remove(position);
        it = m_entries.erase(it);
        ++changed;
        Q_EMIT ready(position); // shown again, and so asked again
    }
    return changed;
}

void ThumbnailLoader::setCapacity(int capacity) {
    m_capacity = std::max(1, capacity);
    while (int(m_entries.size()) > m_capacity) {
        m_index.remove(m_entries.back().position);
        m_entries.pop_back();
    }
}

void ThumbnailLoader::keep(Entry entry) {
    if (const auto found = m_index.constFind(entry.position); found != m_index.cend()) {
        m_entries.erase(*found);
        m_index.remove(entry.position);
    }
    m_entries.push_front(std::move(entry));
    m_index.insert(m_entries.front().position, m_entries.begin());
    while (int(m_entries.size()) > m_capacity) {
        m_index.remove(m_entries.back().position);
        m_entries.pop_back();
    }
}

void ThumbnailLoader::work() {
    for (;;) {
        int position = 0;
        quint64 generation = 0;
        QString book;
        QSize box;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_requests.empty(); });
            if (m_stop)
                return;
            position = m_requests.front();
            m_requests.pop_front();
            if (position < m_wantedFirst || position > m_wantedLast) {
                m_asked.remove(position); // scrolled away before its turn
                continue;
            }
            generation = m_generation;
            book = m_workBook;
            box = m_workBox;
        }
        Done done{generation, position, {}, {}};
        const QString path = PhotoStore::photoPath(book, position);
        done.stamp = FileStamp::of(path);
        done.thumbnail.state = Thumbnail::NoPhoto;
        if (done.stamp.exists && !box.isEmpty() && !PhotoStore::isPlaceholderPhoto(path)) {
            const CardPhoto photo = CardPhoto::fromFile(path, box);
            if (!photo.isNull()) {
                done.thumbnail.state = Thumbnail::Photo;
                done.thumbnail.picture = photo.display();
            }
        }
        const std::lock_guard lock(m_mutex);
        if (m_stop)
            return;
        m_done.push_back(std::move(done));
        if (!m_deliveryQueued) {
            m_deliveryQueued = true;
            QMetaObject::invokeMethod(
                this, [this] { deliver(); }, Qt::QueuedConnection);
        }
    }
}

void ThumbnailLoader::deliver() {
    std::vector<Done> done;
    quint64 generation = 0;
    {
        const std::lock_guard lock(m_mutex);
        done.swap(m_done);
        m_deliveryQueued = false;
        generation = m_generation;
        for (const Done& d : done) {
            if (d.generation == generation)
                m_asked.remove(d.position);
        }
    }
    for (Done& d : done) {
        if (d.generation != generation)
            continue;
        const int position = d.position;
        keep({position, d.stamp, std::move(d.thumbnail)});
        Q_EMIT ready(position);
    }
}
