#include "archive/core/PhotoPrefetch.h"

#include <algorithm>

PhotoPrefetch::PhotoPrefetch()
    : m_worker([this] { work(); }) {}

PhotoPrefetch::~PhotoPrefetch() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_requests.clear();
    }
    m_wake.notify_all();
    m_worker.join();
}

std::list<PhotoPrefetch::Entry>::iterator PhotoPrefetch::find(const QString& path, QSize frame) {
    return std::find_if(m_entries.begin(), m_entries.end(),
                        [&](const Entry& entry) { return entry.path == path && entry.frame == frame; });
}

std::list<PhotoPrefetch::Entry>::iterator PhotoPrefetch::findId(quint64 id) {
    return std::find_if(m_entries.begin(), m_entries.end(),
                        [id](const Entry& entry) { return entry.id == id; });
}

void PhotoPrefetch::trim() {
    std::size_t kept = 0;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (!it->ready || ++kept <= kKept)
            ++it;
        else
            it = m_entries.erase(it);
    }
}

void PhotoPrefetch::prepare(const QString& bookName, const QList<int>& positions, QSize frame) {
    {
        std::lock_guard lock(m_mutex);
        m_requests.clear();
        for (int position : positions) {
            if (position >= 1)
                m_requests.push_back({PhotoStore::photoPath(bookName, position), frame});
        }
    }
    m_wake.notify_all();
}

CardPhoto PhotoPrefetch::load(const QString& bookName, int position, QSize frame) {
    // Showing a card makes the photo folder again if it went missing, prepared copy or not.
    if (!PhotoStore::ensureFolder())
        return {};
    const QString path = PhotoStore::photoPath(bookName, position);
    {
        std::unique_lock lock(m_mutex);
        auto entry = find(path, frame);
        if (entry != m_entries.end() && !entry->ready) {
            const quint64 id = entry->id;
            m_decoded.wait(lock, [&] {
                auto it = findId(id);
                return it == m_entries.end() || it->ready;
            });
            entry = findId(id);
        }
        if (entry != m_entries.end()) {
            if (entry->stamp == FileStamp::of(path)) {
                m_entries.splice(m_entries.begin(), m_entries, entry); // the newest again
                return entry->photo.withoutDecodedFull();
            }
            m_entries.erase(entry);
        }
    }
    // Decoded here; the stamp is taken first, so a file replaced during the decode is never taken for
    // the one decoded.
    const FileStamp stamp = FileStamp::of(path);
    const CardPhoto photo = PhotoStore::loadCardPhoto(bookName, position, frame);
    std::lock_guard lock(m_mutex);
    // A decode of the same file the worker began meanwhile is left to finish; it is as fresh.
    const auto older = find(path, frame);
    if (older == m_entries.end() || older->ready) {
        if (older != m_entries.end())
            m_entries.erase(older);
        m_entries.push_front({m_nextId++, path, frame, stamp, photo.withoutDecodedFull(), true});
        trim();
    }
    return photo;
}

void PhotoPrefetch::forget(const QString& bookName, int position) {
    const QString path = PhotoStore::photoPath(bookName, position);
    std::lock_guard lock(m_mutex);
    std::erase_if(m_requests, [&](const Request& request) { return request.path == path; });
    std::erase_if(m_entries, [&](const Entry& entry) { return entry.path == path; });
    m_decoded.notify_all();
}

void PhotoPrefetch::clear() {
    std::lock_guard lock(m_mutex);
    m_requests.clear();
    m_entries.clear();
    m_decoded.notify_all();
}

bool PhotoPrefetch::isPrepared(const QString& bookName, int position, QSize frame) const {
    const QString path = PhotoStore::photoPath(bookName, position);
    std::lock_guard lock(m_mutex);
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
        return entry.path == path && entry.frame == frame && entry.ready;
    });
}

void PhotoPrefetch::work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_requests.empty(); });
        if (m_stop)
            return;
        const Request request = m_requests.front();
        m_requests.pop_front();
        if (find(request.path, request.frame) != m_entries.end())
            continue; // prepared already, or shown
        const quint64 id = m_nextId++;
        m_entries.push_front({id, request.path, request.frame, FileStamp::of(request.path), {}, false});
        lock.unlock();
        // The same decode as PhotoStore::loadCardPhoto, for a photo folder that exists.
        const CardPhoto photo = CardPhoto::fromFile(request.path, request.frame);
        lock.lock();
        auto entry = findId(id);
        if (entry != m_entries.end()) {
            entry->photo = photo;
            entry->ready = true;
            trim();
        }
        m_decoded.notify_all();
    }
}
