// What identifies a file's content without reading it: whether it exists, its size, its modification
// time and which file it is on its device. A file replaced whole (written beside and renamed over) is
// another file, so its stamp differs even when size and time happen to match.
#pragma once

#include <QString>
#include <QtGlobal>

struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;

    bool operator==(const FileStamp&) const = default;

    // The stamp of the file a path leads to, through links; a stamp that says "missing" when there is
    // none or it cannot be looked at.
    static FileStamp of(const QString& path);
};
