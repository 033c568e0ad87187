// Importing a shoot of 1,000 photos of 24 megapixels with metadata (EXIF, XMP and IPTC, as a camera and
// a photo manager leave them) into an empty book, against the floor of copying the same files into a
// folder of the same disk and making each durable (a plain read and write loop and fsync, as `cp`
// followed by `sync` of each file). Four photos stand for the shoot's pictures; each of the 1,000 files
// differs from the others by a comment segment, so the import's check for photos already in the book
// meets 250 files of each size and must tell them apart by their bytes.
//
// And a photo imported that way shown in the editor's frame, against the JPEG library's own 1/8 decode.
#include "CameraPhotos.h"
#include "Djpeg.h"
#include "Figures.h"
#include "archive/core/PhotoImport.h"
#include "archive/core/PhotoStore.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

namespace {

constexpr int kPhotos = 1000;
constexpr int kDistinct = CameraPhotos::kCount;

QString shootFolder() {
    return Figures::dataFile(QStringLiteral("Shoot_24MP"));
}

QString shootPhoto(int n) {
    return QDir(shootFolder()).filePath(QStringLiteral("DSC_%1.jpg").arg(n, 4, 10, QChar(u'0')));
}

// A generated 24 MP photo with the metadata of a camera and of a photo manager written in by Exiv2.
QByteArray withMetadata(const QString& photo, int n) {
    QFile file(photo);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    try {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(bytes.constData()), long(bytes.size()));
#pragma GCC diagnostic pop
        image->readMetadata();
        Exiv2::ExifData exif;
        exif["Exif.Image.Make"] = "NIKON CORPORATION";
        exif["Exif.Image.Model"] = "NIKON Z 8";
        exif["Exif.Photo.LensModel"] = "NIKKOR Z 24-120mm f/4 S";
        exif["Exif.Photo.DateTimeOriginal"] =
            QStringLiteral("2024:05:17 10:%1:00").arg(n, 2, 10, QChar(u'0')).toStdString();
        exif["Exif.Image.Artist"] = "Anna Rossi";
        exif["Exif.Image.Orientation"] = uint16_t(1);
        Exiv2::XmpData xmp;
        xmp["Xmp.dc.title"] = "Sfilata primavera";
        xmp["Xmp.photoshop.City"] = "Milano";
        Exiv2::IptcData iptc;
        iptc["Iptc.Application2.Keywords"] = "moda";
        image->setExifData(exif);
        image->setXmpData(xmp);
        image->setIptcData(iptc);
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf written = io.read(long(io.size()));
        return QByteArray(reinterpret_cast<const char*>(written.pData_), qsizetype(written.size_));
    } catch (...) {
        return {};
    }
}

// The 1,000 files of the shoot, made once and kept between runs.
bool ensureShoot() {
    if (QFileInfo::exists(shootPhoto(kPhotos)))
        return true;
    QDir().mkpath(shootFolder());
    std::vector<QByteArray> bases;
    if (!CameraPhotos::ensure())
        return false;
    for (int n = 1; n <= kDistinct; ++n) {
        bases.push_back(withMetadata(CameraPhotos::path(n), n));
        if (bases.back().isEmpty())
            return false;
    }
    for (int n = 1; n <= kPhotos; ++n) {
        // A comment segment right after the start of the image: the same length in every file.
        const QByteArray comment =
            QStringLiteral("Lumivera bench photo %1").arg(n, 4, 10, QChar(u'0')).toLatin1();
        QByteArray segment("\xFF\xFE", 2);
        segment.append(char((comment.size() + 2) >> 8))
            .append(char((comment.size() + 2) & 0xFF))
            .append(comment);
        QByteArray bytes = bases[std::size_t((n - 1) % kDistinct)];
        bytes.insert(2, segment);
        QFile file(shootPhoto(n) + QStringLiteral(".part"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        file.close();
        if (!file.rename(shootPhoto(n)))
            return false;
    }
    return true;
}

// The floor: each file read and written in blocks of 1 MB, then fsync, into a new folder of the disk
// the program folder lies on.
bool copyDurably(const QString& from, const QString& to, std::vector<char>& block) {
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool done = out >= 0;
    while (done) {
        const ssize_t got = ::read(in, block.data(), block.size());
        if (got <= 0) {
            done = got == 0;
            break;
        }
        done = ::write(out, block.data(), std::size_t(got)) == got;
    }
    ::close(in);
    if (out >= 0) {
        done = ::fsync(out) == 0 && done;
        done = ::close(out) == 0 && done;
    }
    return done;
}

void BM_CopyFloor(benchmark::State& state) {
    std::vector<char> block(1 << 20);
    for (auto _ : state) {
        QTemporaryDir target(Figures::dataFile(QStringLiteral("copy-XXXXXX")));
        QElapsedTimer clock;
        clock.start();
        for (int n = 1; n <= kPhotos; ++n) {
            if (!copyDurably(shootPhoto(n), QDir(target.path()).filePath(QFileInfo(shootPhoto(n)).fileName()),
                             block)) {
                state.SkipWithError("the copy failed");
                return;
            }
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

void BM_Import(benchmark::State& state) {
    for (auto _ : state) {
        QTemporaryDir program(Figures::dataFile(QStringLiteral("import-XXXXXX")));
        ProgramFolder::setPath(program.path());
        const QString book = QStringLiteral("Shoot");
        QFile archive(ProgramFolder::archiveOf(book));
        if (!archive.open(QIODevice::WriteOnly)) {
            state.SkipWithError("the book was not made");
            return;
        }
        archive.close();
        QElapsedTimer clock;
        clock.start();
        const PhotoImport::Outcome outcome =
            PhotoImport::run(book, PhotoImport::gather({shootFolder()}, false));
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (outcome.positions.size() != kPhotos || !outcome.duplicates.isEmpty()) {
            state.SkipWithError("the import did not bring in every photo");
            return;
        }
    }
}

void BM_ShowImported(benchmark::State& state) {
    for (auto _ : state) {
        const CardPhoto shown = CardPhoto::fromFile(shootPhoto(1), PhotoStore::kPlaceholderSize);
        if (shown.isNull()) {
            state.SkipWithError("the photo was not decoded for the frame");
            break;
        }
    }
}

void BM_DjpegEighthImported(benchmark::State& state) {
    timeDjpeg(state, shootPhoto(1), {QStringLiteral("-scale"), QStringLiteral("1/8")});
}

BENCHMARK(BM_CopyFloor)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(2);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(2);
BENCHMARK(BM_DjpegEighthImported)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(3);
BENCHMARK(BM_ShowImported)->Unit(benchmark::kMillisecond)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ProcessFormats::apply();
    if (!ensureShoot()) {
        std::fputs("cannot write the shoot's photos\n", stderr);
        return 1;
    }
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printRatio("import of 1,000 photos of 24 MP with metadata", reporter.ms("BM_Import"),
                        "the same files copied and synced one by one", reporter.ms("BM_CopyFloor"), 1.5);
    Figures::printRatio("photo shown, 24 MP JPEG with metadata", reporter.ms("BM_ShowImported"),
                        "djpeg -scale 1/8", reporter.ms("BM_DjpegEighthImported"), 1.2);
    return 0;
}
