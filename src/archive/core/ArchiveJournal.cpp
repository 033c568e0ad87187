#include "archive/core/ArchiveJournal.h"

#include "archive/core/TScheda.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <limits>

namespace ArchiveJournal {

namespace {

// The journal, integers little-endian:
//   0       8 bytes   "LMVJRNL2"
//   8       8 bytes   archive offset of the saved bytes, a multiple of the block
//   16      8 bytes   n, the number of saved bytes
//   24      n bytes   the archive's bytes as they were before the overwrite
//   24 + n  n bytes   the same bytes as the overwrite leaves them
//   24 + 2n 32 bytes  SHA-256 of everything before it
// An earlier version wrote "LMVJRNL1" without the second copy of the bytes.
constexpr char kMagic[8] = {'L', 'M', 'V', 'J', 'R', 'N', 'L', '2'};
constexpr char kMagicOld[8] = {'L', 'M', 'V', 'J', 'R', 'N', 'L', '1'};
constexpr qint64 kHeader = 24;
constexpr qint64 kDigest = 32;
constexpr qint64 kRecordSize = TScheda::kSize;

void appendNumber(QByteArray& content, quint64 value) {
    char number[8];
    qToLittleEndian<quint64>(value, number);
    content.append(number, sizeof number);
}

// An earlier version's journal says only what the bytes were. Its overwrite changed the bytes of one
// card, so every byte that differs from them lies within one record.
Verdict judgeWithoutAfter(const Entry& entry, const QByteArray& current) {
    qint64 first = -1;
    qint64 last = -1;
    for (qsizetype i = 0; i < current.size(); ++i) {
        if (current.at(i) != entry.before.at(i)) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return Verdict::Untouched;
    const qint64 firstRecord = (entry.offset + first) / kRecordSize;
    const qint64 lastRecord = (entry.offset + last) / kRecordSize;
    return firstRecord == lastRecord ? Verdict::RollBack : Verdict::Foreign;
}

} // namespace

qint64 maxFileSize() {
    return kHeader + 2 * kMaxSaved + kDigest;
}

QByteArray encode(qint64 offset, const QByteArray& before, const QByteArray& after) {
    Q_ASSERT(before.size() == after.size());
    QByteArray content;
    content.reserve(qsizetype(kHeader + 2 * before.size() + kDigest));
    content.append(kMagic, sizeof kMagic);
    appendNumber(content, quint64(offset));
    appendNumber(content, quint64(before.size()));
    content += before;
    content += after;
    content += QCryptographicHash::hash(content, QCryptographicHash::Sha256);
    return content;
}

std::optional<Entry> decode(const QByteArray& file) {
    if (file.size() < kHeader + kDigest)
        return std::nullopt;
    const bool current = file.startsWith(QByteArrayView(kMagic, sizeof kMagic));
    const bool older = file.startsWith(QByteArrayView(kMagicOld, sizeof kMagicOld));
    if (!current && !older)
        return std::nullopt;
    const auto offset = qFromLittleEndian<quint64>(file.constData() + 8);
    const auto length = qFromLittleEndian<quint64>(file.constData() + 16);
    const quint64 copies = current ? 2 : 1;
    if (length == 0 || length > quint64(kMaxSaved) ||
        copies * length != quint64(file.size() - kHeader - kDigest))
        return std::nullopt;
    if (offset % kBlock != 0 || offset > quint64(std::numeric_limits<qint64>::max() / 2))
        return std::nullopt;
    const QByteArray body = file.first(file.size() - kDigest);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != file.last(kDigest))
        return std::nullopt;
    Entry entry;
    entry.offset = qint64(offset);
    entry.before = file.mid(kHeader, qsizetype(length));
    if (current)
        entry.after = file.mid(kHeader + qsizetype(length), qsizetype(length));
    return entry;
}

Verdict judge(const Entry& entry, const QByteArray& current) {
    // The archive never shrinks under an overwrite: a file shorter than the saved bytes is another one.
    if (current.size() != entry.before.size())
        return Verdict::Foreign;
    if (current == entry.before)
        return Verdict::Untouched;
    if (entry.after.isEmpty())
        return judgeWithoutAfter(entry, current);
    // An interrupted write leaves, at every place, the byte that was there or the one it was writing;
    // a disk may also have written some of its sectors and not others. Any other byte was put there
    // by something else.
    for (qsizetype i = 0; i < current.size(); ++i) {
        const char now = current.at(i);
        if (now != entry.before.at(i) && now != entry.after.at(i))
            return Verdict::Foreign;
    }
    return Verdict::RollBack;
}

int positionOf(const Entry& entry) {
    for (qsizetype i = 0; i < entry.after.size(); ++i) {
        if (entry.after.at(i) != entry.before.at(i))
            return int((entry.offset + i) / kRecordSize + 1);
    }
    return 0;
}

} // namespace ArchiveJournal
