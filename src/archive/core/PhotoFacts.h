// What a photo says about itself in its EXIF, XMP and IPTC metadata (when it was taken, with which
// camera and lens, by whom, its title, description, place and keywords), read by Exiv2 without
// decoding the picture, and the rule that fills a card's empty fields from it.
//
// A file Exiv2 cannot read, or one it stumbles on half-way, gives no facts: nothing of Exiv2's
// errors or log lines reaches the user.
#pragma once

#include "archive/core/TScheda.h"

#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTime>

#include <array>
#include <optional>

namespace PhotoFacts {

struct Facts {
    QDate capturedOn; // the day the photo was taken; invalid when unknown or impossible
    QTime capturedAt; // the time of day on the camera's clock; invalid when unknown
    QString make;     // the camera's maker as the camera writes it ("NIKON CORPORATION")
    QString model;    // the camera's model ("NIKON Z 8")
    QString lens;
    QString artist; // several creators joined by ", "
    QString title;
    QString description;
    QString city;
    QString subLocation; // the place within the city ("Brera")
    QStringList keywords;
    std::optional<int> orientation; // the EXIF orientation, 1 to 8

    bool isEmpty() const;
    bool operator==(const Facts&) const = default;
};

// The facts of the photo file at path; none for a file that is not there, is no regular file or
// that Exiv2 cannot read.
Facts readFile(const QString& path);
// The same for a photo file held in memory.
Facts readBytes(QByteArrayView bytes);

// Whether a description is one a camera writes on every photo ("OLYMPUS DIGITAL CAMERA", "SONY DSC")
// or holds nothing but blanks and control characters.
bool isCameraPlaceholder(QStringView description);

// The camera as a card names it: the model alone when it already names the maker ("Canon" and
// "Canon EOS R5"; "NIKON CORPORATION" and "NIKON Z 8"), else maker and model.
QString cameraName(const QString& make, const QString& model);

// A text as a card's field keeps it: NFC, a character the code page does not hold replaced by its
// plain letters or left out when there are none, control characters turned into a blank, at most
// capacity characters (one byte each in the book) and trimmed.
QString storableText(QStringView text, int capacity);

// The twelve text fields of a card, in the order of TScheda's fields (Titolo to Note).
using CardTexts = std::array<QString, 12>;

// Fills every field of texts that is empty after trimming and for which the facts hold something:
// Data with the capture date in the program's date text, Fotocamera with the camera (and its lens
// when there is room), Fotografo, Titolo, Descrizione (not a camera's placeholder), Location with
// city and place, Note with the keywords. A field the user typed is never touched. Returns the
// fields filled, in the order of the card.
QList<TScheda::Field> fillCard(CardTexts& texts, const Facts& facts);

} // namespace PhotoFacts
