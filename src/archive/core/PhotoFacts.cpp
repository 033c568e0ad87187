// Reads a photo's metadata with Exiv2 and fills a card from it. Exiv2 is seen by this unit only.
#include "archive/core/PhotoFacts.h"

#include "archive/core/Cp1252.h"
#include "base/ProcessFormats.h"
#include "base/TextRules.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <mutex>
#include <string>

// Exiv2 0.27 hands its images out in std::auto_ptr, deprecated since C++11.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace PhotoFacts {

namespace {

// Exiv2 is set up once for the whole program, by whichever thread reads facts first: its log lines
// are silenced (a bad file is no news for the user), and the XMP toolkit, which Exiv2 otherwise sets
// up on first use from any thread at once, is set up here under a lock that Exiv2 then takes around
// every use of it.
std::mutex xmpToolkit;

void lockXmpToolkit(void* mutex, bool lock) {
    if (lock)
        static_cast<std::mutex*>(mutex)->lock();
    else
        static_cast<std::mutex*>(mutex)->unlock();
}

void prepareExiv2() {
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::LogMsg::setHandler(nullptr);
        Exiv2::XmpParser::initialize(&lockXmpToolkit, &xmpToolkit);
    });
}

// Text of unknown encoding: UTF-8 when the bytes are valid UTF-8, else Latin-1 (which every byte
// sequence is). Stops at the first NUL, as C strings in EXIF do.
QString fromUtf8OrLatin1(const std::string& bytes) {
    const QByteArrayView text(bytes.data(), qsizetype(std::min(bytes.find('\0'), bytes.size())));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(text);
    if (!utf8.hasError())
        return decoded;
    return QString::fromLatin1(text);
}

QString fromUtf8(const std::string& bytes) {
    return QString::fromUtf8(
        QByteArrayView(bytes.data(), qsizetype(std::min(bytes.find('\0'), bytes.size()))));
}

// ---- EXIF

const Exiv2::Exifdatum* exifDatum(const Exiv2::ExifData& exif, const char* key) {
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found == exif.end() ? nullptr : &*found;
}

// An EXIF ASCII tag: whatever the camera wrote, Latin-1 or UTF-8.
QString exifText(const Exiv2::ExifData& exif, const char* key) {
    const Exiv2::Exifdatum* datum = exifDatum(exif, key);
    if (!datum || datum->typeId() != Exiv2::asciiString)
        return {};
    return TextRules::trim(fromUtf8OrLatin1(datum->value().toString()));
}

// ---- XMP (always UTF-8)

// The texts of one XMP property: the default language of a language alternative (else its first
// language), every item of an array, or the simple value.
QStringList xmpTexts(const Exiv2::XmpData& xmp, const char* key) {
    const auto found = xmp.findKey(Exiv2::XmpKey(key));
    if (found == xmp.end())
        return {};
    const Exiv2::Value& value = found->value();
    QStringList texts;
    if (const auto* alternatives = dynamic_cast<const Exiv2::LangAltValue*>(&value)) {
        const auto preferred = alternatives->value_.find("x-default");
        if (preferred != alternatives->value_.end())
            texts << fromUtf8(preferred->second);
        else if (!alternatives->value_.empty())
            texts << fromUtf8(alternatives->value_.begin()->second);
    } else if (const auto* items = dynamic_cast<const Exiv2::XmpArrayValue*>(&value)) {
        for (long i = 0; i < items->count(); ++i)
            texts << fromUtf8(items->toString(i));
    } else if (dynamic_cast<const Exiv2::XmpTextValue*>(&value)) {
        texts << fromUtf8(value.toString());
    }
    QStringList kept;
    for (const QString& text : texts)
        if (const QString trimmed = TextRules::trim(text); !trimmed.isEmpty())
            kept << trimmed;
    return kept;
}

QString xmpText(const Exiv2::XmpData& xmp, const char* key) {
    return xmpTexts(xmp, key).join(QStringLiteral(", "));
}

// ---- IPTC

