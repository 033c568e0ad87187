#include "Feeds.h"

#include "access/core/Crypt.h"
#include "access/core/PasswordStore.h"
#include "archive/core/BookArchive.h"
#include "archive/core/BookCheck.h"
#include "archive/core/BookShelf.h"
#include "archive/core/Cp1252.h"
#include "archive/core/PhotoFacts.h"
#include "archive/core/PhotoStore.h"
#include "archive/core/RecordFile.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"
#include "base/ReplaceFile.h"
#include "base/TextRules.h"
#include "cli/CommandLine.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"
#include "output/core/PrintPhoto.h"
#include "report/core/PdfFont.h"
#include "report/core/ReportLayout.h"
#include "report/core/ReportPdf.h"
#include "search/core/CardSearch.h"
#include "search/core/QuickFind.h"
#include "search/core/ResultListModel.h"
#include "search/core/SearchSummary.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QRawFont>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Files kept in memory, so that an input costs no disk I/O: the archive and anything the archive code
// makes beside it.
class MemoryFileSystem final : public FileSystem {
public:
    QHash<QString, QByteArray> files;

    class File final : public RecordFile {
    public:
        explicit File(QByteArray& bytes)
            : m_bytes(bytes) {}
        qint64 size() override { return m_bytes.size(); }
        qint64 readAt(qint64 offset, char* data, qint64 n) override {
            if (offset < 0 || n < 0)
                return -1;
            const qint64 got = std::clamp<qint64>(m_bytes.size() - offset, 0, n);
            std::memcpy(data, m_bytes.constData() + std::min<qint64>(offset, m_bytes.size()), size_t(got));
            return got;
        }
        qint64 writeAt(qint64 offset, const char* data, qint64 n) override {
            if (offset < 0 || n < 0 || offset + n > (qint64(1) << 28))
                return -1;
            if (m_bytes.size() < offset + n)
                m_bytes.resize(offset + n, '\0');
            std::memcpy(m_bytes.data() + offset, data, size_t(n));
            return n;
        }
        bool sync() override { return true; }
        bool close() override { return true; }
        QString errorString() const override { return QStringLiteral("errore simulato"); }

    private:
        QByteArray& m_bytes;
    };

    std::unique_ptr<RecordFile> openReadWrite(const QString& path, OpenError& error) override {
        const auto found = files.find(path);
        if (found == files.end()) {
            error.missing = true;
            error.text = QStringLiteral("file inesistente");
            return nullptr;
        }
        return std::make_unique<File>(*found);
    }
    std::unique_ptr<RecordFile> openReadOnly(const QString& path, OpenError& error) override {
        return openReadWrite(path, error);
    }
    std::unique_ptr<RecordFile> createNew(const QString& path, OpenError& error) override {
        if (files.contains(path)) {
            error.text = QStringLiteral("file esistente");
            return nullptr;
        }
        return std::make_unique<File>(files[path]);
    }
    std::unique_ptr<FileLock> lockExclusive(const QString&, OpenError&) override {
        return std::make_unique<FileLock>();
    }
    bool remove(const QString& path, QString&) override {
        files.remove(path);
        return true;
    }
    bool syncFolder(const QString&, QString&) override { return true; }
};

// Whole files replaced in memory: the export's content is checked without touching the disk.
class MemoryReplacer final : public FileReplacer {
public:
    QHash<QString, QByteArray> files;

    class File final : public ReplaceFile {
    public:
        File(MemoryReplacer& owner, QString path)
            : m_owner(owner)
            , m_path(std::move(path)) {}
        bool open() override { return true; }
        bool write(QByteArrayView data) override {
            m_content.append(data);
            return true;
        }
        bool commit() override {
            m_owner.files[m_path] = m_content;
            return true;
        }
        void cancel() override {}
        QString errorString() const override { return {}; }

    private:
        MemoryReplacer& m_owner;
        QString m_path;
        QByteArray m_content;
    };

    std::unique_ptr<ReplaceFile> replace(const QString& path) override {
        return std::make_unique<File>(*this, path);
    }
};

const QString kArchive = QStringLiteral("/memoria/Fuzz.wmn");

QTemporaryDir* g_folder = nullptr;
MemoryFileSystem* g_files = nullptr;
MemoryReplacer* g_replaced = nullptr;

// Writes the input to a file of the scratch folder; a fresh name each time, so no cache of an earlier
// input (QSettings keeps the files it read) answers for this one.
QString scratchFile(QByteArrayView input, const char* suffix) {
    static quint64 counter = 0;
    const QString path =
        g_folder->filePath(QStringLiteral("in%1%2").arg(++counter % 64).arg(QString::fromLatin1(suffix)));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("scratch file not writable");
    file.write(input.data(), input.size());
    return path;
}

// The memory file system while a feed runs.
struct InMemory {
    InMemory() {
        g_files->files.clear();
        setFileSystem(g_files);
    }
    ~InMemory() { setFileSystem(nullptr); }
};

constexpr qint64 kRecord = qint64(TScheda::kSize);

// The input read from the front: numbers and pieces of it, zeros once it is used up.
class Reader {
public:
    explicit Reader(QByteArrayView input)
        : m_input(input) {}
    quint8 byte() { return m_at < m_input.size() ? quint8(m_input[m_at++]) : 0; }
    quint16 word() {
        const quint16 high = byte();
        return quint16(high << 8 | byte());
    }
    QByteArrayView take(qsizetype n) {
        n = std::clamp<qsizetype>(n, 0, m_input.size() - m_at);
        const QByteArrayView piece = m_input.sliced(m_at, n);
        m_at += n;
        return piece;
    }
    QByteArrayView rest() { return take(m_input.size() - m_at); }

private:
    QByteArrayView m_input;
    qsizetype m_at = 0;
};

QByteArray readWhole(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeWhole(const QString& path, QByteArrayView bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        qFatal("scratch file not writable");
}

// A folder of the scratch folder for one feed, made the first time and emptied for each input.
QString emptyFolder(const QString& name) {
    const QString path = g_folder->filePath(name);
    const QDir folder(path);
    if (!folder.exists() && !QDir().mkpath(path))
        qFatal("scratch folder not writable");
    const auto entries =
        folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const bool gone = entry.isDir() && !entry.isSymLink() ? QDir(entry.filePath()).removeRecursively()
                                                              : QFile::remove(entry.filePath());
        if (!gone)
            qFatal("scratch folder not emptied");
    }
    return path;
}

