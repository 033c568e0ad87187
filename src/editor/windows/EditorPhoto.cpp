#include "editor/windows/EditorPhoto.h"

#include "archive/core/PhotoStore.h"
#include "archive/windows/PhotoView.h"
#include "editor/windows/Zoom.h"
#include "ui/FileDialogs.h"
#include "ui/Messages.h"
#include "ui/WindowFrame.h"

#include <QDir>
#include <QFileInfo>

namespace EditorPhoto {

QString fileNotWrittenMessage() {
    return QStringLiteral(
        "Attenzione: non è stato possibile salvare la foto nel file indicato.\r\n\r\nVerificare "
        "di poter scrivere nella cartella scelta e che il nome del file termini con un'estensione "
        "di immagine, per esempio .jpg.");
}

QString savedMessage(const QString& path) {
    return QStringLiteral("La foto è stata salvata nel file \"%1\".").arg(QDir::toNativeSeparators(path));
}

void load(QWidget* owner, PhotoView* frame) {
    const QString chosen = FileDialogs::openFile(
        owner, {QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."),
                {QStringLiteral("Immagine JPEG (*.jpg *.jpeg)"), QStringLiteral("Immagine Bitmap (*.bmp)")},
                {},
                {}});
    if (chosen.isEmpty())
        return;
    const CardPhoto photo = CardPhoto::fromFileInFull(chosen, frame->decodeSize());
    if (photo.isNull())
        frame->showPlaceholder();
    else
        frame->setPhoto(photo);
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
    if (PhotoStore::SavePictureToFile(frame.photo().full(), path))
        MessageBox(savedMessage(QFileInfo(path).absoluteFilePath()), MsgKind::Information,
                   MsgButtons::OkCancel);
    else
        MessageBox(fileNotWrittenMessage(), MsgKind::Warning, MsgButtons::OkCancel);
}

void zoom(QWidget* owner, const PhotoView& frame) {
    openModal<TfrmZoom>(owner, [&frame](TfrmZoom& window) { window.setPhoto(frame.photo()); });
}

} // namespace EditorPhoto
