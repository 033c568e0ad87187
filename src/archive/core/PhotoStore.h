// The photos of the cards: one JPEG per card in the folder "Book_Zudid" beside the program, named
// after the book and the card's position ("Giulia_Foto_3.jpg"), and the placeholder picture that
// stands in for a photo that is missing or cannot be read.
//
// A photo is decoded at the size it is shown when its file is larger, upright as its EXIF orientation
// says; the full-size picture is decoded only when something needs it (saving, zoom, print).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

// The picture of a card as the photo frame holds it.
class CardPhoto {
public:
    CardPhoto() = default;
    // A picture already in memory at full size (the placeholder, a picture made by the program).
    static CardPhoto fromImage(const QImage& image);
    // A photo file, decoded at once for a frame of the given size (device pixels) and in full only on
    // demand. A file that cannot be decoded gives a null photo.
    static CardPhoto fromFile(const QString& path, QSize frame);
    // A picture file decoded in full at once, so the picture no longer depends on the file (a photo
    // the user picks may live on a drive that is gone by the time the card is saved).
    static CardPhoto fromFileInFull(const QString& path, QSize frame);

    bool isNull() const { return m_fullSize.isEmpty(); }
    // The picture's size at full resolution, upright.
    QSize fullSize() const { return m_fullSize; }
    // The picture for display, at most as large as the frame it was decoded for.
    const QImage& display() const { return m_display; }
    // The full-size picture, decoded from its file the first time it is asked for; a null image when
    // the file can no longer be decoded.
    QImage full() const;
    // True when this is the picture of the given file, still undecoded at full size or not.
    QString sourcePath() const { return m_path; }
    // A copy that shares the display version but not a full picture decoded from the file since: what
    // a cache keeps, so that a photo once zoomed does not hold its full picture there.
    CardPhoto withoutDecodedFull() const;

private:
    // The picture decoded at full size, with a copy shrunk to the frame when it does not fit.
    static CardPhoto inFull(const QImage& full, QSize frame);

    QString m_path;
    QSize m_fullSize;
    QImage m_display;
    // Shared so that copies of a photo decode its full picture once.
    std::shared_ptr<QImage> m_full;
};

namespace PhotoStore {

// Pictures larger than this many pixels are refused as damaged or hostile files.
inline constexpr qint64 kMaxPixels = 250'000'000;
// Photos are re-encoded only when they changed, and then with little loss.
inline constexpr int kJpegQuality = 92;

QString folder();
// The photo file of a card: <folder>/<book name>_Foto_<position>.jpg.
QString photoPath(const QString& bookName, int position);

// Creates the photo folder and its missing parents; false when it cannot.
bool ensureFolder();

// True when the path leads, through any links, to a regular file: the only kind of file read as a
// picture or an attachment. Opening anything else (a pipe, a device) could wait for ever.
bool isRegularFile(const QString& path);

// The placeholder picture, 307 x 409.
QImage placeholder();
inline constexpr QSize kPlaceholderSize{307, 409};

// The bytes of the photo file the editor writes for a card saved while its frame shows the
// placeholder: the placeholder encoded as saveCardPhoto encodes a card's photo. Made once, on the
// first call; safe on any thread after that.
QByteArray placeholderPhotoFile();
// True when the file at the path is that placeholder file byte for byte: such a card has no photo of
// its own, and the outputs print it as a card without a photo. Only a regular file of the very same
// size is read, so a photo costs a look at its size.
bool isPlaceholderPhoto(const QString& path);
bool isPlaceholderBytes(QByteArrayView file);

// The card's photo for a frame of the given size, or a null photo when it is missing or unreadable.
CardPhoto loadCardPhoto(const QString& bookName, int position, QSize frame);

// True when the photo is the one read from the card's own photo file, which still exists: saving the
// card then leaves that file as it is.
bool isStoredPhotoOf(const CardPhoto& photo, const QString& bookName, int position);

// Writes a picture as the card's photo (JPEG of high quality, full size), replacing the file whole;
// false on failure, in which case the earlier file, if any, is left as it was.
bool saveCardPhoto(const QImage& picture, const QString& bookName, int position);

// A picture file decoded in full and upright, as a photo the user loads is decoded; a null image when
// it cannot be.
QImage decodePicture(const QString& path);

// The bytes of the card's photo file for a picture: laid on white when it has transparent parts, then
// JPEG of kJpegQuality at full size. Empty for a null picture.
QByteArray encodeCardPhoto(const QImage& picture);

// Writes the bytes, as they are, as the card's photo file, replacing it whole; false with the system's
// words in error (when given) on failure, in which case the earlier file, if any, is left as it was.
bool writeCardPhotoFile(QByteArrayView bytes, const QString& bookName, int position,
                        QString* error = nullptr);

// Writes a picture to a file of the user's choice, replacing it whole. The encoder follows the file's
// extension (any case), JPEG when it has none; JPEG is written with kJpegQuality, the other formats
// with their encoder's own settings. False when the picture is null, the extension names no encoder
// or the file cannot be replaced, in which case the earlier file, if any, is left as it was.
bool savePictureToFile(const QImage& picture, const QString& path);

} // namespace PhotoStore