// Every file and folder under a folder with its size: what a feed that must change nothing compares.
QStringList listing(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        entries << entry.filePath() + u' ' + QString::number(entry.isDir() ? -1 : entry.size());
    }
    entries.sort();
    return entries;
}

// The program folder, and the current folder, moved to a scratch folder while a feed runs.
class ProgramFolderAt {
public:
    explicit ProgramFolderAt(const QString& path) { ProgramFolder::setPath(path); }
    ~ProgramFolderAt() { ProgramFolder::setPath(g_folder->path()); }
    ProgramFolderAt(const ProgramFolderAt&) = delete;
    ProgramFolderAt& operator=(const ProgramFolderAt&) = delete;
};

class CurrentFolderAt {
public:
    explicit CurrentFolderAt(const QString& path)
        : m_previous(QDir::currentPath()) {
        if (!QDir::setCurrent(path))
            qFatal("scratch folder not enterable");
    }
    ~CurrentFolderAt() { QDir::setCurrent(m_previous); }
    CurrentFolderAt(const CurrentFolderAt&) = delete;
    CurrentFolderAt& operator=(const CurrentFolderAt&) = delete;

private:
    QString m_previous;
};

// Bytes that follow the input and a seed throughout, so that two pieces made with two seeds never
// share a record's worth of bytes by chance.
QByteArray madeBytes(QByteArrayView content, int seed, qint64 size) {
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    quint32 state = (2166136261u ^ quint32(seed)) * 16777619u;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        char byte = char(state >> 24);
        if (!content.isEmpty())
            byte = char(byte ^ content[(i + qsizetype(seed) * 131) % content.size()]);
        bytes[i] = byte;
    }
    return bytes;
}

TScheda cardOf(QByteArrayView bytes) {
    TScheda card;
    std::copy_n(bytes.data(), std::min<qsizetype>(bytes.size(), kRecord),
                reinterpret_cast<char*>(card.bytes().data()));
    return card;
}

QByteArray bytesOf(const TScheda& card) {
    return QByteArray(reinterpret_cast<const char*>(card.bytes().data()), qsizetype(kRecord));
}

// A small photo, and a small book of two cards with their texts.
const QByteArray& smallPicture() {
    static const QByteArray bytes = [] {
        QImage image(16, 12, QImage::Format_RGB32);
        image.fill(QColor(200, 120, 40));
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "JPEG"))
            qFatal("no JPEG writer");
        return out;
    }();
    return bytes;
}

const QByteArray& smallBook() {
    static const QByteArray bytes = []() -> QByteArray {
        TScheda first;
        first.setField(TScheda::Titolo, u"Ritratto in controluce"_s);
        first.setField(TScheda::Data, u"01/03/2024"_s);
        first.setField(TScheda::Location, u"Venezia"_s);
        first.setField(TScheda::Note, u"Città & <mare>"_s);
        TScheda second;
        second.setField(TScheda::Titolo, u"Seconda"_s);
        second.setField(TScheda::Data, u"02/03/2024"_s);
        second.setField(TScheda::Location, u"Milano"_s);
        second.setField(TScheda::File01, u"contratto.pdf"_s);
        return bytesOf(first) + bytesOf(second);
    }();
    return bytes;
}

// The disk as a machine that stops at a chosen step leaves it: every change before that step is made,
// a write at that step only in part and any other change there not at all, and every change after it
// is refused, so what the interrupted save still tries meets a dead disk. Reads go on.
class CrashAtStep final : public FileSystem {
public:
    CrashAtStep(int step, qint64 tornBytes)
        : m_step(step)
        , m_torn(tornBytes) {
        setFileSystem(this);
    }
    ~CrashAtStep() override { setFileSystem(nullptr); }
    CrashAtStep(const CrashAtStep&) = delete;
    CrashAtStep& operator=(const CrashAtStep&) = delete;

    std::unique_ptr<RecordFile> openReadWrite(const QString& path, OpenError& error) override {
        std::unique_ptr<RecordFile> real = realFileSystem().openReadWrite(path, error);
        return real ? std::make_unique<File>(std::move(real), *this) : nullptr;
    }
    std::unique_ptr<RecordFile> createNew(const QString& path, OpenError& error) override {
        if (next() != Change::Made) {
            error.text = kStopped;
            return nullptr;
        }
        std::unique_ptr<RecordFile> real = realFileSystem().createNew(path, error);
        return real ? std::make_unique<File>(std::move(real), *this) : nullptr;
    }
    std::unique_ptr<FileLock> lockExclusive(const QString& path, OpenError& error) override {
        return realFileSystem().lockExclusive(path, error);
    }
    bool remove(const QString& path, QString& error) override {
        if (next() != Change::Made) {
            error = kStopped;
            return false;
        }
        return realFileSystem().remove(path, error);
    }
    bool syncFolder(const QString& folder, QString& error) override {
        if (next() != Change::Made) {
            error = kStopped;
            return false;
        }
        return realFileSystem().syncFolder(folder, error);
    }

private:
    enum class Change { Made, Torn, Refused };
    static inline const QString kStopped = u"disco fermo"_s;

    Change next() {
        const int step = m_steps++;
        return step < m_step ? Change::Made : step == m_step ? Change::Torn : Change::Refused;
    }

    class File final : public RecordFile {
    public:
        File(std::unique_ptr<RecordFile> real, CrashAtStep& disk)
            : m_real(std::move(real))
            , m_disk(disk) {}
        qint64 size() override { return m_real->size(); }
        qint64 readAt(qint64 offset, char* data, qint64 n) override {
            return m_real->readAt(offset, data, n);
        }
        qint64 writeAt(qint64 offset, const char* data, qint64 n) override {
            switch (m_disk.next()) {
            case Change::Made:
                return m_real->writeAt(offset, data, n);
            case Change::Torn:
                if (const qint64 part = std::min(n, m_disk.m_torn); part > 0)
                    m_real->writeAt(offset, data, part);
                return -1;
            case Change::Refused:
                break;
            }
            return -1;
        }
        bool sync() override { return m_disk.next() == Change::Made && m_real->sync(); }
        bool truncate(qint64 size) override {
            return m_disk.next() == Change::Made && m_real->truncate(size);
        }
        bool close() override { return m_real->close(); }
        QString errorString() const override {
            return m_disk.m_steps > m_disk.m_step ? kStopped : m_real->errorString();
        }