// Every dataset of one key (Keywords and Byline repeat), decoded as the record's coded character set
// says: UTF-8 when it names UTF-8 (ESC % G), else Latin-1.
QStringList iptcTexts(const Exiv2::IptcData& iptc, const char* key) {
    const std::string wanted(key);
    bool utf8 = false;
    for (const Exiv2::Iptcdatum& datum : iptc)
        if (datum.key() == "Iptc.Envelope.CharacterSet")
            utf8 = datum.value().toString() == "\x1b%G";
    QStringList texts;
    for (const Exiv2::Iptcdatum& datum : iptc) {
        if (datum.key() != wanted)
            continue;
        const std::string bytes = datum.value().toString();
        const QString text =
            TextRules::trim(utf8 ? fromUtf8(bytes)
                                 : QString::fromLatin1(QByteArrayView(
                                       bytes.data(), qsizetype(std::min(bytes.find('\0'), bytes.size())))));
        if (!text.isEmpty())
            texts << text;
    }
    return texts;
}

QString iptcText(const Exiv2::IptcData& iptc, const char* key) {
    const QStringList texts = iptcTexts(iptc, key);
    return texts.isEmpty() ? QString() : texts.first();
}

// ---- Dates

// Nothing a camera or a scanner writes falls before photography's first years; the years 0 and 1 are
// what a camera whose clock was never set writes.
constexpr int kEarliestYear = 1800;

bool plausible(QDate date) {
    return date.isValid() && date.year() >= kEarliestYear && date.year() <= 9999;
}

struct Moment {
    QDate date;
    QTime time;
};

// "2024:05:17 10:20:30" (EXIF), "2024-05-17T10:20:30+02:00" (XMP), "2024-05-17" or "20240517" (IPTC).
// Nothing for an impossible date or a date without its day ("2024-05").
std::optional<Moment> parseMoment(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        "^([0-9]{4})([:-]?)([0-9]{2})\\2([0-9]{2})(?:[ T]([0-9]{2}):([0-9]{2})(?::([0-9]{2}))?)?"));
    const QRegularExpressionMatch parts = form.match(TextRules::trim(text));
    if (!parts.hasMatch())
        return std::nullopt;
    const QDate date(parts.captured(1).toInt(), parts.captured(3).toInt(), parts.captured(4).toInt());
    if (!plausible(date))
        return std::nullopt;
    Moment moment{date, {}};
    if (parts.hasCaptured(5))
        moment.time = QTime(parts.captured(5).toInt(), parts.captured(6).toInt(), parts.captured(7).toInt());
    return moment;
}

// IPTC keeps the time apart: "10:20:30+02:00" or "102030+0200".
QTime parseIptcTime(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{2}):?([0-9]{2}):?([0-9]{2})"));
    const QRegularExpressionMatch parts = form.match(TextRules::trim(text));
    return parts.hasMatch()
               ? QTime(parts.captured(1).toInt(), parts.captured(2).toInt(), parts.captured(3).toInt())
               : QTime();
}

// ---- Collecting

QString firstOf(std::initializer_list<QString> candidates) {
    for (const QString& candidate : candidates)
        if (!candidate.isEmpty())
            return candidate;
    return {};
}

