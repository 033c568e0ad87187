// The commands of the editor's photo panel: load a picture file into the frame, write the frame's
// picture to a file the user chooses, and show it in the zoom window.
#pragma once

#include <QString>

class PhotoView;
class QWidget;

namespace EditorPhoto {

// A picture file the user picks, decoded in full into the frame; one that cannot be decoded leaves
// the placeholder. The file window opens in the folder of the picture loaded last in this run. Returns
// the file of the picture now in the frame, none when the user cancelled or it could not be decoded.
QString load(QWidget* owner, PhotoView* frame);
// The same for a picture file given (dropped on the frame): true when it is now in the frame.
bool loadFile(PhotoView* frame, const QString& path);
// The frame's full-size picture, written whole; the encoder follows the file's extension. The user is
// told the file it went to; a picture that cannot be written stays in the frame, and the user is told.
void saveToFile(QWidget* owner, const PhotoView& frame);
// The frame's picture in the zoom window, as large as the screen allows.
void zoom(QWidget* owner, const PhotoView& frame);

QString fileNotWrittenMessage();
// The confirmation of a picture written to a file, naming the file with its folder.
QString savedMessage(const QString& path);

} // namespace EditorPhoto