    private:
        std::unique_ptr<RecordFile> m_real;
        CrashAtStep& m_disk;
    };

    int m_step;
    qint64 m_torn;
    int m_steps = 0;
};

// A file that consists of whole records except for a tail: its cards.
QByteArray recordAt(const QByteArray& file, qint64 index) {
    return file.mid(qsizetype(index * kRecord), qsizetype(kRecord));
}

// True when two files are the same but for one record, which both hold whole.
bool sameButRecord(const QByteArray& a, const QByteArray& b, qint64 index) {
    const qsizetype from = qsizetype(index * kRecord);
    const qsizetype to = from + qsizetype(kRecord);
    return a.size() == b.size() && a.size() >= to && a.first(from) == b.first(from) &&
           a.sliced(to) == b.sliced(to);
}

quint16 bigEndian16(const QByteArray& data, qsizetype at) {
    return at >= 0 && at + 2 <= data.size() ? qFromBigEndian<quint16>(data.constData() + at) : 0;
}

quint32 bigEndian32(const QByteArray& data, qsizetype at) {
    return at >= 0 && at + 4 <= data.size() ? qFromBigEndian<quint32>(data.constData() + at) : 0;
}

// The sum of a font table's big-endian words, its last one padded with zeros.
quint32 tableChecksum(QByteArray data) {
    while (data.size() % 4)
        data.append('\0');
    quint32 sum = 0;
    for (qsizetype i = 0; i < data.size(); i += 4)
        sum += qFromBigEndian<quint32>(data.constData() + i);
    return sum;
}

// A TrueType file as a reader of fonts needs it: the table directory inside the file and in order of
// tag, each table where the directory says with its checksum, and the whole file summing to the
// constant the "head" table's adjustment is there for.
bool wellFormedFont(const QByteArray& file) {
    const int count = bigEndian16(file, 4);
    if (file.size() % 4 || count == 0 || 12 + 16 * qsizetype(count) > file.size())
        return false;
    QByteArray previous;
    bool head = false;
    for (int t = 0; t < count; ++t) {
        const qsizetype entry = 12 + 16 * qsizetype(t);
        const QByteArray tag = file.mid(entry, 4);
        const quint32 offset = bigEndian32(file, entry + 8);
        const quint32 length = bigEndian32(file, entry + 12);
        if (tag <= previous || offset % 4 || qint64(offset) + qint64(length) > file.size())
            return false;
        previous = tag;
        QByteArray data = file.mid(offset, length);
        if (tag == "head") {
            if (data.size() < 54)
                return false;
            qToBigEndian<quint32>(0, data.data() + 8); // the adjustment is not part of the table's own sum
            head = true;
        }
        if (tableChecksum(data) != bigEndian32(file, entry + 4))
            return false;
    }
    return head && tableChecksum(file) == 0xB1B0AFBA;
}

// A bare CFF program as a reader of fonts opens it: version 1 with its header, and one face FreeType
// (under Qt) reads.
bool wellFormedCff(const QByteArray& program) {
    return program.size() > 4 && program[0] == 1 && quint8(program[2]) >= 4 &&
           QRawFont(program, 12).isValid();
}

// A PDF file as a reader walks it: header and end, the cross-reference table where startxref says, each
// of its entries at the start of the object it numbers, and every stream as long as its /Length.
bool wellFormedPdf(const QByteArray& file, int pages) {
    if (!file.startsWith("%PDF-1.4\n") || !file.endsWith("%%EOF\n"))
        return false;
    const qsizetype start = file.lastIndexOf("startxref\n");
    bool ok = false;
    const qsizetype table = file.mid(start + 10).split('\n').first().toLongLong(&ok);
    if (start < 0 || !ok || table <= 0 || table >= start || !file.mid(table).startsWith("xref\n0 "))
        return false;
    const qsizetype countEnd = file.indexOf('\n', table + 7);
    const int count = file.mid(table + 7, countEnd - table - 7).toInt(&ok);
    if (!ok || count < 2 || !file.mid(countEnd + 1).startsWith("0000000000 65535 f \n"))
        return false;
    for (int number = 1; number < count; ++number) {
        const QByteArray entry = file.mid(countEnd + 1 + 20 * qsizetype(number), 20);
        const qsizetype offset = entry.left(10).toLongLong(&ok);
        const QByteArray opening = QByteArray::number(number) + " 0 obj\n";
        if (!ok || !entry.endsWith(" 00000 n \n") || !file.mid(offset).startsWith(opening))
            return false;
        // A stream's dictionary is the object's first line, the data right after the next one.
        const qsizetype body = offset + opening.size();
        const qsizetype lineEnd = file.indexOf('\n', body);
        const QByteArray line = file.mid(body, lineEnd - body);
        if (lineEnd < 0 || !line.endsWith(" >>") || !file.mid(lineEnd + 1).startsWith("stream\n"))
            continue;
        const qsizetype length = line.lastIndexOf("/Length ");
        const qsizetype bytes = line.mid(length + 8, line.size() - 3 - length - 8).toLongLong(&ok);
        if (length < 0 || !ok || !file.mid(lineEnd + 8 + bytes).startsWith("\nendstream\nendobj\n"))
            return false;
    }
    return file.contains(QByteArray("/Size " + QByteArray::number(count) + " /Root ")) &&
           file.contains(QByteArray("/Count " + QByteArray::number(pages) + " >>"));
}

} // namespace

namespace Feeds {

void prepare() {
    if (g_folder)
        return;
    // Damaged pictures make the image decoders warn on every input; only what is fatal is worth a line.
    static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            standard(type, context, text);
    });
    if (!QCoreApplication::instance()) {
        // Fonts for the reports and the command line's PDF files; no display is needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "lumivera_fuzz";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
    // Inputs reach the photo loader and the password store as files: in memory where the system has a
    // memory file system, so that writing them costs no disk I/O.
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    g_folder = memory.isDir() && memory.isWritable()
                   ? new QTemporaryDir(memory.filePath() + QStringLiteral("/lumivera-fuzz-XXXXXX"))
                   : new QTemporaryDir;
    if (!g_folder->isValid())
        qFatal("no scratch folder");
    std::atexit([] { delete g_folder; });
    ProgramFolder::setPath(g_folder->path());
    g_files = new MemoryFileSystem;
    g_replaced = new MemoryReplacer;
}

