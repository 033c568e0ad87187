// The card record, its code page and the archive file, checked byte for byte.
#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "archive/core/AttachmentFolder.h"
#include "archive/core/BookArchive.h"
#include "archive/core/BookShelf.h"
#include "archive/core/CardNavigation.h"
#include "archive/core/CardSave.h"
#include "archive/core/Cp1252.h"
#include "archive/core/PhotoStore.h"
#include "archive/core/TScheda.h"
#include "base/ProgramFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const TScheda& card) {
    return QByteArray(reinterpret_cast<const char*>(card.bytes().data()), qsizetype(TScheda::kSize));
}

TScheda cardFrom(const QByteArray& bytes) {
    TScheda card;
    std::copy_n(bytes.constData(), TScheda::kSize, reinterpret_cast<char*>(card.bytes().data()));
    return card;
}

TScheda cardTitled(const QString& title) {
    TScheda card;
    card.setField(TScheda::Titolo, title);
    card.setField(TScheda::Data, u"01/03/2024"_s);
    card.setField(TScheda::Location, u"Milano"_s);
    return card;
}

// A file of n cards titled "Scheda 1" ... "Scheda n", followed by extra stray bytes.
QByteArray bookOf(int n, int strayBytes = 0) {
    QByteArray content;
    for (int i = 1; i <= n; ++i)
        content += bytesOf(cardTitled(u"Scheda %1"_s.arg(i)));
    content += QByteArray(strayBytes, '\x5A');
    return content;
}

} // namespace