Facts collect(Exiv2::Image& image) {
    image.readMetadata();
    const Exiv2::ExifData& exif = image.exifData();
    const Exiv2::XmpData& xmp = image.xmpData();
    const Exiv2::IptcData& iptc = image.iptcData();

    Facts facts;
    for (const QString& text :
         {exifText(exif, "Exif.Photo.DateTimeOriginal"), xmpText(xmp, "Xmp.exif.DateTimeOriginal"),
          xmpText(xmp, "Xmp.photoshop.DateCreated"), xmpText(xmp, "Xmp.xmp.CreateDate")}) {
        if (const std::optional<Moment> moment = parseMoment(text)) {
            facts.capturedOn = moment->date;
            facts.capturedAt = moment->time;
            break;
        }
    }
    if (!facts.capturedOn.isValid()) {
        if (const std::optional<Moment> moment =
                parseMoment(iptcText(iptc, "Iptc.Application2.DateCreated"))) {
            facts.capturedOn = moment->date;
            facts.capturedAt = parseIptcTime(iptcText(iptc, "Iptc.Application2.TimeCreated"));
        }
    }

    facts.make = firstOf({exifText(exif, "Exif.Image.Make"), xmpText(xmp, "Xmp.tiff.Make")});
    facts.model = firstOf({exifText(exif, "Exif.Image.Model"), xmpText(xmp, "Xmp.tiff.Model")});
    facts.lens = firstOf({exifText(exif, "Exif.Photo.LensModel"), xmpText(xmp, "Xmp.exifEX.LensModel"),
                          xmpText(xmp, "Xmp.aux.Lens")});
    facts.artist = firstOf({exifText(exif, "Exif.Image.Artist"), xmpText(xmp, "Xmp.dc.creator"),
                            iptcTexts(iptc, "Iptc.Application2.Byline").join(QStringLiteral(", "))});
    facts.title = firstOf({xmpText(xmp, "Xmp.dc.title"), iptcText(iptc, "Iptc.Application2.ObjectName"),
                           iptcText(iptc, "Iptc.Application2.Headline")});
    for (const QString& text :
         {xmpText(xmp, "Xmp.dc.description"), iptcText(iptc, "Iptc.Application2.Caption"),
          exifText(exif, "Exif.Image.ImageDescription")}) {
        if (!isCameraPlaceholder(text)) {
            facts.description = text;
            break;
        }
    }
    facts.city = firstOf({xmpText(xmp, "Xmp.photoshop.City"), iptcText(iptc, "Iptc.Application2.City")});
    facts.subLocation =
        firstOf({xmpText(xmp, "Xmp.iptc.Location"), iptcText(iptc, "Iptc.Application2.SubLocation")});

    QStringList keywords = xmpTexts(xmp, "Xmp.dc.subject");
    if (keywords.isEmpty())
        keywords = iptcTexts(iptc, "Iptc.Application2.Keywords");
    keywords.removeDuplicates();
    facts.keywords = keywords;

    long orientation = 0;
    if (const Exiv2::Exifdatum* datum = exifDatum(exif, "Exif.Image.Orientation");
        datum && datum->typeId() == Exiv2::unsignedShort && datum->count() >= 1)
        orientation = datum->toLong(0);
    else if (const QString text = xmpText(xmp, "Xmp.tiff.Orientation"); !text.isEmpty())
        orientation = text.toLong();
    if (orientation >= 1 && orientation <= 8)
        facts.orientation = int(orientation);
    return facts;
}

// Opens and reads an image. Exiv2 reports a file it cannot make sense of by throwing (Exiv2::Error
// for a damaged file, std::bad_alloc or std::out_of_range from the rare bad length it does not check
// first): every one of them means no facts.
template <typename Open> Facts readWith(Open open) {
    try {
        prepareExiv2();
        Exiv2::Image::AutoPtr image = open();
        if (!image.get())
            return {};
        return collect(*image);
    } catch (...) {
        return {};
    }
}

} // namespace

bool Facts::isEmpty() const {
    return *this == Facts();
}

Facts readFile(const QString& path) {
    // A folder, a device or a pipe is no photo (Exiv2 would open a folder and fail on its first read,
    // and wait on a pipe forever).
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    return readWith([&path] {
        // A file of its own, never the URL or standard input Exiv2 makes of names such as "http://x"
        // or "-".
        Exiv2::BasicIo::AutoPtr file(new Exiv2::FileIo(QFile::encodeName(path).toStdString()));
        return Exiv2::ImageFactory::open(file);
    });
}

Facts readBytes(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return {};
    return readWith([bytes] {
        return Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(bytes.data()),
                                         long(bytes.size()));
    });
}

#pragma GCC diagnostic pop

// ---- Filling a card

bool isCameraPlaceholder(QStringView description) {
    // What cameras write into every photo they take, compared with blanks folded and A-Z in either case.
    static const char16_t* const kPlaceholders[] = {
        u"olympus digital camera",  u"sony dsc",
        u"digital camera",          u"kodak digital still camera",
        u"minolta digital camera",  u"konica minolta digital camera",
        u"samsung camera pictures", u"exif_jpeg_picture",
    };
    QString folded;
    for (QChar c : description) {
        if (TextRules::isTrimmedAway(c) || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)) {
            if (!folded.isEmpty() && !folded.endsWith(u' '))
                folded += u' ';
        } else {
            folded += QChar(TextRules::foldedAZ(c.unicode()));
        }
    }
    folded = TextRules::trim(folded);
    if (folded.isEmpty())
        return true;
    for (const char16_t* placeholder : kPlaceholders)
        if (folded == QStringView(placeholder))
            return true;
    return false;
}

QString cameraName(const QString& make, const QString& model) {
    const QString maker = TextRules::trim(make);
    const QString name = TextRules::trim(model);
    if (maker.isEmpty() || name.isEmpty())
        return maker.isEmpty() ? name : maker;
    const QString foldedName = TextRules::foldAZ(name);
    if (foldedName.startsWith(TextRules::foldAZ(maker)))
        return name;
    // "NIKON CORPORATION" and "NIKON Z 8", "EASTMAN KODAK COMPANY" and "KODAK EASYSHARE C340".
    const QString firstWord = foldedName.section(u' ', 0, 0);
    for (const QString& word : TextRules::foldAZ(maker).split(u' ', Qt::SkipEmptyParts))
        if (word == firstWord)
            return name;
    return maker + u' ' + name;
}