bool record(QByteArrayView input) {
    TScheda card;
    std::copy_n(input.data(), std::min<qsizetype>(input.size(), qsizetype(TScheda::kSize)),
                reinterpret_cast<char*>(card.bytes().data()));
    for (int f = 0; f < TScheda::kFieldCount; ++f) {
        const TScheda::Field field = TScheda::Field(f);
        const QString text = card.field(field);
        if (text.size() > TScheda::layout(field).capacity)
            return false;
        // Stored again, a text reads back as it was: the codec maps each of its characters one way.
        TScheda copy;
        copy.setField(field, text);
        if (copy.field(field) != text)
            return false;
    }
    return true;
}

bool archive(QByteArrayView input) {
    InMemory memory;
    g_files->files.insert(kArchive, input.toByteArray());
    const int expected = int(input.size() / qsizetype(TScheda::kSize));
    try {
        BookArchive archive;
        archive.open(kArchive);
        const int count = archive.count();
        if (count != expected)
            return false;
        for (int i = 0; i < count; ++i) {
            archive.seek(i);
            const TScheda card = archive.read();
            if (card.field(TScheda::Titolo).size() > TScheda::layout(TScheda::Titolo).capacity)
                return false;
        }
        archive.seek(0);
        std::vector<TScheda> block;
        int read = 0;
        while (const int got = archive.readBlock(block, 7))
            read += got;
        if (read != count)
            return false;
        // An append lands right after the last whole record and leaves the cards before it alone.
        TScheda added;
        added.setField(TScheda::Titolo, QStringLiteral("Aggiunta"));
        archive.seek(count);
        archive.write(added);
        if (archive.count() != count + 1)
            return false;
        archive.close();
        const QByteArray& after = g_files->files[kArchive];
        const qsizetype whole = qsizetype(count) * qsizetype(TScheda::kSize);
        if (QByteArrayView(after).first(whole) != input.first(whole))
            return false;
    } catch (const ArchiveError&) {
        return false; // nothing in memory fails
    }
    return true;
}

bool password(QByteArrayView input) {
    const QString digits = QString::fromLatin1(input.data(), input.size());
    try {
        const QString text = Crypt::decodePassword(digits);
        if (text.size() != digits.size() / 2)
            return false;
        // What decodes is given back by the encoder, in upper case, for as much as the key serves.
        if (text.size() <= PasswordStore::kMaxLength &&
            Crypt::encodePassword(text) != digits.left(2 * text.size()).toUpper())
            return false;
    } catch (const Crypt::ConversionError&) {
    }
    try {
        const QString stored = PasswordStore(scratchFile(input, ".ini")).readPassword();
        // The stored password comes back trimmed.
        if (!stored.isEmpty() && (stored.front().unicode() <= 32 || stored.back().unicode() <= 32))
            return false;
    } catch (const PasswordStoreError&) {
    }
    return true;
}

bool photo(QByteArrayView input, qint64 largestDecoded) {
    const QString path = scratchFile(input, ".jpg");
    const QSize declared = QImageReader(path).size();
    const qint64 pixels = qint64(declared.width()) * declared.height();
    if (pixels > largestDecoded && pixels <= PhotoStore::kMaxPixels)
        return true;
    // The photo as a PDF file prints it: its own bytes, or JPEG data that reads back at the size stated.
    const PrintPhoto::Prepared printed = PrintPhoto::fromBytes(input.toByteArray(), QSize(300, 300));
    if (!printed.jpeg.isNull() && printed.jpeg.data != input) {
        if (QImage::fromData(printed.jpeg.data, "jpeg").size() != printed.jpeg.size)
            return false;
    }
    const CardPhoto photo = CardPhoto::fromFile(path, PhotoStore::kPlaceholderSize);
    if (photo.isNull())
        return true;
    const QSize full = photo.fullSize();
    if (qint64(full.width()) * full.height() > PhotoStore::kMaxPixels)
        return false;
    // The frame's copy is a real picture that fits the frame.
    const QImage& display = photo.display();
    return !display.isNull() && display.width() <= PhotoStore::kPlaceholderSize.width() &&
           display.height() <= PhotoStore::kPlaceholderSize.height();
}

bool facts(QByteArrayView input) {
    ProcessFormats::apply(); // the date format the editor writes in
    const PhotoFacts::Facts facts = PhotoFacts::readBytes(input);
    if (PhotoFacts::readFile(scratchFile(input, ".jpg")) != facts)
        return false;
    if (facts.orientation && (*facts.orientation < 1 || *facts.orientation > 8))
        return false;

    PhotoFacts::CardTexts blank;
    PhotoFacts::CardTexts typed;
    for (int f = 0; f < 12; f += 2)
        typed[f] = QStringLiteral("scritto %1").arg(f);
    for (PhotoFacts::CardTexts* card : {&blank, &typed}) {
        const PhotoFacts::CardTexts before = *card;
        const QList<TScheda::Field> filled = PhotoFacts::fillCard(*card, facts);
        for (int f = 0; f < 12; ++f) {
            const auto field = TScheda::Field(f);
            const QString& text = (*card)[f];
            if (!filled.contains(field)) {
                if (text != before[f])
                    return false;
                continue;
            }
            if (!TextRules::trim(before[f]).isEmpty() || text.isEmpty() || text != TextRules::trim(text) ||
                text.size() > TScheda::layout(field).capacity)
                return false;
            TScheda stored;
            stored.setField(field, text);
            if (stored.field(field) != text)
                return false;
        }
        if (filled.contains(TScheda::Data) &&
            ProcessFormats::dateFromText((*card)[TScheda::Data]) != facts.capturedOn)
            return false;
    }
    return true;
}

