// A file replaced whole, seen as a device to write into: for writers that want a QIODevice (a PDF
// writer). Nothing reaches the target until commit(); without it the target stays as it was.
#pragma once

#include "base/ReplaceFile.h"

#include <QIODevice>

#include <memory>

class ReplaceFileDevice final : public QIODevice {
public:
    explicit ReplaceFileDevice(const QString& path);
    ~ReplaceFileDevice() override;

    // Starts the temporary file and opens the device for writing; false when it cannot be made.
    bool start();
    // Makes the content durable and puts it in place of the target; false, with the target as it was,
    // when a write or this step failed.
    bool commit();
    // The system's words for the first failure.
    QString failure() const;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::unique_ptr<ReplaceFile> m_file;
    bool m_failed = false;
};