QString storableText(QStringView text, int capacity) {
    const QString nfc = TextRules::trim(text).normalized(QString::NormalizationForm_C);
    QString kept;
    kept.reserve(nfc.size());
    bool afterLeftOut = false; // a character was left out since the last letter
    const auto addBlank = [&kept] {
        if (!kept.isEmpty() && !kept.endsWith(u' '))
            kept += u' ';
    };
    for (char32_t c : nfc.toUcs4()) {
        if (c < 32 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029) {
            addBlank(); // a line break or a tab in a caption
        } else if (c == u' ') {
            if (!(afterLeftOut && kept.endsWith(u' ')))
                kept += u' ';
        } else if (Cp1252::holds(c)) {
            kept += QString::fromUcs4(&c, 1);
            afterLeftOut = false;
        } else if (const QString plain = Cp1252::plainLetters(c); !plain.isEmpty()) {
            kept += plain;
            afterLeftOut = false;
        } else {
            afterLeftOut = true; // "Łódź ★ centro" keeps one blank between its words
        }
    }
    return TextRules::trim(QStringView(TextRules::trim(kept)).left(capacity));
}

namespace {

int capacityOf(TScheda::Field field) {
    return TScheda::layout(field).capacity;
}

QString joinedPlace(const Facts& facts) {
    const QString city = TextRules::trim(facts.city);
    const QString place = TextRules::trim(facts.subLocation);
    if (city.isEmpty() || place.isEmpty() || city == place)
        return city.isEmpty() ? place : city;
    return city + QStringLiteral(", ") + place;
}

// The camera, and its lens after it when both fit whole.
QString cameraText(const Facts& facts) {
    const int capacity = capacityOf(TScheda::Fotocamera);
    const QString camera = storableText(cameraName(facts.make, facts.model), capacity);
    const QString lens = storableText(facts.lens, TScheda::kConvertedLimit);
    if (camera.isEmpty() || lens.isEmpty() || camera.size() + 2 + lens.size() > capacity)
        return camera;
    return camera + QStringLiteral(", ") + lens;
}

// "Parole chiave: " and as many whole keywords as the field holds; the first cut short when even it
// does not fit.
QString keywordsText(const QStringList& keywords) {
    const int capacity = capacityOf(TScheda::Note);
    const QString lead = QStringLiteral("Parole chiave: ");
    QString text;
    QStringList seen;
    for (const QString& keyword : keywords) {
        const QString kept = storableText(keyword, capacity);
        if (kept.isEmpty() || seen.contains(kept))
            continue;
        seen << kept;
        const QString longer =
            text.isEmpty() ? QString(lead + kept) : QString(text + QStringLiteral(", ") + kept);
        if (longer.size() > capacity) {
            if (text.isEmpty())
                text = storableText(longer, capacity);
            break;
        }
        text = longer;
    }
    return text;
}

} // namespace

QList<TScheda::Field> fillCard(CardTexts& texts, const Facts& facts) {
    QList<TScheda::Field> filled;
    const auto offer = [&](TScheda::Field field, const QString& text) {
        if (!TextRules::trim(texts[field]).isEmpty())
            return; // the user's own text stays
        const QString kept = storableText(text, capacityOf(field));
        if (kept.isEmpty())
            return;
        texts[field] = kept;
        filled << field;
    };
    offer(TScheda::Titolo, facts.title);
    if (!isCameraPlaceholder(facts.description))
        offer(TScheda::Descrizione, facts.description);
    // The date as the editor's calendar writes it; a format that gives more than the field holds
    // (the process formats not yet in force) fills nothing rather than a date cut short.
    if (const QString date =
            plausible(facts.capturedOn) ? ProcessFormats::dateText(facts.capturedOn) : QString();
        date.size() <= capacityOf(TScheda::Data))
        offer(TScheda::Data, date);
    offer(TScheda::Location, joinedPlace(facts));
    offer(TScheda::Fotografo, facts.artist);
    offer(TScheda::Fotocamera, cameraText(facts));
    offer(TScheda::Note, keywordsText(facts.keywords));
    return filled;
}

} // namespace PhotoFacts