bool exportRows(QByteArrayView input) {
    // The first byte splits the input: the archive's bytes, then text typed into cells.
    if (input.isEmpty())
        return true;
    const qsizetype split = std::min<qsizetype>(input.size() - 1, qsizetype(uchar(input[0])) * 64);
    const QByteArrayView book = input.sliced(1, split);
    const QByteArrayView typed = input.sliced(1 + split);

    InMemory memory;
    g_files->files.insert(kArchive, book.toByteArray());
    CardGridModel grid;
    if (!grid.fill(kArchive))
        return false;
    const QString text = QString::fromUtf8(typed);
    const QStringList pieces = text.split(u'\n');
    for (qsizetype i = 0; i < pieces.size() && i < 64; ++i) {
        const int row = int(i % grid.rowCount());
        const int column = CardGridModel::colTitolo + int(i % CardGridModel::kTextColumns);
        grid.setData(grid.index(row, column), pieces[i]);
    }

    setFileReplacer(g_replaced);
    g_replaced->files.clear();
    const QString path = ProgramFolder::exportFile();
    const bool written = ExportFile::write(path, grid);
    setFileReplacer(nullptr);
    if (!written)
        return false;
    // One header row and one row per grid row, twelve cells each; no text can open a tag of its own,
    // and no byte is left that a strict reader of Windows-1252 refuses.
    const QByteArray out = g_replaced->files.value(path);
    const qsizetype rows = grid.rowCount() + 1;
    const bool onlyText = std::none_of(out.begin(), out.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F ||
               byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    });
    return onlyText && out.startsWith(ExportFile::header()) && out.endsWith(ExportFile::closing()) &&
           out.count("<tr>") == rows && out.count("<td") == rows * CardGridModel::kTextColumns;
}

bool journal(QByteArrayView input) {
    Reader in(input);
    const quint8 mode = in.byte();
    const int crashStep = in.byte() % 16;
    const qint64 torn = in.word() % (kRecord + 1);
    const quint8 savedAt = in.byte();
    const quint8 writtenAt = in.byte();
    const quint16 damageAt = in.word();
    const quint8 damage = in.byte();
    const int cards = in.byte() % 5;
    const qint64 tail = in.word() % kRecord;
    const int recoveryCrash = in.byte() % 16; // 0: the opening that finds the journal runs to its end
    const QByteArrayView content = in.rest();

    // How the journal beside the archive came about.
    enum Kind { Interrupted, Damaged, Foreign, NoSave };
    const Kind kind = Kind(mode % 4);
    const bool lockedFirst = (mode & 4) != 0; // the save locks right after opening, as the editor's does

    const QString path = QDir(emptyFolder(u"journal"_s)).filePath(u"Libro.wmn"_s);
    const QString journalFile = BookArchive::journalPath(path);
    QByteArray original;
    for (int k = 0; k < cards; ++k)
        original += madeBytes(content, k, kRecord);
    original += madeBytes(content, cards, tail);
    writeWhole(path, original);
    const QByteArray saving = madeBytes(content, 1000, kRecord);  // the card of the save cut short
    const QByteArray writing = madeBytes(content, 2000, kRecord); // the card written afterwards

    const int savedIndex = savedAt % (cards + 2);
    bool confirmed = false;
    if (kind == Interrupted || kind == Damaged) {
        CrashAtStep disk(crashStep, torn);
        try {
            BookArchive archive;
            archive.open(path);
            if (lockedFirst)
                archive.lockForWriting();
            archive.seek(savedIndex);
            archive.write(cardOf(saving));
            archive.close();
            confirmed = true;
        } catch (const ArchiveError&) {
        }
    }
    if (confirmed && savedIndex > cards)
        return false; // a card past the end, which would leave a gap
    if (kind == Damaged) {
        QByteArray left = readWhole(journalFile);
        if (!left.isEmpty()) {
            const qsizetype at = damageAt % left.size();
            if (damage == 0)
                left.truncate(at);
            else
                left[at] = char(left[at] ^ char(damage));
            writeWhole(journalFile, left);
        }
    } else if (kind == Foreign) {
        writeWhole(journalFile, content);
    }
    const QByteArray crashed = readWhole(path);
    const qint64 journalSize = QFileInfo(journalFile).size();

    // The opening that puts the journal back may itself be cut short; the next one finishes its work.
    if (recoveryCrash > 0) {
        CrashAtStep disk(recoveryCrash - 1, torn);
        try {
            BookArchive archive;
            archive.open(path);
            archive.close();
        } catch (const ArchiveError&) {
        }
    }

    BookArchive archive;
    try {
        archive.open(path);
    } catch (const ArchiveError&) {
        return false; // a book on a working disk opens, whatever lies beside it
    }
    const QByteArray opened = readWhole(path);
    switch (kind) {
    case Interrupted:
    case Damaged:
        if (savedIndex < cards) {
            // An overwrite: the other cards and the tail as they were, the card old or new, never a mix
            // (unless the journal that could mend it was damaged), and new when the save was confirmed.
            if (!sameButRecord(opened, original, savedIndex))
                return false;
            const QByteArray now = recordAt(opened, savedIndex);
            if (now != recordAt(original, savedIndex) && now != saving &&
                !(kind == Damaged && now == recordAt(crashed, savedIndex)))
                return false;
            if (confirmed && now != saving)
                return false;
        } else if (savedIndex == cards) {
            // An append: the cards before it as they were, the new one whole or not counted.
            const qsizetype whole = qsizetype(cards * kRecord);
            if (opened.size() < whole || opened.first(whole) != original.first(whole))
                return false;
            const qint64 count = opened.size() / kRecord;
            if (count != cards && count != cards + 1)
                return false;
            if (count == cards + 1 && recordAt(opened, cards) != saving)
                return false;
            if (confirmed && count != cards + 1)
                return false;
        } else if (opened != original) {
            return false;
        }
        break;
    case Foreign: {
        // Whatever the bytes beside the archive, no more of its bytes change than they hold.
        if (opened.size() != original.size())
            return false;
        qint64 changed = 0;
        for (qsizetype i = 0; i < opened.size(); ++i)
            changed += opened[i] != original[i] ? 1 : 0;
        if (changed > journalSize)
            return false;
        break;
    }
    case NoSave:
        if (opened != original)
            return false;
        break;
    }

    // A save after the opening: written where asked, read back, the rest left alone, and still there
    // when the book is opened again.
    int count = 0;
    try {
        count = archive.count();
        if (archive.Size() != opened.size() || count != opened.size() / kRecord)
            return false;
    } catch (const ArchiveError&) {
        return false;
    }
    const int at = writtenAt % (count + 2);
    bool written = false;
    try {
        archive.seek(at);
        archive.write(cardOf(writing));
        written = true;
    } catch (const ArchiveError&) {
    }
    const QByteArray after = readWhole(path);
    if (at > count)
        return !written && after == opened;
    if (!written)
        return false;
    const qsizetype kept = qsizetype(count * kRecord);
    if (at < count ? !sameButRecord(after, opened, at)
                   : after.size() != kept + kRecord || after.first(kept) != opened.first(kept))
        return false;
    try {
        if (archive.count() != count + (at == count ? 1 : 0))
            return false;
        archive.seek(at);
        if (bytesOf(archive.read()) != writing)
            return false;
        archive.close();
        BookArchive again;
        again.open(path);
        if (again.count() != count + (at == count ? 1 : 0))
            return false;
        again.seek(at);
        if (bytesOf(again.read()) != writing)
            return false;
        again.close();
    } catch (const ArchiveError&) {
        return false;
    }
    return readWhole(path) == after;
}

