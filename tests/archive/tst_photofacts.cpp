// A photo's facts read from its EXIF, XMP and IPTC metadata, and the card fields they fill: sample
// photos made here with Exiv2 (both byte orders, each kind of metadata alone, JPEG, PNG and TIFF,
// damaged EXIF, text a book cannot store, values longer than their fields), and files that are no
// photo at all.
#include "PhotoSamples.h"
#include "TestFiles.h"
#include "archive/core/PhotoFacts.h"
#include "base/ProcessFormats.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using PhotoFacts::CardTexts;
using PhotoSamples::Metadata;

namespace {

// A card's twelve texts, each field named by its TScheda field.
using Texts = QList<std::pair<TScheda::Field, QString>>;

QStringList card(const Texts& texts) {
    QStringList card(12);
    for (const auto& [field, text] : texts)
        card[field] = text;
    return card;
}

QByteArray jpegWith(const Metadata& metadata, Exiv2::ByteOrder order = Exiv2::littleEndian) {
    return PhotoSamples::withMetadata(PhotoSamples::picture("JPEG"), metadata, order);
}

// The camera most samples come from.
Metadata nikon() {
    Metadata m;
    m.exif["Exif.Image.Make"] = "NIKON CORPORATION";
    m.exif["Exif.Image.Model"] = "NIKON Z 8";
    m.exif["Exif.Photo.LensModel"] = "NIKKOR Z 24-120mm f/4 S";
    m.exif["Exif.Photo.DateTimeOriginal"] = "2024:05:17 10:20:30";
    m.exif["Exif.Image.Artist"] = "Anna Rossi";
    m.exif["Exif.Image.ImageDescription"] = "Sfilata in Brera";
    m.exif["Exif.Image.Orientation"] = uint16_t(6);
    return m;
}

const Texts kNikonCard = {
    {TScheda::Descrizione, u"Sfilata in Brera"_s},
    {TScheda::Data, u"17/05/2024"_s},
    {TScheda::Fotografo, u"Anna Rossi"_s},
    {TScheda::Fotocamera, u"NIKON Z 8, NIKKOR Z 24-120mm f/4 S"_s},
};

Metadata xmpOnly() {
    Metadata m;
    m.xmp["Xmp.dc.title"] = "Ritratto in giardino";
    m.xmp["Xmp.dc.description"] = "Luce del mattino";
    m.xmp["Xmp.dc.creator"] = "Giulia Verdi";
    m.xmp["Xmp.dc.subject"] = "moda";
    m.xmp["Xmp.dc.subject"] = "ritratto";
    m.xmp["Xmp.dc.subject"] = "moda"; // a keyword twice is named once
    m.xmp["Xmp.photoshop.City"] = "Milano";
    m.xmp["Xmp.iptc.Location"] = "Brera";
    m.xmp["Xmp.xmp.CreateDate"] = "2022-07-01T18:30:00+02:00";
    m.xmp["Xmp.tiff.Make"] = "FUJIFILM";
    m.xmp["Xmp.tiff.Model"] = "X-T5";
    return m;
}

const Texts kXmpCard = {
    {TScheda::Titolo, u"Ritratto in giardino"_s},
    {TScheda::Descrizione, u"Luce del mattino"_s},
    {TScheda::Data, u"01/07/2022"_s},
    {TScheda::Location, u"Milano, Brera"_s},
    {TScheda::Fotografo, u"Giulia Verdi"_s},
    {TScheda::Fotocamera, u"FUJIFILM X-T5"_s},
    {TScheda::Note, u"Parole chiave: moda, ritratto"_s},
};

Metadata iptcOnly(bool utf8) {
    Metadata m;
    if (utf8)
        m.iptc["Iptc.Envelope.CharacterSet"] = "\x1b%G";
    const std::string cafe = utf8 ? "Caff\xc3\xa8 all'aperto" : "Caff\xe8 all'aperto";
    m.iptc["Iptc.Application2.ObjectName"] = "Dehors";
    m.iptc["Iptc.Application2.Caption"] = cafe + "\r\nsecondo scatto";
    m.iptc["Iptc.Application2.City"] = "Roma";
    m.iptc["Iptc.Application2.SubLocation"] = "Trastevere";
    PhotoSamples::addIptc(m.iptc, "Iptc.Application2.Byline", "Marco Bianchi");
    PhotoSamples::addIptc(m.iptc, "Iptc.Application2.Byline", "Sara Neri");
    PhotoSamples::addIptc(m.iptc, "Iptc.Application2.Keywords", "estate");
    PhotoSamples::addIptc(m.iptc, "Iptc.Application2.Keywords", utf8 ? "caff\xc3\xa8" : "caff\xe8");
    m.iptc["Iptc.Application2.DateCreated"] = "2021-03-04";
    m.iptc["Iptc.Application2.TimeCreated"] = "18:30:00+01:00";
    return m;
}

const Texts kIptcCard = {
    {TScheda::Titolo, u"Dehors"_s},
    {TScheda::Descrizione, u"Caffè all'aperto secondo scatto"_s},
    {TScheda::Data, u"04/03/2021"_s},
    {TScheda::Location, u"Roma, Trastevere"_s},
    {TScheda::Fotografo, u"Marco Bianchi, Sara Neri"_s},
    {TScheda::Note, u"Parole chiave: estate, caffè"_s},
};

} // namespace