class TestArchive : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    // --- Code page -------------------------------------------------------------------------------
    void everyByteRoundTrips() {
        for (int b = 0; b < 256; ++b) {
            const QByteArray byte(1, char(b));
            QCOMPARE(Cp1252::encode(Cp1252::decode(byte)), byte);
        }
    }

    void exactMapping_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("euro at 0x80") << u"€"_s << QByteArray("\x80");
        QTest::newRow("low quote") << u"‚"_s << QByteArray("\x82");
        QTest::newRow("ellipsis") << u"…"_s << QByteArray("\x85");
        QTest::newRow("S caron") << u"Š"_s << QByteArray("\x8A");
        QTest::newRow("OE") << u"Œ"_s << QByteArray("\x8C");
        QTest::newRow("curly quotes") << u"“”‘’"_s << QByteArray("\x93\x94\x91\x92");
        QTest::newRow("dashes") << u"–—"_s << QByteArray("\x96\x97");
        QTest::newRow("trade mark") << u"™"_s << QByteArray("\x99");
        QTest::newRow("Y diaeresis") << u"Ÿ"_s << QByteArray("\x9F");
        QTest::newRow("no-break space") << u"\u00A0"_s << QByteArray("\xA0");
        QTest::newRow("Italian vowels") << u"àèéìòù"_s << QByteArray("\xE0\xE8\xE9\xEC\xF2\xF9");
        QTest::newRow("capitals") << u"ÀÈÉÌÒÙ"_s << QByteArray("\xC0\xC8\xC9\xCC\xD2\xD9");
        QTest::newRow("y diaeresis") << u"ÿ"_s << QByteArray("\xFF");
        QTest::newRow("decomposed e acute") << u"e\u0301"_s << QByteArray("\xE9");
    }
    void exactMapping() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Cp1252::encode(text), bytes);
        QCOMPARE(Cp1252::decode(bytes), text.normalized(QString::NormalizationForm_C));
    }

    void bestFitAndReplacement_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a breve") << u"ă"_s << QByteArray("a");
        QTest::newRow("O double acute") << u"Ő"_s << QByteArray("O");
        QTest::newRow("s comma below") << u"ș"_s << QByteArray("s");
        QTest::newRow("c caron") << u"Dvořák"_s << QByteArray("Dvor\xE1k");
        QTest::newRow("l stroke has no base") << u"ł"_s << QByteArray("?");
        QTest::newRow("Greek alpha") << u"α"_s << QByteArray("?");
        QTest::newRow("Greek capital omega") << u"Ω"_s << QByteArray("?");
        QTest::newRow("CJK") << u"写真"_s << QByteArray("??");
        QTest::newRow("emoji is one character") << u"📷!"_s << QByteArray("?!");
        QTest::newRow("lone surrogate") << QString(QChar(0xD83D)) << QByteArray("?");
    }
    void bestFitAndReplacement() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Cp1252::encode(text), bytes);
    }

    // What a card stores exactly: a text is held when encoding and decoding give back its NFC form.
    void heldCharacters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("firstUnheld"); // empty: the whole text is held
        QTest::newRow("e acute") << u"é"_s << QString();
        QTest::newRow("euro") << u"€"_s << QString();
        QTest::newRow("curly quotes") << u"“sì” ‘no’"_s << QString();
        QTest::newRow("dashes") << u"– —"_s << QString();
        QTest::newRow("ellipsis") << u"…"_s << QString();
        QTest::newRow("o stroke") << u"Søren"_s << QString();
        QTest::newRow("z caron") << u"Živković"_s << u"ć"_s;
        QTest::newRow("e and a combining acute") << u"e\u0301"_s << QString();
        QTest::newRow("s and a combining acute is s acute") << u"s\u0301"_s << u"ś"_s;
        QTest::newRow("s acute") << u"ś"_s << u"ś"_s;
        QTest::newRow("L stroke") << u"Łucja"_s << u"Ł"_s;
        QTest::newRow("star") << u"★★★★☆"_s << u"★"_s;
        QTest::newRow("emoji") << u"ok 📷"_s << u"📷"_s;
        QTest::newRow("first of several") << u"Ottimo ★ “sì” – 5 € … ś"_s << u"★"_s;
        QTest::newRow("Greek") << u"αβ"_s << u"α"_s;
        QTest::newRow("control read back from a foreign file") << u"\u0081"_s << QString();
        QTest::newRow("C1 control that 1252 reads as the euro") << u"\u0080"_s << u"\u0080"_s;
        QTest::newRow("empty") << QString() << QString();
    }
    void heldCharacters() {
        QFETCH(QString, text);
        QFETCH(QString, firstUnheld);
        const bool held = firstUnheld.isEmpty();
        QCOMPARE(Cp1252::holds(QStringView(text)), held);
        QCOMPARE(Cp1252::decode(Cp1252::encode(text)) == text.normalized(QString::NormalizationForm_C), held);
        const std::optional<char32_t> first = Cp1252::firstUnheld(text);
        QCOMPARE(first.has_value(), !held);
        if (first)
            QCOMPARE(QString::fromUcs4(&*first, 1), firstUnheld);
    }

    void plainLetters_data() {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("plain"); // empty: none
        QTest::newRow("s acute") << u"ś"_s << u"s"_s;
        QTest::newRow("c acute") << u"ć"_s << u"c"_s;
        QTest::newRow("L stroke") << u"Ł"_s << u"L"_s;
        QTest::newRow("l stroke") << u"ł"_s << u"l"_s;
        QTest::newRow("D stroke") << u"Đ"_s << u"D"_s;
        QTest::newRow("d stroke") << u"đ"_s << u"d"_s;
        QTest::newRow("H stroke") << u"Ħ"_s << u"H"_s;
        QTest::newRow("dotless i") << u"ı"_s << u"i"_s;
        QTest::newRow("T stroke") << u"Ŧ"_s << u"T"_s;
        QTest::newRow("l middle dot") << u"ŀ"_s << u"l"_s;
        QTest::newRow("capital sharp s") << u"ẞ"_s << u"SS"_s;
        QTest::newRow("u diaeresis macron keeps the diaeresis") << u"ǖ"_s << u"ü"_s;
        QTest::newRow("e circumflex acute keeps the circumflex") << u"ế"_s << u"ê"_s;
        QTest::newRow("Angstrom sign is A ring") << u"\u212B"_s << u"Å"_s;
        QTest::newRow("fi ligature") << u"ﬁ"_s << u"fi"_s;
        QTest::newRow("full-width A") << u"Ａ"_s << u"A"_s;
        QTest::newRow("minus sign") << u"\u2212"_s << u"-"_s;
        QTest::newRow("held: none") << u"é"_s << QString();
        QTest::newRow("star") << u"★"_s << QString();
        QTest::newRow("emoji") << u"📷"_s << QString();
        QTest::newRow("Greek alpha with tonos") << u"ά"_s << QString();
        QTest::newRow("Cyrillic") << u"Ж"_s << QString();
        QTest::newRow("CJK") << u"写"_s << QString();
        QTest::newRow("combining accent alone") << u"\u0301"_s << QString();
        QTest::newRow("account of: no slash") << u"\u2100"_s << QString();
        QTest::newRow("full-width solidus: no slash") << u"\uFF0F"_s << QString();
    }
    void plainLetters() {
        QFETCH(QString, character);
        QFETCH(QString, plain);
        const QList<uint> c = character.toUcs4();
        QCOMPARE(c.size(), 1);
        QCOMPARE(Cp1252::plainLetters(c[0]), plain);
        if (!plain.isEmpty())
            QVERIFY(Cp1252::holds(QStringView(plain)));
    }

    // --- Saving: nothing is written as "?" -------------------------------------------------------
    void firstUnstorableText_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("unstorableField"); // -1: none
        QTest::addColumn<QString>("character");
        QTest::newRow("stars in the judgement")
            << int(TScheda::Giudizio) << u"★★★★☆"_s << int(TScheda::Giudizio) << u"★"_s;
        QTest::newRow("Western European text")
            << int(TScheda::Giudizio) << u"Ottimo “sì” – 5 € … perché"_s << -1 << QString();
        QTest::newRow("decomposed accent") << int(TScheda::Note) << u"cosi\u0300"_s << -1 << QString();
        QTest::newRow("attachment name")
            << int(TScheda::File01) << u"modella_Łucja.txt"_s << int(TScheda::File01) << u"Ł"_s;
        QTest::newRow("attachment description")
            << int(TScheda::Desc03) << u"Liberatoria 📷"_s << int(TScheda::Desc03) << u"📷"_s;
        QTest::newRow("best fit is no store")
            << int(TScheda::Fotografo) << u"Kieślowski"_s << int(TScheda::Fotografo) << u"ś"_s;
    }
    void firstUnstorableText() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(int, unstorableField);
        QFETCH(QString, character);
        CardSave::Texts texts;
        texts[TScheda::Titolo] = u"Ritratto"_s;
        texts[TScheda::Data] = u"01/03/2024"_s;
        texts[TScheda::Location] = u"Milano"_s;
        texts[field] = text;
        const std::optional<CardSave::Unstorable> found = CardSave::firstUnstorable(texts);
        QCOMPARE(found.has_value(), unstorableField >= 0);
        if (!found)
            return;
        QCOMPARE(int(found->field), unstorableField);
        QCOMPARE(QString::fromUcs4(&found->character, 1), character);
        // In record order: an earlier field is named first.
        texts[TScheda::Titolo] = u"Ritratto ☆"_s;
        QCOMPARE(int(CardSave::firstUnstorable(texts)->field), int(TScheda::Titolo));
    }

    // --- Attachment names a card can store -------------------------------------------------------
    void storableAttachmentNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::newRow("L stroke") << u"modella_Łucja.txt"_s << u"modella_Lucja.txt"_s;
        QTest::newRow("strokes and accents")
            << u"Đorđe Živković ł ħ ı.pdf"_s << u"Dorde Živkovic l h i.pdf"_s;
        QTest::newRow("o stroke stays") << u"Søren.jpg"_s << u"Søren.jpg"_s;
        QTest::newRow("already storable")
            << u"contratto firmato (1) – perché.pdf"_s << u"contratto firmato (1) – perché.pdf"_s;
        QTest::newRow("blanks around") << u"  liberatoria.pdf "_s << u"liberatoria.pdf"_s;
        QTest::newRow("decomposed accent") << u"citta\u0300.txt"_s << u"città.txt"_s;
        QTest::newRow("accent no letter takes") << u"q\u0301.txt"_s << u"q.txt"_s;
        QTest::newRow("Cyrillic") << u"Мария.jpg"_s << u"_____.jpg"_s;
        QTest::newRow("CJK") << u"写真 2024.png"_s << u"__ 2024.png"_s;
        QTest::newRow("emoji is one character") << u"📷 set.txt"_s << u"_ set.txt"_s;
        QTest::newRow("backslash") << u"a\\b.txt"_s << u"a_b.txt"_s;
        QTest::newRow("control code") << u"a\tb.txt"_s << u"a_b.txt"_s;
        QTest::newRow("long name keeps its extension")
            << QString(300, u'a') + u".pdf"_s << QString(246, u'a') + u".pdf"_s;
        QTest::newRow("long Cyrillic name keeps its extension")
            << QString(260, u'Ж') + u".docx"_s << QString(245, u'_') + u".docx"_s;
        QTest::newRow("long name without extension") << QString(300, u'b') << QString(250, u'b');
        QTest::newRow("cut leaves no blank at the end")
            << QString(249, u'c') + u"  dd"_s << QString(249, u'c');
        QTest::newRow("exactly the capacity")
            << QString(246, u'e') + u".txt"_s << QString(246, u'e') + u".txt"_s;
        QTest::newRow("a leading dot starts no extension")
            << u"."_s + QString(300, u'f') << u"."_s + QString(249, u'f');
    }
    void storableAttachmentNames() {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        const QString kept = AttachmentFolder::storableName(name);
        QCOMPARE(kept, stored);
        QVERIFY(kept.size() <= AttachmentFolder::kLongestName);
        QVERIFY(Cp1252::holds(QStringView(kept)));
        QCOMPARE(Cp1252::decode(Cp1252::encode(kept)), kept); // the card gives back the name on disk
        QCOMPARE(AttachmentFolder::storableName(kept), kept);
        TScheda card;
        card.setField(TScheda::File01, kept);
        QCOMPARE(card.field(TScheda::File01), kept);
    }

    // The name under which a chosen file is kept never covers another file of the folder.
    void keptAttachmentNames() {
        const std::unique_ptr<QTemporaryDir> program = scratchProgramFolder();
        QVERIFY(program->isValid());
        QVERIFY(AttachmentFolder::ensureFolder());
        const QString folder = AttachmentFolder::folder() + u'/';
        const QString source = program->filePath(u"modella_Łucja.txt"_s);
        QVERIFY(writeFile(source, "seconda"));

        QCOMPARE(AttachmentFolder::keptNameFor(source, u"modella_Lucja.txt"_s), u"modella_Lucja.txt"_s);
        QVERIFY(writeFile(folder + u"modella_Lucja.txt"_s, "prima"));
        QCOMPARE(AttachmentFolder::keptNameFor(source, u"modella_Lucja.txt"_s), u"modella_Lucja (2).txt"_s);
        QVERIFY(writeFile(folder + u"modella_Lucja (2).txt"_s, "altra"));
        QVERIFY(QDir().mkpath(folder + u"modella_Lucja (3).txt"_s)); // a folder takes the name too
        QCOMPARE(AttachmentFolder::keptNameFor(source, u"modella_Lucja.txt"_s), u"modella_Lucja (4).txt"_s);
        // The same bytes attached again keep the name they have.
        QVERIFY(writeFile(folder + u"modella_Lucja (2).txt"_s, "seconda"));
        QCOMPARE(AttachmentFolder::keptNameFor(source, u"modella_Lucja.txt"_s), u"modella_Lucja (2).txt"_s);
        QCOMPARE(AttachmentFolder::keptNameFor(folder + u"modella_Lucja.txt"_s, u"modella_Lucja.txt"_s),
                 u"modella_Lucja.txt"_s);
        // Without an extension, and at the capacity: the number goes before the extension, which stays.
        QVERIFY(writeFile(folder + u"_____"_s, "prima"));
        QCOMPARE(AttachmentFolder::keptNameFor(source, u"_____"_s), u"_____ (2)"_s);
        const QString longest = QString(246, u'a') + u".pdf"_s;
        QVERIFY(writeFile(folder + longest, "prima"));
        QCOMPARE(AttachmentFolder::keptNameFor(source, longest), QString(242, u'a') + u" (2).pdf"_s);
        QCOMPARE(readFile(folder + u"modella_Lucja.txt"_s), "prima"_ba);
    }

    // --- Record layout ---------------------------------------------------------------------------
    void fieldLayout_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("capacity");
        const int rows[][3] = {{TScheda::Titolo, 0, 120},        {TScheda::Descrizione, 121, 250},
                               {TScheda::Data, 372, 10},         {TScheda::Location, 383, 50},
                               {TScheda::Fotografo, 434, 50},    {TScheda::Fotocamera, 485, 50},
                               {TScheda::Fotoritocco, 536, 250}, {TScheda::Abiti, 787, 250},
                               {TScheda::Accessori, 1038, 250},  {TScheda::Trucco, 1289, 250},
                               {TScheda::Giudizio, 1540, 250},   {TScheda::Note, 1791, 250},
                               {TScheda::File01, 2042, 250},     {TScheda::File02, 2293, 250},
                               {TScheda::File03, 2544, 250},     {TScheda::Desc01, 2795, 250},
                               {TScheda::Desc02, 3046, 250},     {TScheda::Desc03, 3297, 250}};
        for (const auto& r : rows) {
            const auto field = TScheda::Field(r[0]);
            QTest::newRow(qPrintable(QString::fromUtf16(TScheda::layout(field).name)))
                << r[0] << r[1] << r[2];
        }
    }

    // A record built byte by byte reads back field by field, and each field writes exactly its own bytes.
    void fieldLayout() {
        QFETCH(int, field);
        QFETCH(int, offset);
        QFETCH(int, capacity);
        const auto f = TScheda::Field(field);

        QByteArray raw(qsizetype(TScheda::kSize), '\xEE');
        raw[offset] = 5;
        raw.replace(offset + 1, 5, "Gi\xF2ia");
        QCOMPARE(cardFrom(raw).field(f), u"Gi\u00F2ia"_s);

        TScheda card = cardFrom(QByteArray(qsizetype(TScheda::kSize), '\xEE'));
        card.setField(f, QString(capacity + 40, u'x'));
        const QByteArray written = bytesOf(card);
        QCOMPARE(int(uchar(written[offset])), capacity);
        QCOMPARE(written.mid(offset + 1, capacity), QByteArray(capacity, 'x'));
        // Nothing outside the field changed.
        QCOMPARE(written.left(offset), QByteArray(offset, '\xEE'));
        QCOMPARE(written.mid(offset + 1 + capacity),
                 QByteArray(qsizetype(TScheda::kSize) - offset - 1 - capacity, '\xEE'));
    }

    void storingRules_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("blanks around a name")
            << int(TScheda::Titolo) << u"  Maria  "_s << QByteArray("Maria");
        QTest::newRow("control characters")
            << int(TScheda::Note) << u"\t\r\nAnna\r\n\x01"_s << QByteArray("Anna");
        QTest::newRow("inner blanks stay")
            << int(TScheda::Abiti) << u" abito  lungo "_s << QByteArray("abito  lungo");
        QTest::newRow("no-break space is not trimmed")
            << int(TScheda::Note) << u"\u00A0x\u00A0"_s << QByteArray("\xA0x\xA0");
        QTest::newRow("empty") << int(TScheda::Trucco) << u"   "_s << QByteArray();
        QTest::newRow("date cut to 10 bytes")
            << int(TScheda::Data) << u"01/03/2024 ore 10"_s << QByteArray("01/03/2024");
        QTest::newRow("attachment of 300 characters")
            << int(TScheda::File01) << QString(300, u'a') << QByteArray(250, 'a');
        QTest::newRow("euro and accents")
            << int(TScheda::Giudizio) << u"Perché no? 5 €"_s << QByteArray("Perch\xE9 no? 5 \x80");
        QTest::newRow("cut after trimming")
            << int(TScheda::Location) << (u"   "_s + QString(60, u'L')) << QByteArray(50, 'L');
    }
    void storingRules() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QByteArray, stored);
        const auto f = TScheda::Field(field);
        TScheda card;
        card.setField(f, text);
        const int offset = int(TScheda::layout(f).offset);
        const QByteArray raw = bytesOf(card);
        QCOMPARE(int(uchar(raw[offset])), int(stored.size()));
        QCOMPARE(raw.mid(offset + 1, stored.size()), stored);
    }

    void damagedLengthBytes() {
        QByteArray raw = bytesOf(cardTitled(u"Titolo"_s));
        const int data = int(TScheda::layout(TScheda::Data).offset);
        raw[data] = char(200); // more than the 10 bytes the date holds
        raw.replace(data + 1, 10, "01/03/2024");
        QCOMPARE(cardFrom(raw).field(TScheda::Data), u"01/03/2024"_s);
        QCOMPARE(cardFrom(raw).field(TScheda::Location), u"Milano"_s);

        raw[data] = 0;
        QCOMPARE(cardFrom(raw).field(TScheda::Data), QString());
    }

    // Overwriting a field with a shorter text leaves the bytes after the new text as they were.
    void bytesAfterTextUntouched() {
        TScheda card;
        card.setField(TScheda::Titolo, u"Servizio in esterni"_s);
        card.setField(TScheda::Titolo, u"Ritratto"_s);
        const QByteArray raw = bytesOf(card);
        QCOMPARE(raw.mid(1, 19), QByteArray("Ritratto in esterni"));
        QCOMPARE(card.field(TScheda::Titolo), u"Ritratto"_s);
    }

    // --- Archive file ----------------------------------------------------------------------------
    void missingArchiveIsCreatedEmpty() {
        const QString path = m_dir->filePath(u"Nuovo.wmn"_s);
        BookArchive archive;
        archive.open(u"  "_s + path + u"\t"_s);
        QCOMPARE(archive.count(), 0);
        QVERIFY(archive.atEnd());
        archive.close();
        QVERIFY(QFile::exists(path));
        QCOMPARE(QFileInfo(path).size(), 0);
    }

    void incompleteLastRecordIsNotCounted() {
        const QString path = m_dir->filePath(u"Tre.wmn"_s);
        QVERIFY(writeFile(path, bookOf(3, 100)));
        BookArchive archive;
        archive.open(path);
        QCOMPARE(archive.count(), 3);

        archive.seek(archive.count());
        archive.write(cardTitled(u"Quarta"_s));
        QCOMPARE(archive.position(), 4);
        archive.close();

        const QByteArray content = readFile(path);
        QCOMPARE(content.size(), 4 * qsizetype(TScheda::kSize));
        QCOMPARE(content.left(3 * qsizetype(TScheda::kSize)), bookOf(3));
        QCOMPARE(cardFrom(content.mid(3 * qsizetype(TScheda::kSize))).field(TScheda::Titolo), u"Quarta"_s);
    }

    void readWriteAndPositions() {
        const QString path = m_dir->filePath(u"Cinque.wmn"_s);
        QVERIFY(writeFile(path, bookOf(5)));
        BookArchive archive;
        archive.open(path);
        QCOMPARE(archive.position(), 0);
        archive.seek(2);
        QCOMPARE(archive.read().field(TScheda::Titolo), u"Scheda 3"_s);
        QCOMPARE(archive.position(), 3);

        archive.seek(1);
        archive.write(cardTitled(u"Seconda, cambiata"_s));
        QCOMPARE(archive.position(), 2);
        QCOMPARE(archive.count(), 5);

        archive.seek(0);
        QStringList titles;
        while (!archive.atEnd())
            titles << archive.read().field(TScheda::Titolo);
        QCOMPARE(titles, QStringList({u"Scheda 1"_s, u"Seconda, cambiata"_s, u"Scheda 3"_s, u"Scheda 4"_s,
                                      u"Scheda 5"_s}));
    }

    // A card chosen on a list is shown at its own position; one the book no longer holds shows nothing.
    void goingToAChosenCard_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("title");
        QTest::newRow("first") << 1 << u"Scheda 1"_s;
        QTest::newRow("middle") << 3 << u"Scheda 3"_s;
        QTest::newRow("last") << 5 << u"Scheda 5"_s;
        QTest::newRow("past the end") << 6 << QString();
        QTest::newRow("none") << 0 << QString();
    }

    void goingToAChosenCard() {
        QFETCH(int, position);
        QFETCH(QString, title);
        const QString path = m_dir->filePath(u"Cinque.wmn"_s);
        QVERIFY(writeFile(path, bookOf(5, 100)));
        const CardNavigation::Outcome outcome = CardNavigation::goTo(path, position);
        if (title.isEmpty()) {
            QCOMPARE(outcome.kind, CardNavigation::Outcome::Stay);
        } else {
            QCOMPARE(outcome.kind, CardNavigation::Outcome::Show);
            QCOMPARE(outcome.position, position);
            QCOMPARE(outcome.card.field(TScheda::Titolo), title);
        }
        QCOMPARE(readFile(path), bookOf(5, 100)); // read only
    }

    void readingAnIncompleteRecordFails() {
        const QString path = m_dir->filePath(u"Monca.wmn"_s);
        QVERIFY(writeFile(path, bookOf(1, 100)));
        BookArchive archive;
        archive.open(path);
        archive.seek(1);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.read());
        QCOMPARE(archive.position(), 1);
    }

    void seekingPastTheEndFails() {
        const QString path = m_dir->filePath(u"Due.wmn"_s);
        QVERIFY(writeFile(path, bookOf(2)));
        BookArchive archive;
        archive.open(path);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.seek(3));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.seek(-1));
        archive.seek(2); // appending is allowed
    }

    void openingWhatCannotBeOpenedCreatesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("a folder") << u"Cartella.wmn"_s;
        QTest::newRow("inside a missing folder") << u"manca/Libro.wmn"_s;
    }
    void openingWhatCannotBeOpenedCreatesNothing() {
        QFETCH(QString, name);
        QVERIFY(QDir(m_dir->path()).mkdir(u"Cartella.wmn"_s));
        const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        BookArchive archive;
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.open(m_dir->filePath(name)));
        QVERIFY(!archive.isOpen());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(QFileInfo(m_dir->filePath(u"Cartella.wmn"_s)).isDir());
    }

    // An existing archive that cannot be opened is never emptied by a fresh creation.
    void lockedArchiveKeepsItsCards() {
        const QString path = m_dir->filePath(u"Bloccato.wmn"_s);
        QVERIFY(writeFile(path, bookOf(3)));
        FaultyFileSystem faulty(FaultyFileSystem::Fault::OpenFails);
        BookArchive archive;
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.open(path));
        QCOMPARE(faulty.creations, 0);
        QCOMPARE(readFile(path), bookOf(3));
    }

    void failedWritesRaiseAndKeepEveryCard_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("countAfter");
        QTest::newRow("error on append") << int(FaultyFileSystem::Fault::WriteError) << 3 << 3;
        QTest::newRow("short append") << int(FaultyFileSystem::Fault::ShortWrite) << 3 << 3;
        // The record reached the file but was never confirmed as durable: the save is reported failed.
        QTest::newRow("disk cannot sync") << int(FaultyFileSystem::Fault::SyncFails) << 3 << 4;
        QTest::newRow("error on overwrite") << int(FaultyFileSystem::Fault::WriteError) << 1 << 3;
    }
    void failedWritesRaiseAndKeepEveryCard() {
        QFETCH(int, fault);
        QFETCH(int, index);
        QFETCH(int, countAfter);
        const QString path = m_dir->filePath(u"Guasto.wmn"_s);
        QVERIFY(writeFile(path, bookOf(3)));
        {
            FaultyFileSystem faulty{FaultyFileSystem::Fault(fault)};
            BookArchive archive;
            archive.open(path);
            archive.seek(index);
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.write(cardTitled(u"Nuova"_s)));
            QCOMPARE(archive.position(), index);
        }
        // Every card stored before is intact; a partial record is never counted.
        BookArchive archive;
        archive.open(path);
        QCOMPARE(archive.count(), countAfter);
        archive.close();
        QCOMPARE(readFile(path).left(3 * qsizetype(TScheda::kSize)), bookOf(3));
    }

    void readErrorRaises() {
        const QString path = m_dir->filePath(u"Illeggibile.wmn"_s);
        QVERIFY(writeFile(path, bookOf(2)));
        FaultyFileSystem faulty(FaultyFileSystem::Fault::ReadError);
        BookArchive archive;
        archive.open(path);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.read());
    }

    void accessMessageIsStoredWithItsBreaks() {
        QVERIFY(BookArchive::accessMessage().startsWith(
            u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi"_s));
        QVERIFY(BookArchive::accessMessage().endsWith(u"cartella di installazione del programma."_s));
    }

    // --- Books as a whole ------------------------------------------------------------------------
    void listOrder_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("ordered");
        QTest::newRow("case of A-Z ignored") << QStringList{u"b.wmn"_s, u"A.wmn"_s, u"c.wmn"_s}
                                             << QStringList{u"A.wmn"_s, u"b.wmn"_s, u"c.wmn"_s};
        QTest::newRow("digits before letters")
            << QStringList{u"Zoe.wmn"_s, u"2024.wmn"_s} << QStringList{u"2024.wmn"_s, u"Zoe.wmn"_s};
        QTest::newRow("other characters by code") << QStringList{u"b.wmn"_s, u"_x.wmn"_s, u"{y.wmn"_s}
                                                  << QStringList{u"_x.wmn"_s, u"b.wmn"_s, u"{y.wmn"_s};
        QTest::newRow("accented letters after z")
            << QStringList{u"Èlena.wmn"_s, u"zeta.wmn"_s} << QStringList{u"zeta.wmn"_s, u"Èlena.wmn"_s};
    }
    void listOrder() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, ordered);
        for (const QString& name : names)
            QVERIFY(writeFile(m_dir->filePath(name), {}));
        QCOMPARE(BookShelf::list(m_dir->path()), ordered);
    }

    void unsafeNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("unsafe");
        QTest::newRow("plain") << u"Giulia estate 2026"_s << false;
        QTest::newRow("vertical bar") << u"a|b"_s << false;
        QTest::newRow("dots inside") << u"G. Rossi..."_s << false;
        QTest::newRow("slash") << u"a/b"_s << true;
        QTest::newRow("backslash") << u"a\\b"_s << true;
        QTest::newRow("dot") << u"."_s << true;
        QTest::newRow("dot dot") << u".."_s << true;
        QTest::newRow("tab inside") << u"a\tb"_s << true;
        QTest::newRow("delete character") << u"a\u007Fb"_s << true;
    }
    void unsafeNames() {
        QFETCH(QString, name);
        QFETCH(bool, unsafe);
        QCOMPARE(BookShelf::isUnsafeName(name), unsafe);
    }

    // New books: the names that suit every file of a book, here and on a FAT or exFAT key.
    void newBookNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason"); // a part of the reason; empty when the name is fine
        QTest::newRow("plain") << u"Giulia estate 2026"_s << QString();
        QTest::newRow("accents, apostrophes and spaces") << u"Città dell'Aquila – Èlena e Noè"_s << QString();
        QTest::newRow("dots inside") << u"G. Rossi...2026"_s << QString();
        QTest::newRow("a device name inside a word") << u"Console"_s << QString();
        QTest::newRow("COM without its digit") << u"COM"_s << QString();
        QTest::newRow("COM10") << u"COM10"_s << QString();
        QTest::newRow("LPT0") << u"LPT0"_s << QString();
        const QList<std::pair<QChar, QString>> characters{
            {u'"', u"virgolette"_s}, {u'|', u"barra verticale"_s},   {u'?', u"punto interrogativo"_s},
            {u'*', u"asterisco"_s},  {u':', u"due punti"_s},         {u'<', u"minore"_s},
            {u'>', u"maggiore"_s},   {u'\\', u"barra rovesciata"_s}, {u'/', u"barra"_s},
        };
        for (const auto& [character, words] : characters)
            QTest::addRow("character %s", qPrintable(words))
                << u"Giulia %1 estate"_s.arg(character) << u"il carattere %1 (%2)"_s.arg(character, words);
        QTest::newRow("control character") << u"Giu\tlia"_s << u"carattere di controllo (codice 9)"_s;
        QTest::newRow("only dots") << u".."_s << u"soltanto da punti"_s;
        QTest::newRow("trailing dot") << u"Giulia."_s << u"termina con un punto"_s;
        QTest::newRow("trailing dots") << u"Giulia..."_s << u"termina con un punto"_s;
        QTest::newRow("trailing blank") << u"Giulia "_s << u"termina con uno spazio"_s;
        for (const QString& device :
             {u"CON"_s, u"prn"_s, u"Aux"_s, u"nul"_s, u"COM1"_s, u"com9"_s, u"LPT1"_s, u"lpt9"_s})
            QTest::addRow("device name %s", qPrintable(device))
                << device << u"Il nome \"%1\" è riservato da Windows"_s.arg(device);
        QTest::newRow("device name with an extension")
            << u"con.estate"_s << u"comincia con \"con\", riservato da Windows"_s;
        QTest::newRow("device name with two extensions")
            << u"NUL.book.2026"_s << u"comincia con \"NUL\", riservato da Windows"_s;
        QTest::newRow("device name, blank, extension")
            << u"Lpt3 .book"_s << u"comincia con \"Lpt3 \", riservato da Windows"_s;
        // A card's photo is the longest name a book makes: "<name>_Foto_2147483647.jpg".
        QTest::newRow("235 bytes") << QString(235, u'a') << QString();
        QTest::newRow("236 bytes")
            << QString(236, u'a')
            << u"troppo lungo: può occupare al massimo 235 byte (una lettera accentata ne "
               u"occupa due), mentre ne occupa 236"_s;
        QTest::newRow("accented letters, 234 bytes") << QString(117, u'è') << QString();
        QTest::newRow("accented letters, 236 bytes") << QString(118, u'è') << u"mentre ne occupa 236"_s;
        QTest::newRow("accented letters and one more, 235 bytes") << QString(117, u'è') + u'a' << QString();
        QTest::newRow("accented letters and two more, 236 bytes")
            << QString(117, u'è') + u"aa"_s << u"mentre ne occupa 236"_s;
    }
    void newBookNames() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString problem = BookShelf::nameProblem(name);
        if (reason.isEmpty())
            QCOMPARE(problem, QString());
        else
            QVERIFY2(problem.contains(reason), qPrintable(problem));
        QVERIFY(problem.isEmpty() || problem.startsWith(u"Il nome "_s));
    }

    // The longest name allowed is a real limit: each file of such a book can be made on this disk, and
    // its photo replaced; one byte more and the photo can no longer be made.
    void longestNameFitsEveryFile() {
        const auto folder = scratchProgramFolder();
        QVERIFY(folder->isValid());
        const QString name(BookShelf::longestNameBytes(), u'a');
        QVERIFY(BookShelf::nameProblem(name).isEmpty());
        const QString archive = ProgramFolder::archiveOf(name);
        BookShelf::createEmpty(archive);
        for (const QString& path :
             {BookArchive::journalPath(archive), BookShelf::backupPath(archive, 1),
              BookShelf::backupPath(archive, 99999), BookArchive::setAsideJournalPath(archive, 99999)})
            QVERIFY2(writeFile(path, "x"), qPrintable(path));
        QImage red(8, 8, QImage::Format_RGB32);
        red.fill(Qt::red);
        QImage blue = red;
        blue.fill(Qt::blue);
        QVERIFY(PhotoStore::saveCardPhoto(red, name, INT_MAX));
        QVERIFY(PhotoStore::saveCardPhoto(blue, name, INT_MAX));
        QVERIFY(QFileInfo::exists(PhotoStore::photoPath(name, INT_MAX)));

        const QString longer = name + u'a';
        QVERIFY(!BookShelf::nameProblem(longer).isEmpty());
        QVERIFY(!PhotoStore::saveCardPhoto(red, longer, INT_MAX));
        QVERIFY(!QFileInfo::exists(PhotoStore::photoPath(longer, INT_MAX)));
    }

    // --- Files the program replaces and reads ---------------------------------------------------
    // A card's photo or an attachment whose name in the program's folders is a link to a file
    // elsewhere: replacing it replaces the link, and the file elsewhere keeps its bytes.
    void linksAreReplacedNotFollowed_data() {
        QTest::addColumn<bool>("photo");
        QTest::newRow("card's photo") << true;
        QTest::newRow("attachment") << false;
    }
    void linksAreReplacedNotFollowed() {
        QFETCH(bool, photo);
        const auto program = scratchProgramFolder();
        QTemporaryDir elsewhere;
        const QString theirs = elsewhere.filePath(u"ritratto.jpg"_s);
        QVERIFY(writeFile(theirs, "il file di un altro"));
        QString target;
        if (photo) {
            QVERIFY(PhotoStore::ensureFolder());
            target = PhotoStore::photoPath(u"Giulia"_s, 2);
            QVERIFY(QFile::link(theirs, target));
            QImage red(8, 8, QImage::Format_RGB32);
            red.fill(Qt::red);
            QVERIFY(PhotoStore::saveCardPhoto(red, u"Giulia"_s, 2));
            QCOMPARE(QImage(target).pixelColor(4, 4).red() > 200, true);
        } else {
            QVERIFY(AttachmentFolder::ensureFolder());
            target = AttachmentFolder::pathOf(u"contratto.txt"_s);
            QVERIFY(QFile::link(theirs, target));
            const QString source = elsewhere.filePath(u"nuovo.txt"_s);
            QVERIFY(writeFile(source, "il contratto nuovo"));
            QVERIFY(AttachmentFolder::copyIn(source, u"contratto.txt"_s));
            QCOMPARE(readFile(target), QByteArray("il contratto nuovo"));
        }
        QCOMPARE(readFile(theirs), QByteArray("il file di un altro"));
        QVERIFY(!QFileInfo(target).isSymLink());
        // Nothing is left behind beside the file.
        QCOMPARE(QDir(QFileInfo(target).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // The photo folder kept on another disk, behind a link, stays in use as it is.
    void linkedPhotoFolder() {
        const auto program = scratchProgramFolder();
        QTemporaryDir otherDisk;
        QVERIFY(QFile::link(otherDisk.path(), PhotoStore::folder()));
        QImage blue(8, 8, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(PhotoStore::saveCardPhoto(blue, u"Giulia"_s, 1));
        QVERIFY(PhotoStore::saveCardPhoto(blue, u"Giulia"_s, 1));
        QVERIFY(QFileInfo(PhotoStore::folder()).isSymLink());
        QVERIFY(QFileInfo(otherDisk.filePath(u"Giulia_Foto_1.jpg"_s)).isFile());
        QVERIFY(!PhotoStore::loadCardPhoto(u"Giulia"_s, 1, {100, 100}).isNull());
    }

    // The photo file a card saved while its frame shows the placeholder gets is the placeholder's file,
    // and is known for it; any other file is not, however close.
    void placeholderPhotoIsKnown() {
        const auto program = scratchProgramFolder();
        const QString archive = ProgramFolder::archiveOf(u"Giulia"_s);
        CardSave::Texts texts;
        texts[TScheda::Titolo] = u"Senza foto"_s;
        texts[TScheda::Data] = u"01/03/2024"_s;
        texts[TScheda::Location] = u"Milano"_s;
        TScheda record;
        const CardSave::Outcome saved =
            CardSave::save(archive, u"Giulia"_s, std::nullopt, record, texts,
                           CardPhoto::fromImage(PhotoStore::placeholder()), nullptr);
        QCOMPARE(saved.position, 1);
        QVERIFY(saved.photoSaved);
        const QString path = PhotoStore::photoPath(u"Giulia"_s, 1);
        const QByteArray written = readFile(path);
        QCOMPARE(written, PhotoStore::placeholderPhotoFile());
        QCOMPARE(QImage::fromData(written).size(), PhotoStore::kPlaceholderSize);
        QVERIFY(PhotoStore::isPlaceholderPhoto(path));
        QVERIFY(PhotoStore::isPlaceholderBytes(written));
        QCOMPARE(readFile(path), written); // the file stays as it is
    }

    void otherPhotosAreNoPlaceholder_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray placeholder = PhotoStore::placeholderPhotoFile();
        QByteArray oneByteChanged = placeholder;
        oneByteChanged[oneByteChanged.size() / 2] = char(oneByteChanged[oneByteChanged.size() / 2] ^ 0x01);
        QTest::newRow("a real photo") << jpeg({307, 409}, Qt::red, PhotoStore::kJpegQuality);
        QTest::newRow("the same size, one byte changed") << oneByteChanged;
        QTest::newRow("one byte more") << placeholder + '\0';
        QTest::newRow("one byte less") << placeholder.chopped(1);
        QTest::newRow("the placeholder at another quality") << [] {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            PhotoStore::placeholder().save(&buffer, "jpg", 80);
            return bytes;
        }();
        QTest::newRow("empty") << QByteArray();
    }
    void otherPhotosAreNoPlaceholder() {
        QFETCH(QByteArray, content);
        const auto program = scratchProgramFolder();
        const QString path = PhotoStore::photoPath(u"Giulia"_s, 1);
        QVERIFY(writeFile(path, content));
        QVERIFY(!PhotoStore::isPlaceholderPhoto(path));
        QVERIFY(!PhotoStore::isPlaceholderBytes(content));
    }

    // Where no file can be read as the placeholder: nothing there, a folder, a pipe (never waited on).
    void noFileIsNoPlaceholder() {
        const auto program = scratchProgramFolder();
        QVERIFY(PhotoStore::ensureFolder());
        QVERIFY(!PhotoStore::isPlaceholderPhoto(PhotoStore::photoPath(u"Giulia"_s, 1)));
        QVERIFY(QDir().mkpath(PhotoStore::photoPath(u"Giulia"_s, 2)));
        QVERIFY(!PhotoStore::isPlaceholderPhoto(PhotoStore::photoPath(u"Giulia"_s, 2)));
        const QString pipe = PhotoStore::photoPath(u"Giulia"_s, 3);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!PhotoStore::isPlaceholderPhoto(pipe));
    }

    // A pipe is read as nothing at all, never waited on: no picture, no attachment.
    void pipesAreNeitherPicturesNorAttachments() {
        const auto program = scratchProgramFolder();
        const QString pipe = program->filePath(u"tubo.jpg"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(CardPhoto::fromFile(pipe, {100, 100}).isNull());
        QVERIFY(CardPhoto::fromFileInFull(pipe, {100, 100}).isNull());
        QVERIFY(!AttachmentFolder::copyIn(pipe, u"tubo.jpg"_s));
        QVERIFY(!AttachmentFolder::contains(u"tubo.jpg"_s));
    }

    void createEmptyNeverReplaces() {
        const QString path = m_dir->filePath(u"Anna.wmn"_s);
        BookShelf::createEmpty(path);
        QCOMPARE(QFileInfo(path).size(), 0);
        QVERIFY(writeFile(path, bookOf(1)));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, BookShelf::createEmpty(path));
        QCOMPARE(readFile(path), bookOf(1));
        QCOMPARE(BookShelf::bookNameOf(u"Anna.wmn"_s), u"Anna"_s);
    }

    void removeDeletesOnlyRegularFiles() {
        QVERIFY(QDir(m_dir->path()).mkdir(u"Cartella.wmn"_s));
        QVERIFY(!BookShelf::remove(m_dir->filePath(u"Cartella.wmn"_s)));
        QVERIFY(QFileInfo(m_dir->filePath(u"Cartella.wmn"_s)).isDir());
        QVERIFY(writeFile(m_dir->filePath(u"Anna.wmn"_s), {}));
        QVERIFY(BookShelf::remove(m_dir->filePath(u"Anna.wmn"_s)));
        QVERIFY(!QFile::exists(m_dir->filePath(u"Anna.wmn"_s)));
    }

    // --- Names in the program folder -------------------------------------------------------------
    // A name is a file directly in its folder, also one that starts with ":" (which Qt takes for one
    // of its resources, and QDir::filePath for an absolute path): the book, its photo and an attached
    // file are made there, and nothing lands in the current folder.
    void namesStayInTheirFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("colon first") << u":Prova"_s;
        QTest::newRow("colon alone") << u":"_s;
        QTest::newRow("colon inside") << u"Prova:2"_s;
    }
    void namesStayInTheirFolder() {
        QFETCH(QString, name);
        const std::unique_ptr<QTemporaryDir> program = scratchProgramFolder();
        QVERIFY(program->isValid());
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        const auto back = qScopeGuard([&] { QDir::setCurrent(current); });
        const QString folder = program->path() + u'/';

        const QString archive = ProgramFolder::archiveOf(name);
        QCOMPARE(archive, folder + name + u".wmn"_s);
        BookShelf::createEmpty(archive);
        BookArchive book;
        book.open(archive);
        book.write(cardTitled(u"Prima"_s));
        book.close();
        QCOMPARE(readFile(folder + name + u".wmn"_s), bytesOf(cardTitled(u"Prima"_s)));
        QCOMPARE(BookShelf::list(program->path()), QStringList{name + u".wmn"_s});

        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QCOMPARE(PhotoStore::photoPath(name, 1), folder + u"Book_Zudid/"_s + name + u"_Foto_1.jpg"_s);
        QVERIFY(PhotoStore::saveCardPhoto(picture, name, 1));
        QVERIFY(QFileInfo(folder + u"Book_Zudid/"_s + name + u"_Foto_1.jpg"_s).isFile());
        QCOMPARE(PhotoStore::loadCardPhoto(name, 1, PhotoStore::kPlaceholderSize).fullSize(), QSize(8, 6));

        const QString attached = name + u".pdf"_s;
        QVERIFY(writeFile(folder + u"contratto.pdf"_s, "%PDF-1.4"));
        QCOMPARE(AttachmentFolder::pathOf(attached), folder + u"Documenti_Allegati/"_s + attached);
        QVERIFY(AttachmentFolder::ensureFolder());
        QVERIFY(AttachmentFolder::copyIn(folder + u"contratto.pdf"_s, attached));
        QCOMPARE(readFile(folder + u"Documenti_Allegati/"_s + attached), "%PDF-1.4"_ba);
        QVERIFY(AttachmentFolder::contains(attached));

        QCOMPARE(entriesOf(elsewhere.path()), QStringList());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