bool check(QByteArrayView input) {
    Reader in(input);
    const QString folder = emptyFolder(u"check"_s);
    const ProgramFolderAt programFolder(folder);

    QString name = QString::fromLatin1(in.take(in.byte() % 10));
    if (TextRules::trim(name).isEmpty() || BookShelf::isUnsafeName(TextRules::trim(name)))
        name = u"Libro"_s;
    const QString book = TextRules::trim(name);
    const QString archivePath = ProgramFolder::archiveOf(book);
    const QString journalPath = BookArchive::journalPath(archivePath);
    const QString prefix = book + u"_Foto_"_s;

    // The photo folder: files named for a card, for no card, or for nothing at all, empty, holding a
    // picture or any bytes, and folders where a photo could be.
    if (!PhotoStore::ensureFolder())
        qFatal("photo folder not made");
    QSet<QString> photoFiles;
    QSet<QString> pictures;
    const int photos = in.byte() % 8;
    for (int p = 0; p < photos; ++p) {
        const quint8 how = in.byte();
        QString fileName;
        switch (how % 4) {
        case 0:
            fileName = prefix + QString::number(in.byte() % 8) + u".jpg"_s;
            break;
        case 1:
            fileName = prefix + u'0' + QString::number(in.byte() % 8) + u".jpg"_s;
            break;
        case 2:
            fileName = prefix + QString::fromLatin1(in.take(in.byte() % 6)) + u".jpg"_s;
            break;
        default:
            fileName = QString::fromLatin1(in.take(in.byte() % 24));
            break;
        }
        if (fileName.isEmpty() || fileName == u"."_s || fileName == u".."_s || fileName.contains(u'/') ||
            fileName.contains(QChar(0)))
            continue;
        const QString filePath = ProgramFolder::inFolder(PhotoStore::folder(), fileName);
        if (QFileInfo::exists(filePath))
            continue;
        switch ((how >> 2) % 4) {
        case 0:
            writeWhole(filePath, {});
            photoFiles << fileName;
            break;
        case 1:
            writeWhole(filePath, smallPicture());
            photoFiles << fileName;
            pictures << fileName;
            break;
        case 2:
            writeWhole(filePath, in.take(in.byte()));
            photoFiles << fileName;
            break;
        default:
            QDir().mkpath(filePath);
            break;
        }
    }
    const quint8 flags = in.byte();
    const bool journalLeft = (flags & 1) != 0;
    const bool repairToo = (flags & 2) != 0;
    const QByteArray journalBytes = in.take(in.byte()).toByteArray();
    if (journalLeft)
        writeWhole(journalPath, journalBytes);
    const QByteArray archiveBytes = in.rest().toByteArray();
    writeWhole(archivePath, archiveBytes);
    const QStringList before = listing(folder);

    const qint64 size = archiveBytes.size();
    const int cards = int(size / kRecord);
    qint64 reached = 0;
    bool steady = true;
    QList<BookCheck::Finding> findings;
    try {
        findings = BookCheck::run(name, [&](qint64 done, qint64 total) {
            steady = steady && done >= reached && done <= total && total == size;
            reached = done;
        });
    } catch (const ArchiveError&) {
        return false; // the archive is there and readable
    }
    // A check reads and changes nothing.
    if (!steady || listing(folder) != before || readWhole(archivePath) != archiveBytes ||
        (journalLeft && readWhole(journalPath) != journalBytes))
        return false;

    int cut = 0;
    int pending = 0;
    std::vector<int> missing(std::size_t(cards) + 1);
    std::vector<int> unreadable(std::size_t(cards) + 1);
    std::vector<int> tooLarge(std::size_t(cards) + 1);
    std::vector<int> invalid(std::size_t(cards) + 1);
    std::vector<int> incomplete(std::size_t(cards) + 1);
    for (const BookCheck::Finding& finding : findings) {
        const int p = finding.position;
        const bool onCard = p >= 1 && p <= cards;
        if (finding.text.isEmpty() || p < 0 || p > cards + 1)
            return false;
        switch (finding.kind) {
        case BookCheck::Finding::CutRecord:
            ++cut;
            if (p != cards + 1)
                return false;
            break;
        case BookCheck::Finding::PendingJournal:
        case BookCheck::Finding::TornJournal:
        case BookCheck::Finding::ForeignJournal:
        case BookCheck::Finding::SaveInProgress:
            ++pending; // one line for a journal, whatever it means
            break;
        case BookCheck::Finding::StrayPhoto:
            if (p != 0 || std::none_of(photoFiles.begin(), photoFiles.end(),
                                       [&](const QString& file) { return finding.text.contains(file); }))
                return false;
            break;
        case BookCheck::Finding::LengthTooLarge:
            if (!onCard)
                return false;
            ++tooLarge[std::size_t(p)];
            break;
        case BookCheck::Finding::InvalidText:
            if (!onCard)
                return false;
            ++invalid[std::size_t(p)];
            break;
        case BookCheck::Finding::MissingPhoto:
            if (!onCard)
                return false;
            ++missing[std::size_t(p)];
            break;
        case BookCheck::Finding::UnreadablePhoto:
            if (!onCard)
                return false;
            ++unreadable[std::size_t(p)];
            break;
        case BookCheck::Finding::OutsideAttachment:
        case BookCheck::Finding::MissingAttachment:
            if (!onCard)
                return false;
            break;
        case BookCheck::Finding::IncompleteCard:
            if (!onCard || finding.isProblem())
                return false;
            ++incomplete[std::size_t(p)];
            break;
        }
    }
    if (cut != (size % kRecord != 0 ? 1 : 0) || pending != (journalLeft ? 1 : 0))
        return false;
    for (int p = 1; p <= cards; ++p) {
        // The card's own photo file, missing or there, readable or not.
        const QString own = QFileInfo(PhotoStore::photoPath(name, p)).fileName();
        const bool there = photoFiles.contains(own);
        if (missing[std::size_t(p)] != (there ? 0 : 1) || unreadable[std::size_t(p)] > (there ? 1 : 0) ||
            (pictures.contains(own) && unreadable[std::size_t(p)] != 0))
            return false;
        // Each length byte above its field's capacity is one finding; a card whose texts hold only text
        // has no invalid text, one that has some at most one finding a field.
        const auto* record =
            reinterpret_cast<const unsigned char*>(archiveBytes.constData()) + (p - 1) * kRecord;
        int large = 0;
        bool onlyText = true;
        for (int f = 0; f < TScheda::kFieldCount; ++f) {
            const TScheda::Layout& layout = TScheda::layout(TScheda::Field(f));
            const int length = record[layout.offset];
            large += length > layout.capacity ? 1 : 0;
            for (int i = 0; i < std::min(length, layout.capacity); ++i) {
                const unsigned char byte = record[layout.offset + 1 + std::size_t(i)];
                if (byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
                    byte == 0x90 || byte == 0x9D)
                    onlyText = false;
            }
        }
        if (tooLarge[std::size_t(p)] != large || invalid[std::size_t(p)] > TScheda::kFieldCount ||
            (onlyText && invalid[std::size_t(p)] != 0))
            return false;
        // One line for a card without a title, a date or a location, whichever are missing.
        TScheda card;
        std::copy_n(record, TScheda::kSize, card.bytes().data());
        const bool lacking = card.field(TScheda::Titolo).isEmpty() || card.field(TScheda::Data).isEmpty() ||
                             card.field(TScheda::Location).isEmpty();
        if (incomplete[std::size_t(p)] != (lacking ? 1 : 0))
            return false;
    }

    if (!repairToo)
        return true;
    // The repair deals with the journal first, as an opening does; then, only when the last record is
    // incomplete, it keeps a copy of the archive as it was and cuts that record and nothing else.
    BookCheck::Repair done;
    try {
        done = BookCheck::repair(name);
    } catch (const ArchiveError&) {
        return false;
    }
    const qint64 tail = size % kRecord;
    if (tail == 0 ? !done.backupPath.isEmpty() || done.cutBytes != 0
                  : done.backupPath.isEmpty() || done.cutBytes != tail ||
                        (!journalLeft && readWhole(done.backupPath) != archiveBytes))
        return false;
    const QByteArray repaired = readWhole(archivePath);
    const qsizetype whole = qsizetype(cards * kRecord);
    return repaired.size() == whole && (journalLeft || repaired == archiveBytes.first(whole)) &&
           !QFileInfo::exists(journalPath);
}

