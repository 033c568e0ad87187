#include "Feeds.h"

#include "access/core/Crypt.h"
#include "access/core/PasswordStore.h"
#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"
#include "archive/core/RecordFile.h"
#include "base/ProgramFolder.h"
#include "base/ReplaceFile.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <cstring>

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
        static int argc = 1;
        static char name[] = "lumivera_fuzz";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
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
        archive.Open(kArchive);
        const int count = archive.Count();
        if (count != expected)
            return false;
        for (int i = 0; i < count; ++i) {
            archive.Seek(i);
            const TScheda card = archive.Read();
            if (card.field(TScheda::Titolo).size() > TScheda::layout(TScheda::Titolo).capacity)
                return false;
        }
        archive.Seek(0);
        std::vector<TScheda> block;
        int read = 0;
        while (const int got = archive.ReadBlock(block, 7))
            read += got;
        if (read != count)
            return false;
        // An append lands right after the last whole record and leaves the cards before it alone.
        TScheda added;
        added.setField(TScheda::Titolo, QStringLiteral("Aggiunta"));
        archive.Seek(count);
        archive.Write(added);
        if (archive.Count() != count + 1)
            return false;
        archive.Close();
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
        const QString text = Crypt::DecodePassword(digits);
        if (text.size() != digits.size() / 2)
            return false;
        // What decodes is given back by the encoder, in upper case, for as much as the key serves.
        if (text.size() <= PasswordStore::kMaxLength &&
            Crypt::EncodePassword(text) != digits.left(2 * text.size()).toUpper())
            return false;
    } catch (const Crypt::ConversionError&) {
    }
    try {
        const QString stored = PasswordStore(scratchFile(input, ".ini")).ReadPassword();
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
    // One header row and one row per grid row, twelve cells each; no text can open a tag of its own.
    const QByteArray out = g_replaced->files.value(path);
    const qsizetype rows = grid.rowCount() + 1;
    return out.startsWith(ExportFile::header()) && out.endsWith(ExportFile::closing()) &&
           out.count("<tr>") == rows && out.count("<td") == rows * CardGridModel::kTextColumns;
}

} // namespace Feeds
