#include "editor/windows/EditorPhoto.h"

#include "archive/core/PhotoStore.h"
#include "archive/windows/PhotoView.h"
#include "editor/windows/ZoomWindow.h"
#include "ui/FileDialogs.h"
#include "ui/Messages.h"
#include "ui/WindowFrame.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>

#include <algorithm>

namespace EditorPhoto {

namespace {

// The folder of the last picture chosen for loading, for the rest of the run: the next load opens
// there. It is not kept after the program ends, since the program keeps no settings; the first load of
// a run opens in the user's pictures folder.
QString& lastPhotoFolder() {
    static QString folder;
    return folder;
}

QString photoFolderToOpen() {
    if (!lastPhotoFolder().isEmpty() && QFileInfo(lastPhotoFolder()).isDir())
        return lastPhotoFolder();
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QString();
}

// The kinds of file the load offers: JPEG (selected) and Bitmap, the other photo formats this system
// reads, and all of the pictures it reads together.
QStringList photoFilters() {
    QStringList readable;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        readable << QString::fromLatin1(format).toLower();
    readable.removeDuplicates();
    std::sort(readable.begin(), readable.end());

    // The two kinds of photo the program has always offered come first, and the first is selected.
    QStringList filters{QStringLiteral("Immagine JPEG (*.jpg *.jpeg)"),
                        QStringLiteral("Immagine Bitmap (*.bmp)")};
    // The other kinds a camera or a photo editor writes, as far as this system's Qt reads them.
    const std::initializer_list<std::pair<const char*, QStringList>> photoKinds = {
        {"PNG", {QStringLiteral("png")}},
        {"TIFF", {QStringLiteral("tif"), QStringLiteral("tiff")}},
        {"WebP", {QStringLiteral("webp")}},
        {"GIF", {QStringLiteral("gif")}},
        {"HEIF", {QStringLiteral("heic"), QStringLiteral("heif")}},
        {"AVIF", {QStringLiteral("avif")}},
        {"JPEG XL", {QStringLiteral("jxl")}},
    };
    for (const auto& [name, suffixes] : photoKinds) {
        QStringList patterns;
        for (const QString& suffix : suffixes) {
            if (readable.contains(suffix))
                patterns << QStringLiteral("*.") + suffix;
        }
        if (!patterns.isEmpty())
            filters << QStringLiteral("Immagine %1 (%2)").arg(QLatin1String(name), patterns.join(u' '));
    }
    // Every picture the program reads, whatever its kind.
    QStringList every;
    for (const QString& suffix : std::as_const(readable))
        every << QStringLiteral("*.") + suffix;
    filters << QStringLiteral("Tutte le immagini (%1)").arg(every.join(u' '));
    return filters;
}

} // namespace

QString fileNotWrittenMessage() {
    return QStringLiteral(
        "Attenzione: non è stato possibile salvare la foto nel file indicato.\r\n\r\nVerificare "
        "di poter scrivere nella cartella scelta e che il nome del file termini con un'estensione "
        "di immagine, per esempio .jpg.");
}

QString savedMessage(const QString& path) {
    return QStringLiteral("La foto è stata salvata nel file \"%1\".").arg(QDir::toNativeSeparators(path));
}

QString load(QWidget* owner, PhotoView* frame) {
    const QString chosen = FileDialogs::openFile(
        owner, {QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."),
                photoFilters(),
                {},
                {},
                photoFolderToOpen()});
    if (chosen.isEmpty())
        return {};
    lastPhotoFolder() = QFileInfo(chosen).absolutePath();
    return loadFile(frame, chosen) ? chosen : QString();
}

bool loadFile(PhotoView* frame, const QString& path) {
    const CardPhoto photo = CardPhoto::fromFileInFull(path, frame->decodeSize());
    if (photo.isNull()) {
        frame->showPlaceholder();
        return false;
    }
    frame->setPhoto(photo);
    return true;
}

void saveToFile(QWidget* owner, const PhotoView& frame) {
    QString path = FileDialogs::saveFile(owner, {QStringLiteral("Selezionare la cartella in cui si desidera "
                                                                "salvare il file Jpeg."),
                                                 {QStringLiteral("File Jpeg (*.jpg)")},
                                                 QStringLiteral("Foto.jpg"),
                                                 QStringLiteral("jpg")});
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".jpg");
    if (PhotoStore::savePictureToFile(frame.photo().full(), path))
        MessageBox(savedMessage(QFileInfo(path).absoluteFilePath()), MsgKind::Information,
                   MsgButtons::OkCancel);
    else
        MessageBox(fileNotWrittenMessage(), MsgKind::Warning, MsgButtons::OkCancel);
}

void zoom(QWidget* owner, const PhotoView& frame) {
    openModal<ZoomWindow>(owner, [&frame](ZoomWindow& window) { window.setPhoto(frame.photo()); });
}

} // namespace EditorPhoto