bool commandLine(QByteArrayView input) {
    // A tab first: the error stream is a terminal, which shows progress.
    const bool terminal = input.startsWith('\t');
    const QStringList given = QString::fromUtf8(terminal ? input.sliced(1) : input).split(u'\n');
    QStringList arguments{u"lumivera"_s};
    for (const QString& argument : given.mid(0, 8)) {
        if (argument.contains(u'/') || argument.contains(u".."_s))
            return true; // could name a file outside the scratch folder
        arguments << argument;
    }

    const QString folder = emptyFolder(u"cli"_s);
    const ProgramFolderAt programFolder(folder);
    const CurrentFolderAt here(folder);
    const QString whole = ProgramFolder::archiveOf(u"Giulia"_s);
    const QString damaged = ProgramFolder::archiveOf(u"Rotto"_s);
    const QByteArray broken = smallBook().first(qsizetype(kRecord)) + QByteArray(100, 'x');
    writeWhole(whole, smallBook());
    writeWhole(damaged, broken);
    if (!PhotoStore::ensureFolder())
        qFatal("photo folder not made");
    writeWhole(PhotoStore::photoPath(u"Giulia"_s, 1), smallPicture());

    QString output;
    QString errors;
    const CommandLine::Console console{[&](const QString& text) { output += text; },
                                       [&](const QString& text) { errors += text; }, terminal};
    const int status = CommandLine::run(arguments, console);
    if (status < 0 || status > 2 || (status == 2 && errors.isEmpty()) ||
        (status == 1 && errors.isEmpty() && output.isEmpty()))
        return false;
    // No command touches a book's cards; only a repair cuts the damaged book's incomplete record, after
    // keeping a copy.
    if (readWhole(whole) != smallBook())
        return false;
    const QByteArray now = readWhole(damaged);
    return now == broken ||
           (now == broken.first(qsizetype(kRecord)) && readWhole(damaged + u".bak"_s) == broken);
}

