#include "TestFiles.h"

#include "base/ProgramFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QProcess>

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& content) {
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size() &&
           file.flush();
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

std::unique_ptr<QTemporaryDir> scratchProgramFolder() {
    auto folder = std::make_unique<QTemporaryDir>();
    if (folder->isValid())
        ProgramFolder::setPath(folder->path());
    return folder;
}

QByteArray archiveOf(const QList<TScheda>& cards) {
    QByteArray bytes;
    for (const TScheda& card : cards)
        bytes.append(reinterpret_cast<const char*>(card.bytes().data()), qsizetype(TScheda::kSize));
    return bytes;
}

QByteArray jpeg(QSize size, QColor colour, int quality) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(quality);
    if (!writer.write(image))
        qFatal("JPEG not written: %s", qPrintable(writer.errorString()));
    return bytes;
}

QByteArray withDeclaredSize(QByteArray bytes, QSize declared) {
    for (qsizetype i = 2; i + 8 < bytes.size(); ++i) {
        if (uchar(bytes[i]) == 0xFF && (uchar(bytes[i + 1]) == 0xC0 || uchar(bytes[i + 1]) == 0xC2)) {
            bytes[i + 5] = char(declared.height() >> 8);
            bytes[i + 6] = char(declared.height() & 0xFF);
            bytes[i + 7] = char(declared.width() >> 8);
            bytes[i + 8] = char(declared.width() & 0xFF);
            return bytes;
        }
    }
    qFatal("no frame header");
}

QByteArray withOrientation(const QByteArray& bytes, quint16 orientation) {
    const QByteArray exif = QByteArray("\xFF\xE1\x00\x22"
                                       "Exif\0\0"
                                       "II*\0\x08\0\0\0"
                                       "\x01\0"
                                       "\x12\x01\x03\0\x01\0\0\0",
                                       28) +
                            char(orientation) +
                            QByteArray("\0\0\0"
                                       "\0\0\0\0",
                                       7);
    return bytes.left(2) + exif + bytes.mid(2);
}