class TestPhotoFacts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        ProcessFormats::setSystemLocale(QLocale(QLocale::Italian, QLocale::Italy));
        ProcessFormats::apply();
        QVERIFY(m_dir.isValid());
    }

    // Every sample read from its bytes and from a file, and the fields of a card it fills.
    void fill_data() {
        QTest::addColumn<QByteArray>("photo");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("filled");
        QTest::addColumn<int>("orientation"); // 0: none

        const QStringList blank = card({});
        QTest::newRow("EXIF little-endian (II)")
            << jpegWith(nikon(), Exiv2::littleEndian) << blank << card(kNikonCard) << 6;
        QTest::newRow("EXIF big-endian (MM)")
            << jpegWith(nikon(), Exiv2::bigEndian) << blank << card(kNikonCard) << 6;
        QTest::newRow("no metadata") << PhotoSamples::picture("JPEG") << blank << blank << 0;
        QTest::newRow("XMP only") << jpegWith(xmpOnly()) << blank << card(kXmpCard) << 0;
        QTest::newRow("IPTC only, UTF-8") << jpegWith(iptcOnly(true)) << blank << card(kIptcCard) << 0;
        QTest::newRow("IPTC only, Latin-1") << jpegWith(iptcOnly(false)) << blank << card(kIptcCard) << 0;

        {
            // The user's texts stay; a field of blanks counts as empty.
            QStringList typed = card({{TScheda::Titolo, u"Il mio titolo"_s},
                                      {TScheda::Data, u"  "_s},
                                      {TScheda::Fotocamera, u"Leica M6"_s},
                                      {TScheda::Note, u" \t"_s}});
            QStringList filled = card(kXmpCard);
            filled[TScheda::Titolo] = u"Il mio titolo"_s;
            filled[TScheda::Fotocamera] = u"Leica M6"_s;
            QTest::newRow("typed fields stay") << jpegWith(xmpOnly()) << typed << filled << 0;
        }
        {
            Metadata m;
            m.xmp["Xmp.dc.title"] = "Łódź ★ Piotrkowska";
            m.xmp["Xmp.dc.creator"] = "Paweł Øster";
            m.xmp["Xmp.photoshop.City"] = "Ｍilano"; // a full-width letter
            m.xmp["Xmp.dc.description"] = "★★★";
            QTest::newRow("text outside Windows-1252") << jpegWith(m) << blank
                                                       << card({{TScheda::Titolo, u"Lódz Piotrkowska"_s},
                                                                {TScheda::Location, u"Milano"_s},
                                                                {TScheda::Fotografo, u"Pawel Øster"_s}})
                                                       << 0;
        }
        {
            Metadata m;
            m.exif["Exif.Image.Artist"] = "Jos\xe9 Mart\xedn";                 // Latin-1
            m.exif["Exif.Image.ImageDescription"] = "Caff\xc3\xa8 e cornetto"; // UTF-8
            QTest::newRow("EXIF text in Latin-1 and UTF-8")
                << jpegWith(m) << blank
                << card({{TScheda::Descrizione, u"Caffè e cornetto"_s},
                         {TScheda::Fotografo, u"José Martín"_s}})
                << 0;
        }
        {
            Metadata m;
            const QString title = u"Passerella "_s.repeated(12) + u"fine"_s;
            m.xmp["Xmp.dc.title"] = title.toStdString();
            m.xmp["Xmp.photoshop.City"] = "San Giovanni in Persiceto";
            m.xmp["Xmp.iptc.Location"] = "Piazza del Popolo e dintorni";
            m.exif["Exif.Image.Make"] = "OLYMPUS IMAGING CORP.";
            m.exif["Exif.Image.Model"] = "E-M1MarkII";
            m.exif["Exif.Photo.LensModel"] = "OLYMPUS M.12-40mm F2.8";
            for (int i = 1; i <= 40; ++i)
                m.xmp["Xmp.dc.subject"] =
                    QStringLiteral("parola%1").arg(i, 2, 10, QLatin1Char('0')).toStdString();
            // The lead (15 characters) and 23 whole keywords of 8 letters: 15 + 8 + 22 * 10 = 243; a 24th
            // would not fit.
            QStringList keywords;
            for (int i = 1; i <= 23; ++i)
                keywords << QStringLiteral("parola%1").arg(i, 2, 10, QLatin1Char('0'));
            QTest::newRow("values longer than their fields")
                << jpegWith(m) << blank
                << card({{TScheda::Titolo, title.left(120).trimmed()},
                         {TScheda::Location, u"San Giovanni in Persiceto, Piazza del Popolo e din"_s},
                         {TScheda::Fotocamera, u"OLYMPUS IMAGING CORP. E-M1MarkII"_s},
                         {TScheda::Note, u"Parole chiave: "_s + keywords.join(u", "_s)}})
                << 0;
        }
        {
            Metadata m;
            m.exif["Exif.Image.ImageDescription"] = "OLYMPUS DIGITAL CAMERA         ";
            m.exif["Exif.Image.Make"] = "OLYMPUS CORPORATION";
            m.exif["Exif.Image.Model"] = "TG-6";
            QTest::newRow("camera's placeholder description")
                << jpegWith(m) << blank << card({{TScheda::Fotocamera, u"OLYMPUS CORPORATION TG-6"_s}}) << 0;
        }
        {
            Metadata m;
            m.exif["Exif.Image.ImageDescription"] = "SONY DSC";
            m.iptc["Iptc.Application2.Caption"] = "Backstage";
            QTest::newRow("placeholder passed over for a real description")
                << jpegWith(m) << blank << card({{TScheda::Descrizione, u"Backstage"_s}}) << 0;
        }
        {
            Metadata m;
            m.exif["Exif.Photo.DateTimeOriginal"] = "0000:00:00 00:00:00";
            m.exif["Exif.Image.Make"] = "FUJIFILM";
            m.exif["Exif.Image.Model"] = "X-T5";
            QTest::newRow("zero date")
                << jpegWith(m) << blank << card({{TScheda::Fotocamera, u"FUJIFILM X-T5"_s}}) << 0;
        }
        {
            Metadata m;
            m.exif["Exif.Photo.DateTimeOriginal"] = "2024:13:01 10:00:00";
            m.xmp["Xmp.photoshop.DateCreated"] = "2020-02-29";
            QTest::newRow("impossible EXIF date, XMP date instead")
                << jpegWith(m) << blank << card({{TScheda::Data, u"29/02/2020"_s}}) << 0;
        }
        {
            Metadata m;
            m.xmp["Xmp.photoshop.DateCreated"] = "2023-02-29";
            m.xmp["Xmp.xmp.CreateDate"] = "2024-05";
            QTest::newRow("no day in the calendar, no day at all") << jpegWith(m) << blank << blank << 0;
        }
        {
            Metadata m;
            m.exif["Exif.Image.Orientation"] = uint16_t(8);
            QTest::newRow("orientation alone") << jpegWith(m, Exiv2::bigEndian) << blank << blank << 8;
        }
        {
            Metadata m = nikon();
            m.exif["Exif.Image.Orientation"] = uint16_t(9);
            QTest::newRow("orientation out of range") << jpegWith(m) << blank << card(kNikonCard) << 0;
        }
        {
            // What lies in the first 150 bytes of the EXIF data is read: the first directory and the
            // texts it points to; the photo's own directory (date, lens) lies beyond them.
            const QByteArray whole = jpegWith(nikon());
            QTest::newRow("EXIF cut short in its segment")
                << PhotoSamples::withExifCutShort(whole, 150) << blank
                << card({{TScheda::Descrizione, u"Sfilata in Brera"_s},
                         {TScheda::Fotografo, u"Anna Rossi"_s},
                         {TScheda::Fotocamera, u"NIKON Z 8"_s}})
                << 6;
            QTest::newRow("EXIF cut short after its header")
                << PhotoSamples::withExifCutShort(whole, 20) << blank << blank << 0;
            QTest::newRow("file cut off inside the EXIF segment")
                << whole.left(PhotoSamples::app1At(whole) + 60) << blank << blank << 0;
        }
        {
            Metadata m = nikon();
            m.xmp["Xmp.dc.title"] = "In PNG";
            Texts texts = kNikonCard;
            texts << std::pair{TScheda::Titolo, u"In PNG"_s};
            QTest::newRow("PNG") << PhotoSamples::withMetadata(PhotoSamples::picture("PNG"), m) << blank
                                 << card(texts) << 6;
        }
        for (bool bigEndian : {false, true}) {
            Metadata m;
            m.exif["Exif.Image.Make"] = "Canon";
            m.exif["Exif.Image.Model"] = "Canon EOS R5";
            m.exif["Exif.Image.Artist"] = "Luca Gialli";
            m.exif["Exif.Photo.DateTimeOriginal"] = "2023:12:31 23:59:59";
            m.xmp["Xmp.dc.subject"] = "scansione";
            QTest::addRow("TIFF %s", bigEndian ? "MM" : "II")
                << PhotoSamples::withMetadata(PhotoSamples::tiff(bigEndian), m) << blank
                << card({{TScheda::Data, u"31/12/2023"_s},
                         {TScheda::Fotografo, u"Luca Gialli"_s},
                         {TScheda::Fotocamera, u"Canon EOS R5"_s},
                         {TScheda::Note, u"Parole chiave: scansione"_s}})
                << 0;
        }
    }
    void fill() {
        QFETCH(QByteArray, photo);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, filled);
        QFETCH(int, orientation);
        QVERIFY(!photo.isEmpty());

        const PhotoFacts::Facts facts = PhotoFacts::readBytes(photo);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u'/', u'-'));
        QVERIFY(writeFile(path, photo));
        QCOMPARE(PhotoFacts::readFile(path), facts);
        QCOMPARE(facts.orientation.value_or(0), orientation);

        CardTexts texts;
        std::copy(typed.begin(), typed.end(), texts.begin());
        const QList<TScheda::Field> fields = PhotoFacts::fillCard(texts, facts);
        QCOMPARE(QStringList(texts.begin(), texts.end()), filled);
        QList<TScheda::Field> changed;
        for (int f = 0; f < 12; ++f)
            if (filled[f] != typed[f])
                changed << TScheda::Field(f);
        QCOMPARE(fields, changed);

        // What was filled is what the card stores, unchanged.
        for (TScheda::Field field : fields) {
            TScheda stored;
            stored.setField(field, texts[field]);
            QCOMPARE(stored.field(field), texts[field]);
        }
    }

    // The byte order asked for is the one written: the table's two EXIF samples differ.
    void byteOrders() {
        const QByteArray intel = jpegWith(nikon(), Exiv2::littleEndian);
        const QByteArray motorola = jpegWith(nikon(), Exiv2::bigEndian);
        QVERIFY(intel.contains(QByteArrayView("Exif\0\0II*\0", 10)));
        QVERIFY(motorola.contains(QByteArrayView("Exif\0\0MM\0*", 10)));
    }

    // A whole capture moment: the time is kept beside the day.
    void captureTime_data() {
        QTest::addColumn<QByteArray>("photo");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::newRow("EXIF") << jpegWith(nikon()) << QDate(2024, 5, 17) << QTime(10, 20, 30);
        QTest::newRow("XMP") << jpegWith(xmpOnly()) << QDate(2022, 7, 1) << QTime(18, 30);
        QTest::newRow("IPTC") << jpegWith(iptcOnly(true)) << QDate(2021, 3, 4) << QTime(18, 30);
    }
    void captureTime() {
        QFETCH(QByteArray, photo);
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        const PhotoFacts::Facts facts = PhotoFacts::readBytes(photo);
        QCOMPARE(facts.capturedOn, date);
        QCOMPARE(facts.capturedAt, time);
    }

    // Whatever is no photo gives no facts, and nothing else happens.
    void noPhoto_data() {
        QTest::addColumn<QByteArray>("bytes");
        QRandomGenerator random(20240517);
        QByteArray noise(4096, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        QTest::newRow("random bytes") << noise;
        QTest::newRow("one byte") << QByteArray("\xff", 1);
        QTest::newRow("JPEG start, then noise") << QByteArray("\xff\xd8\xff\xe1\xff\xff", 6) + noise;
        QTest::newRow("TIFF header pointing far away") << QByteArray("II*\0\xff\xff\xff\x7f", 8);
        QTest::newRow("TIFF directory of 65535 entries") << QByteArray("MM\0*\0\0\0\x08\xff\xff", 10) + noise;
        QTest::newRow("PNG signature alone") << QByteArray("\x89PNG\r\n\x1a\n", 8);
        QTest::newRow("XMP packet alone") << QByteArray("<x:xmpmeta xmlns:x='adobe:ns:meta/'>");
    }
    void noPhoto() {
        QFETCH(QByteArray, bytes);
        QVERIFY(PhotoFacts::readBytes(bytes).isEmpty());
        const QString path = m_dir.filePath(u"noise"_s);
        QVERIFY(writeFile(path, bytes));
        QVERIFY(PhotoFacts::readFile(path).isEmpty());
    }

    void noFile() {
        QVERIFY(PhotoFacts::readBytes(QByteArray()).isEmpty());
        const QString empty = m_dir.filePath(u"empty.jpg"_s);
        QVERIFY(writeFile(empty, {}));
        QVERIFY(PhotoFacts::readFile(empty).isEmpty());
        QVERIFY(PhotoFacts::readFile(m_dir.path()).isEmpty()); // a folder
        QVERIFY(PhotoFacts::readFile(m_dir.filePath(u"missing.jpg"_s)).isEmpty());
        QVERIFY(PhotoFacts::readFile(QString()).isEmpty());
        QVERIFY(PhotoFacts::readFile(u"/dev/zero"_s).isEmpty()); // a device Exiv2 would read for ever
    }

    // A file named as Exiv2 names a web address or standard input is read as a file.
    void namesThatLookLikeAddresses() {
        const QByteArray photo = jpegWith(nikon());
        const QString folder = m_dir.filePath(u"http:"_s);
        QVERIFY(QDir().mkpath(folder + u"/example.com"_s));
        QVERIFY(writeFile(folder + u"/example.com/foto.jpg"_s, photo));
        QVERIFY(writeFile(m_dir.filePath(u"-"_s), photo));
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        const PhotoFacts::Facts address = PhotoFacts::readFile(u"http://example.com/foto.jpg"_s);
        const PhotoFacts::Facts dash = PhotoFacts::readFile(u"-"_s);
        QVERIFY(QDir::setCurrent(current));
        QCOMPARE(address.model, u"NIKON Z 8"_s);
        QCOMPARE(dash.model, u"NIKON Z 8"_s);
    }

    void cameraName_data() {
        QTest::addColumn<QString>("make");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("name");
        QTest::newRow("model repeats the maker's first word")
            << u"NIKON CORPORATION"_s << u"NIKON Z 8"_s << u"NIKON Z 8"_s;
        QTest::newRow("model starts with the maker") << u"Canon"_s << u"Canon EOS R5"_s << u"Canon EOS R5"_s;
        QTest::newRow("model alone") << u"FUJIFILM"_s << u"X-T5"_s << u"FUJIFILM X-T5"_s;
        QTest::newRow("another case") << u"SONY"_s << u"Sony ILCE-7M4"_s << u"Sony ILCE-7M4"_s;
        QTest::newRow("maker's later word")
            << u"EASTMAN KODAK COMPANY"_s << u"KODAK EASYSHARE C340"_s << u"KODAK EASYSHARE C340"_s;
        QTest::newRow("no maker") << QString() << u"X100V"_s << u"X100V"_s;
        QTest::newRow("no model") << u"  Leica "_s << QString() << u"Leica"_s;
        QTest::newRow("a word that only starts alike") << u"Pen"_s << u"Pentax K1"_s << u"Pentax K1"_s;
    }
    void cameraName() {
        QFETCH(QString, make);
        QFETCH(QString, model);
        QFETCH(QString, name);
        QCOMPARE(PhotoFacts::cameraName(make, model), name);
    }

    void storableText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<QString>("stored");
        QTest::newRow("held as it is") << u"Città d'€uro"_s << 50 << u"Città d'€uro"_s;
        QTest::newRow("accent typed apart") << u"Citta\u0300"_s << 50 << u"Città"_s;
        QTest::newRow("plain letters") << u"Łódź"_s << 50 << u"Lódz"_s;
        QTest::newRow("ligature") << u"ﬁore"_s << 50 << u"fiore"_s;
        QTest::newRow("left out, one blank stays") << u"a ★ b"_s << 50 << u"a b"_s;
        QTest::newRow("lines joined") << u"uno\r\n\tdue"_s << 50 << u"uno due"_s;
        QTest::newRow("cut, no blank at the end") << u"abcd efgh"_s << 5 << u"abcd"_s;
        QTest::newRow("cut after the plain letters") << u"ŁŁŁŁ"_s << 3 << u"LLL"_s;
        QTest::newRow("emoji") << u"ok 😀"_s << 50 << u"ok"_s;
        QTest::newRow("a lone surrogate") << QString(QChar(0xD800)) + u"x"_s << 50 << u"x"_s;
        QTest::newRow("blanks only") << u" \x01\x1f "_s << 50 << QString();
    }
    void storableText() {
        QFETCH(QString, text);
        QFETCH(int, capacity);
        QFETCH(QString, stored);
        QCOMPARE(PhotoFacts::storableText(text, capacity), stored);
    }

    void placeholders_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("placeholder");
        QTest::newRow("Olympus, padded") << u"OLYMPUS DIGITAL CAMERA         "_s << true;
        QTest::newRow("Sony") << u"SONY DSC"_s << true;
        QTest::newRow("Kodak") << u"KODAK Digital Still Camera"_s << true;
        QTest::newRow("generic, other case") << u"Digital  Camera"_s << true;
        QTest::newRow("control characters") << u"\x01\x02\x7f"_s << true;
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("a real description") << u"Digital camera in the studio"_s << false;
    }
    void placeholders() {
        QFETCH(QString, description);
        QFETCH(bool, placeholder);
        QCOMPARE(PhotoFacts::isCameraPlaceholder(description), placeholder);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestPhotoFacts)

#include "tst_photofacts.moc"