bool search(QByteArrayView input) {
    const qsizetype split = input.indexOf('\0');
    const QByteArrayView typed = split < 0 ? input : input.first(split);
    Reader rest(split < 0 ? QByteArrayView() : input.sliced(split + 1));
    const int repeats = 1 + rest.byte() % 48; // the summary prints the lines this many times over
    QByteArray book = rest.rest().toByteArray();
    if (book.size() % kRecord)
        book.append(QByteArray(qsizetype(kRecord - book.size() % kRecord), '\0'));
    const int count = int(book.size() / kRecord);
    CardSearch::Criteria criteria;
    const QStringList lines = QString::fromUtf8(typed).split(u'\n');
    for (std::size_t i = 0; i < criteria.size() && qsizetype(i) < lines.size(); ++i)
        criteria[i] = lines[qsizetype(i)];

    InMemory memory;
    g_files->files.insert(kArchive, book);
    QList<CardSearch::Hit> hits;
    try {
        hits = CardSearch::run(kArchive, criteria);
    } catch (const ArchiveError&) {
        return false; // nothing in memory fails
    }
    const auto card = [&](int position) {
        return cardOf(QByteArrayView(book).sliced(qsizetype((position - 1) * kRecord), qsizetype(kRecord)));
    };
    // The cards found are those that match, each once, with its own line, in list order and, for equal
    // lines, in the book's order.
    std::vector<bool> found(std::size_t(count) + 1, false);
    for (qsizetype h = 0; h < hits.size(); ++h) {
        const CardSearch::Hit& hit = hits[h];
        if (hit.position < 1 || hit.position > count || found[std::size_t(hit.position)])
            return false;
        found[std::size_t(hit.position)] = true;
        if (hit.line != CardSearch::resultLine(card(hit.position)))
            return false;
        if (h > 0) {
            const CardSearch::Hit& previous = hits[h - 1];
            if (CardSearch::linesBefore(hit.line, previous.line) ||
                (!CardSearch::linesBefore(previous.line, hit.line) && previous.position > hit.position))
                return false;
        }
    }
    for (int p = 1; p <= count; ++p) {
        if (CardSearch::matches(card(p), criteria) != found[std::size_t(p)])
            return false;
    }
    if (CardSearch::criteriaCount(criteria) == 0 && hits.size() != count)
        return false;

    // The list, and the quick find pressed three times with the first criterion as its key.
    ResultListModel model;
    model.setHits(hits);
    const QStringList shown = model.lines();
    if (shown.size() != hits.size() || model.rowCount() != hits.size())
        return false;
    QuickFind::forgetLastKey();
    const QString key = criteria[0];
    const QString folded = TextRules::foldAZ(key);
    const bool held = !folded.isEmpty() && std::any_of(shown.begin(), shown.end(), [&](const QString& line) {
        return TextRules::foldAZ(line).contains(folded);
    });
    std::optional<int> selected;
    for (int press = 0; press < 3; ++press) {
        selected = QuickFind::find(shown, selected, key);
        if (selected.has_value() != held ||
            (selected && (*selected < 0 || *selected >= shown.size() ||
                          !TextRules::foldAZ(shown[*selected]).contains(folded))))
            return false;
    }

    // The summary: every line once, in order, each cut only at its end and never inside a pair of
    // surrogates, on the sheet where its top lies.
    QStringList printed;
    for (int r = 0; r < repeats; ++r)
        printed += shown;
    Report::ReportTemplate summary = SearchSummary::makeTemplate();
    SearchSummary::fill(summary, QStringLiteral("Giulia"), printed);
    const Report::PreparedReport sheets = Report::prepare(summary);
    if (sheets.pages.empty())
        return false;
    qsizetype next = 0;
    for (const Report::PreparedPage& sheet : sheets.pages) {
        for (const Report::PreparedItem* item : sheet.textLines(u"txtRiepilogo")) {
            if (item->line != next || next >= printed.size())
                return false;
            const QString& line = printed[next];
            if (!line.startsWith(item->text) ||
                (item->text.size() < line.size() && !item->text.isEmpty() &&
                 item->text.back().isHighSurrogate()) ||
                item->rect.top() < 0 || item->rect.top() > sheet.paperSize.height())
                return false;
            ++next;
        }
    }
    return next == printed.size();
}

bool pdf(QByteArrayView input) {
    if (input.isEmpty())
        return true;
    const quint8 options = quint8(input[0]);
    const QByteArrayView bytes = input.sliced(1);

    if (options & 1) {
        // A font file: looked up, measured and cut down like a face that a report uses.
        const QRawFont raw(bytes.toByteArray(), 12);
        if (!raw.isValid())
            return true;
        Report::PdfFont font(raw);
        QString text = u"Lumivera 0123 àèéìòù €…‘’ ΑΩ ЖЯ 中文 \U0001F600 \uFFFD"_s;
        for (qsizetype i = 0; i + 1 < bytes.size() && i < 64; i += 2)
            text += QChar(char16_t(quint8(bytes[i]) << 8 | quint8(bytes[i + 1])));
        for (const QChar c : text) {
            const quint32 glyph = font.glyph(c.unicode());
            if (!std::isfinite(font.advance(glyph)))
                return false;
            font.use(glyph, QStringView(&c, 1));
        }
        for (qsizetype i = 0; i + 3 < bytes.size() && i < 32; i += 4)
            font.use(qFromBigEndian<quint32>(bytes.data() + i));
        if (font.postScriptName().isEmpty() || !font.widthArray().startsWith('[') ||
            !font.toUnicode().endsWith("end\nend\n") || font.descriptor().isEmpty())
            return false;
        const QByteArray subset = font.subset();
        switch (font.program()) {
        case Report::PdfFont::Program::TrueType:
            return wellFormedFont(subset);
        case Report::PdfFont::Program::Cff:
            return wellFormedCff(subset);
        case Report::PdfFont::Program::None:
            break;
        }
        return subset.isEmpty();
    }

    // Lines of text in several faces on one sheet, written as a PDF file into memory.
    const QStringList utf8 = QString::fromUtf8(bytes).split(u'\n');
    const QStringList cp1252 = Cp1252::decode(bytes).split(u'\n');
    struct Face {
        QString family;
        qreal points;
        bool bold;
        bool italic;
    };
    const Face faces[] = {{u"Courier New"_s, 8, false, false},
                          {u"Verdana"_s, 9, true, false},
                          {u"Arial"_s, 10, false, true},
                          {u"Courier New"_s, 8, true, true},
                          {u"Nessun carattere"_s, 7, false, false}};
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    Report::ReportTemplate report(utf8.first());
    Report::ReportPage page;
    page.orientation = (options & 2) ? QPageLayout::Landscape : QPageLayout::Portrait;
    for (int i = 0; i < int(std::size(faces)); ++i) {
        Report::ReportObject object;
        object.name = u"riga%1"_s.arg(i);
        object.geometry = QRectF(5, 5 + 36 * i, (options & 4) ? 40 : 180, 34);
        object.font = Report::makeFont(faces[i].family, faces[i].points, faces[i].bold);
        object.font.setItalic(faces[i].italic);
        object.alignment = alignments[(options >> 3) % 3] | Qt::AlignVCenter;
        object.lines = (i % 2 ? cp1252 : utf8).mid(0, 10);
        if (options & 0x40) {
            object.fill = QColor(230, 230, 250);
            object.frameColour = QColor(112, 128, 144);
            object.frameWidth = 0.3;
        }
        page.objects.push_back(object);
    }
    report.pages().push_back(page);
    const Report::PreparedReport prepared = Report::prepare(report);
    const QList<int> sheets = (options & 0x80) ? QList<int>{0, 0} : QList<int>{};
    QByteArray file;
    QBuffer device(&file);
    device.open(QIODevice::WriteOnly);
    try {
        Report::writePdf(device, prepared, sheets);
    } catch (const Report::ReportError&) {
        return false; // memory does not fail
    }
    return wellFormedPdf(file, sheets.isEmpty() ? 1 : int(sheets.size()));
}

} // namespace Feeds
