#include "base/ReplaceFileDevice.h"

ReplaceFileDevice::ReplaceFileDevice(const QString& path)
    : m_file(fileReplacer().replace(path)) {}

ReplaceFileDevice::~ReplaceFileDevice() {
    if (m_file)
        m_file->cancel();
}

bool ReplaceFileDevice::start() {
    if (!m_file->open())
        return false;
    return open(QIODevice::WriteOnly);
}

bool ReplaceFileDevice::commit() {
    close();
    if (m_failed) {
        m_file->cancel();
        return false;
    }
    if (!m_file->commit()) {
        m_failed = true;
        return false;
    }
    m_file.reset();
    return true;
}

QString ReplaceFileDevice::failure() const {
    return m_file ? m_file->errorString() : QString();
}

qint64 ReplaceFileDevice::readData(char*, qint64) {
    return -1;
}

qint64 ReplaceFileDevice::writeData(const char* data, qint64 size) {
    if (m_failed || !m_file->write(QByteArrayView(data, size))) {
        m_failed = true;
        return -1;
    }
    return size;
}
