#include "BookArchive.h"

#include "TextRules.h"

#include <QDir>

#include <algorithm>

namespace {
constexpr qint64 kRecord = qint64(TScheda::kSize);
}

BookArchive::~BookArchive() {
    if (m_file)
        m_file->close();
}

QString BookArchive::accessMessage() {
    return QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                          "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione "
                          "del programma.");
}

void BookArchive::Open(const QString& path) {
    if (m_file)
        Close();
    m_path = TextRules::trim(path);
    m_index = 0;
    if (m_path.isEmpty())
        throw ArchiveError(QStringLiteral("Archivio non indicato."));

    FileSystem::OpenError error;
    m_file = fileSystem().openReadWrite(m_path, error);
    if (!m_file && error.missing) {
        error = {};
        m_file = fileSystem().createNew(m_path, error);
        if (!m_file)
            throw ArchiveError(QStringLiteral("Impossibile creare l'archivio \"%1\": %2.")
                                   .arg(QDir::toNativeSeparators(m_path), error.text));
    }
    if (!m_file)
        throw ArchiveError(QStringLiteral("Impossibile aprire l'archivio \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(m_path), error.text));
}

RecordFile& BookArchive::file() {
    if (!m_file)
        throw ArchiveError(QStringLiteral("L'archivio non è aperto."));
    return *m_file;
}

void BookArchive::fail(const QString& what) {
    throw ArchiveError(
        QStringLiteral("%1 \"%2\": %3.").arg(what, QDir::toNativeSeparators(m_path), file().errorString()));
}

int BookArchive::Count() {
    const qint64 size = file().size();
    if (size < 0)
        fail(QStringLiteral("Impossibile leggere la dimensione dell'archivio"));
    return int(size / kRecord);
}

void BookArchive::Seek(int index) {
    if (index < 0 || index > Count())
        throw ArchiveError(QStringLiteral("La scheda %1 non esiste nell'archivio \"%2\".")
                               .arg(index + 1)
                               .arg(QDir::toNativeSeparators(m_path)));
    m_index = index;
}

TScheda BookArchive::Read() {
    TScheda card;
    auto* data = reinterpret_cast<char*>(card.bytes().data());
    const qint64 got = file().readAt(m_index * kRecord, data, kRecord);
    if (got < 0)
        fail(QStringLiteral("Lettura non riuscita dell'archivio"));
    if (got != kRecord)
        throw ArchiveError(QStringLiteral("La scheda %1 dell'archivio \"%2\" è incompleta.")
                               .arg(m_index + 1)
                               .arg(QDir::toNativeSeparators(m_path)));
    ++m_index;
    return card;
}

int BookArchive::ReadBlock(std::vector<TScheda>& cards, int max) {
    const int count = std::min(max, Count() - m_index);
    cards.resize(std::size_t(std::max(count, 0)));
    if (count <= 0)
        return 0;
    static_assert(sizeof(TScheda) == TScheda::kSize, "records are read straight into the card buffers");
    auto* data = reinterpret_cast<char*>(cards.data());
    const qint64 wanted = qint64(count) * kRecord;
    const qint64 got = file().readAt(m_index * kRecord, data, wanted);
    if (got < 0)
        fail(QStringLiteral("Lettura non riuscita dell'archivio"));
    if (got != wanted)
        throw ArchiveError(QStringLiteral("La scheda %1 dell'archivio \"%2\" è incompleta.")
                               .arg(m_index + 1 + int(got / kRecord))
                               .arg(QDir::toNativeSeparators(m_path)));
    m_index += count;
    return count;
}

void BookArchive::Write(const TScheda& card) {
    const auto* data = reinterpret_cast<const char*>(card.bytes().data());
    const qint64 put = file().writeAt(m_index * kRecord, data, kRecord);
    if (put < 0)
        fail(QStringLiteral("Scrittura non riuscita nell'archivio"));
    if (put != kRecord)
        throw ArchiveError(QStringLiteral("Scrittura incompleta della scheda %1 nell'archivio \"%2\": %3.")
                               .arg(m_index + 1)
                               .arg(QDir::toNativeSeparators(m_path), file().errorString()));
    if (!file().sync())
        fail(QStringLiteral("Scrittura non confermata dal disco per l'archivio"));
    ++m_index;
}

void BookArchive::Close() {
    if (!m_file)
        return;
    std::unique_ptr<RecordFile> closing = std::move(m_file);
    if (!closing->close())
        throw ArchiveError(QStringLiteral("Chiusura non riuscita dell'archivio \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(m_path), closing->errorString()));
}
