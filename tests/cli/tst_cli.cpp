// The command line: each command run as a script runs it, on books of a scratch program folder, and
// the executable itself started with arguments and no display.
#include "FakeMessages.h"
#include "FakeShell.h"
#include "FaultyFileSystem.h"
#include "PdfCheck.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "archive/core/ArchiveJournal.h"
#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"
#include "cli/CommandLine.h"
#include "output/windows/ExportWindow.h"
#include "ui/Picture.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

struct Result {
    int status;
    QString output;
    QString error;
};

Result lumivera(const QStringList& arguments) {
    Result result{};
    const CommandLine::Console console{[&](const QString& text) { result.output += text; },
                                       [&](const QString& text) { result.error += text; }, false};
    result.status = CommandLine::run(QStringList{u"lumivera"_s} + arguments, console);
    return result;
}

// Card n of a generated book: its title and location name the card, so a page's text shows which card
// it is; every seventh card carries the characters the export escapes.
TScheda card(int n) {
    TScheda card;
    card.setField(TScheda::Titolo,
                  n % 7 == 0 ? u"Città & <mare> n. %1"_s.arg(n) : u"Ritratto n. %1"_s.arg(n));
    card.setField(TScheda::Data, u"%1/03/2024"_s.arg(n % 28 + 1, 2, 10, QChar(u'0')));
    card.setField(TScheda::Location, u"Luogo%1"_s.arg(n));
    card.setField(TScheda::Fotografo, u"Marco Rossi"_s);
    card.setField(TScheda::Note, u"  nota %1 "_s.arg(n));
    return card;
}

QByteArray bookOf(int cards) {
    QList<TScheda> book;
    for (int n = 1; n <= cards; ++n)
        book << card(n);
    return archiveOf(book);
}

// What a poppler tool says of a PDF.
QString poppler(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pagesOf(const QString& pdf) {
    const QRegularExpressionMatch pages =
        QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(poppler(u"pdfinfo"_s, {pdf}));
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// An image of a PDF file as pdfimages lists it.
struct PdfImage {
    int page = 0;
    QSize size;
    QString colour;   // gray, rgb, cmyk
    QString encoding; // jpeg, image
};

QList<PdfImage> imagesOf(const QString& pdf) {
    QList<PdfImage> images;
    const QStringList lines = poppler(u"pdfimages"_s, {u"-list"_s, pdf}).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(2)) {
        const QStringList columns = line.simplified().split(u' ');
        if (columns.size() > 8)
            images.append(
                {columns[0].toInt(), QSize(columns[3].toInt(), columns[4].toInt()), columns[5], columns[8]});
    }
    return images;
}

// The first page rendered at that resolution.
QImage firstPage(const QString& pdf, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(u"pagina"_s);
    QProcess process;
    process.start(u"pdftoppm"_s, {u"-r"_s, QString::number(dpi), u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-png"_s,
                                  u"-singlefile"_s, pdf, prefix});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    return QImage(prefix + u".png"_s);
}

// The colour of the first page at a point (mm from its top-left corner), rendered at 50 dpi.
QColor colourAt(const QString& pdf, QPointF mm) {
    return firstPage(pdf, 50).pixelColor((mm * 50 / 25.4).toPoint());
}

QByteArray greyJpeg(QSize size, int level) {
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(QColor(level, level, level));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(image);
    return bytes;
}

// Every file and link under a folder with its content (a link by its target), to see that nothing changed.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> contents;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        contents[path] = info.isSymLink() ? "-> " + info.symLinkTarget().toUtf8()
                         : info.isDir()   ? QByteArray("<cartella>")
                                          : readFile(path);
    }
    return contents;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
    }

    // --- Parsing ---------------------------------------------------------------------------------
    void usage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"Uso: lumivera [<comando> <argomenti>]"_s
                              << QString();
        QTest::newRow("a command's help") << QStringList{u"sheet"_s, u"--help"_s} << 0
                                          << u"  --columns N   miniature per riga, da 1 a 12"_s << QString();
        for (const QString& command : {u"export"_s, u"pdf"_s, u"sheet"_s})
            QTest::addRow("%s takes cards", qPrintable(command))
                << QStringList{command, u"--help"_s} << 0 << u" [--cards ELENCO]\n"_s << QString();
        QTest::newRow("the cards' option explained")
            << QStringList{u"pdf"_s, u"--help"_s} << 0
            << u"  --cards ELENCO  solo le schede indicate, per esempio 1,3,5-9\n"_s << QString();
        QTest::newRow("cards not a number")
            << QStringList{u"export"_s, u"Giulia"_s, u"--cards"_s, u"1,tre"_s} << 2 << QString()
            << u"lumivera: --cards: \"tre\" non è un numero di scheda né un intervallo come 5-9.\n\n"_s;
        QTest::newRow("cards backwards")
            << QStringList{u"sheet"_s, u"Giulia"_s, u"a.pdf"_s, u"--cards=2-1"_s} << 2 << QString()
            << u"lumivera: --cards: l'intervallo \"2-1\" va all'indietro: si scrive dalla scheda più bassa "
               u"alla "
               u"più alta, come 1-2.\n\n"_s;
        QTest::newRow("card 0")
            << QStringList{u"pdf"_s, u"Giulia"_s, u"a.pdf"_s, u"--cards"_s, u"0,1"_s} << 2 << QString()
            << u"lumivera: --cards: \"0\": le schede si contano da 1, la scheda 0 non c'è.\n\n"_s;
        QTest::newRow("cards beyond the book")
            << QStringList{u"pdf"_s, u"Giulia"_s, u"a.pdf"_s, u"--cards"_s, u"2-3"_s} << 2 << QString()
            << u"lumivera: --cards: l'intervallo \"2-3\" va oltre l'ultima scheda: il book ne ha 2.\n\n"_s;
        QTest::newRow("no cards") << QStringList{u"export"_s, u"Giulia"_s, u"--cards"_s, u" "_s} << 2
                                  << QString() << u"lumivera: --cards: l'elenco delle schede è vuoto.\n\n"_s;
        QTest::newRow("a wrong list before a missing book")
            << QStringList{u"pdf"_s, u"Nessuno"_s, u"a.pdf"_s, u"--cards"_s, u"1,,2"_s} << 2 << QString()
            << u"lumivera: --cards: nell'elenco \"1,,2\" manca un numero prima o dopo una virgola.\n\n"_s;
        QTest::newRow("no command") << QStringList{} << 2 << QString() << u"lumivera: manca il comando."_s;
        QTest::newRow("unknown command") << QStringList{u"zip"_s, u"Giulia"_s} << 2 << QString()
                                         << u"lumivera: comando sconosciuto: zip"_s;
        QTest::newRow("unknown option") << QStringList{u"export"_s, u"Giulia"_s, u"--colonne"_s} << 2
                                        << QString() << u"Uso: lumivera export <book> [<file>]"_s;
        QTest::newRow("an option of another command")
            << QStringList{u"pdf"_s, u"Giulia"_s, u"a.pdf"_s, u"--repair"_s} << 2 << QString()
            << u"Uso: lumivera pdf <book> <file.pdf>"_s;
        QTest::newRow("missing file")
            << QStringList{u"pdf"_s, u"Giulia"_s} << 2 << QString() << u"lumivera: mancano argomenti."_s;
        QTest::newRow("an import without pictures")
            << QStringList{u"import"_s, u"Giulia"_s} << 2 << QString() << u"lumivera: mancano argomenti."_s;
        QTest::newRow("one argument too many") << QStringList{u"check"_s, u"Giulia"_s, u"altro"_s} << 2
                                               << QString() << u"lumivera: argomento non previsto: altro"_s;
        QTest::newRow("no columns") << QStringList{u"sheet"_s, u"Giulia"_s, u"a.pdf"_s, u"--columns"_s,
                                                   u"0"_s}
                                    << 2 << QString() << u"lumivera: --columns vuole un numero da 1 a 12."_s;
        QTest::newRow("columns not a number")
            << QStringList{u"sheet"_s, u"Giulia"_s, u"a.pdf"_s, u"--columns"_s, u"tre"_s} << 2 << QString()
            << u"lumivera: --columns vuole un numero da 1 a 12."_s;
        QTest::newRow("no such book")
            << QStringList{u"export"_s, u"Nessuno"_s} << 1 << QString()
            << u"lumivera: il book \"Nessuno\" non esiste nella cartella del programma"_s;
        QTest::newRow("an export over the book's archive")
            << QStringList{u"export"_s, u"Giulia"_s, u"Giulia.wmn"_s} << 1 << QString()
            << u"è o potrebbe essere l'archivio di un book: scegliere un altro nome."_s;
        QTest::newRow("a portfolio named as an archive") << QStringList{u"pdf"_s, u"Giulia"_s, u"Altro.WMN"_s}
                                                         << 1 << QString() << u"lumivera: il file \""_s;
        QTest::newRow("a name leading elsewhere")
            << QStringList{u"check"_s, u"../Giulia"_s} << 1 << QString()
            << u"lumivera: \"../Giulia\" non è un nome di book valido."_s;
    }
    void usage() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, error);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(2)));
        const Result result = lumivera(arguments);
        QCOMPARE(result.status, status);
        QVERIFY2(result.output.contains(output), qPrintable(result.output));
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        if (status == 2) // the usage follows the problem
            QVERIFY(result.error.contains(u"Uso: lumivera"_s));
        if (status != 0)
            QVERIFY(result.output.isEmpty());
        QCOMPARE(entriesOf(m_dir->path()), QStringList{u"Giulia.wmn"_s}); // nothing written
        QCOMPARE(readFile(ProgramFolder::archiveOf(u"Giulia"_s)), bookOf(2));
    }

    // QCommandLineParser words its errors in English; the user reads them in Italian.
    void optionErrorsInItalian_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("problem");
        QTest::newRow("unknown option")
            << QStringList{u"export"_s, u"Giulia"_s, u"--schede"_s} << u"opzione sconosciuta: --schede"_s;
        QTest::newRow("unknown option with a value")
            << QStringList{u"export"_s, u"Giulia"_s, u"--schede=3"_s} << u"opzione sconosciuta: --schede"_s;
        QTest::newRow("cards of a command that takes the whole book")
            << QStringList{u"check"_s, u"Giulia"_s, u"--cards=1"_s} << u"opzione sconosciuta: --cards"_s;
        QTest::newRow("missing list of cards")
            << QStringList{u"export"_s, u"Giulia"_s, u"--cards"_s} << u"manca il valore dopo --cards."_s;
        QTest::newRow("unknown short option")
            << QStringList{u"export"_s, u"Giulia"_s, u"-x"_s} << u"opzione sconosciuta: -x"_s;
        QTest::newRow("two unknown options") << QStringList{u"export"_s, u"--uno"_s, u"Giulia"_s, u"--due"_s}
                                             << u"opzioni sconosciute: --uno, --due"_s;
        QTest::newRow("an option of another command")
            << QStringList{u"pdf"_s, u"Giulia"_s, u"a.pdf"_s, u"--repair"_s}
            << u"opzione sconosciuta: --repair"_s;
        QTest::newRow("missing value") << QStringList{u"sheet"_s, u"Giulia"_s, u"a.pdf"_s, u"--columns"_s}
                                       << u"manca il valore dopo --columns."_s;
        QTest::newRow("value to an option that takes none")
            << QStringList{u"check"_s, u"Giulia"_s, u"--repair=si"_s}
            << u"l'opzione --repair non vuole un valore: --repair=si"_s;
        QTest::newRow("value to quiet") << QStringList{u"export"_s, u"Giulia"_s, u"-quiet=1"_s}
                                        << u"l'opzione -quiet non vuole un valore: -quiet=1"_s;
    }
    void optionErrorsInItalian() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, problem);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(2)));
        const Result result = lumivera(arguments);
        QCOMPARE(result.status, 2);
        QCOMPARE(result.error.section(u'\n', 0, 0), u"lumivera: "_s + problem);
        QVERIFY(result.error.contains(u"\n\nUso: lumivera %1 "_s.arg(arguments.first())));
        for (const QString& english : {u"Unknown"_s, u"Missing"_s, u"Unexpected"_s, u"option"_s, u"value"_s})
            QVERIFY2(!result.error.contains(english), qPrintable(result.error));
        QVERIFY(result.output.isEmpty());
        QCOMPARE(entriesOf(m_dir->path()), QStringList{u"Giulia.wmn"_s});
    }

    // A book that is not there; when its name could not be given to a new book, the message says why.
    void missingBookWithTheReason_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("ordinary name") << u"Nessuno"_s << QString();
        QTest::newRow("device name") << u"CON"_s << u" Il nome \"CON\" è riservato da Windows"_s;
        QTest::newRow("too long") << QString(240, u'a') << u" Il nome è troppo lungo"_s;
    }
    void missingBookWithTheReason() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const Result result = lumivera({u"check"_s, name});
        QCOMPARE(result.status, 1);
        const QString missing =
            u"lumivera: il book \"%1\" non esiste nella cartella del programma (%2)."_s.arg(name,
                                                                                            m_dir->path());
        QVERIFY2(result.error.startsWith(missing + reason), qPrintable(result.error));
        if (reason.isEmpty())
            QCOMPARE(result.error, missing + u'\n');
    }

    // Books made before the rule for new names, or by hand, still work from the command line.
    void bookWithANameNoLongerGivenStillWorks() {
        const QString name = u"Giulia: estate?"_s;
        QVERIFY(writeFile(ProgramFolder::archiveOf(name), bookOf(3)));
        const QString xls = m_dir->filePath(u"Giulia.xls"_s);
        const Result result = lumivera({u"export"_s, name, xls});
        QCOMPARE(result.status, 0);
        QVERIFY(readFile(xls).contains("Ritratto n. 2"));
    }

    // The version the build names the program with, alone on standard output, from the command line and
    // from the executable itself; an argument after it is a mistake the usage explains.
    void versionOfTheProgram() {
        const QString expected = u"Lumivera "_s + QStringLiteral(LUMIVERA_PROJECT_VERSION) + u"\n"_s;
        Result result = lumivera({u"--version"_s});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.output, expected);
        QVERIFY(result.error.isEmpty());

        result = lumivera({u"--version"_s, u"Giulia"_s});
        QCOMPARE(result.status, 2);
        QVERIFY(result.output.isEmpty());
        QVERIFY2(result.error.startsWith(u"lumivera: argomento non previsto: Giulia\n\nUso: lumivera"_s),
                 qPrintable(result.error));

        result = lumivera({u"--help"_s});
        QVERIFY2(result.output.contains(u"\n  --version     mostra la versione del programma\n"_s),
                 qPrintable(result.output));

        QProcess program;
        program.start(QStringLiteral(LUMIVERA_EXECUTABLE), {u"--version"_s});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()), expected);
        QCOMPARE(program.readAllStandardError(), QByteArray());
    }

    // --- Outputs onto the program's own files ----------------------------------------------------
    // Run from the program folder, as a user types in it: P is the program folder, U a folder of the
    // user's elsewhere. A refused output writes nothing anywhere; any other file is written where its
    // links lead, and the message names that place.
    void outputOntoKeptFiles_data() {
        QTest::addColumn<QStringList>("arguments"); // after the command's name and the book Giulia
        QTest::addColumn<QStringList>("links");     // "link>target"
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // the whole error line, or the file written
        const auto refused = [](const QString& file, const QString& what) {
            return u"lumivera: il file %1 è %2: scegliere un altro nome.\n"_s.arg(file, what);
        };
        QTest::newRow("a link to another book")
            << QStringList{u"pdf"_s, u"x.pdf"_s} << QStringList{u"P/x.pdf>Altro.wmn"_s} << 1
            << refused(u"\"P/x.pdf\" (che porta a \"P/Altro.wmn\")"_s, u"l'archivio del book \"Altro\""_s);
        QTest::newRow("the password store")
            << QStringList{u"export"_s, u"unins000.dll"_s} << QStringList{} << 1
            << refused(u"\"P/unins000.dll\""_s, u"l'archivio della password di accesso"_s);
        QTest::newRow("a card's photo")
            << QStringList{u"sheet"_s, u"Book_Zudid/Giulia_Foto_2.jpg"_s} << QStringList{} << 1
            << refused(u"\"P/Book_Zudid/Giulia_Foto_2.jpg\""_s,
                       u"la foto della scheda 2 del book \"Giulia\""_s);
        QTest::newRow("the executable") << QStringList{u"export"_s, u"lumivera"_s} << QStringList{} << 1
                                        << refused(u"\"P/lumivera\""_s, u"il programma Lumivera"_s);
        QTest::newRow("a chain of links")
            << QStringList{u"pdf"_s, u"U/a.pdf"_s}
            << QStringList{u"U/a.pdf>U/b.pdf"_s, u"U/b.pdf>P/unins000.dll"_s} << 1
            << refused(u"\"U/a.pdf\" (che porta a \"P/unins000.dll\")"_s,
                       u"l'archivio della password di accesso"_s);
        QTest::newRow("dot dot") << QStringList{u"export"_s, u"Book_Zudid/../unins000.dll"_s} << QStringList{}
                                 << 1
                                 << refused(u"\"P/unins000.dll\""_s,
                                            u"l'archivio della password di accesso"_s);
        QTest::newRow("a link to the photo folder")
            << QStringList{u"sheet"_s, u"U/foto/provino.pdf"_s} << QStringList{u"U/foto>P/Book_Zudid"_s} << 1
            << refused(u"\"U/foto/provino.pdf\" (che porta a \"P/Book_Zudid/provino.pdf\")"_s,
                       u"un file della cartella delle foto dei book"_s);
        QTest::newRow("a journal") << QStringList{u"pdf"_s, u"Giulia.wmn-journal"_s} << QStringList{} << 1
                                   << refused(u"\"P/Giulia.wmn-journal\""_s,
                                              u"il giornale delle modifiche del book \"Giulia\""_s);
        QTest::newRow("a backup") << QStringList{u"export"_s, u"Altro.wmn.bak.2"_s} << QStringList{} << 1
                                  << refused(u"\"P/Altro.wmn.bak.2\""_s,
                                             u"una copia di sicurezza dell'archivio del book \"Altro\""_s);
        QTest::newRow("the guide") << QStringList{u"pdf"_s, u"Guida.pdf"_s} << QStringList{} << 1
                                   << refused(u"\"P/Guida.pdf\""_s, u"la guida del programma"_s);
        QTest::newRow("a link named as an archive")
            << QStringList{u"pdf"_s, u"U/copia.wmn"_s} << QStringList{u"U/copia.wmn>U/nuovo.pdf"_s} << 1
            << u"lumivera: il file \"U/copia.wmn\" (che porta a \"U/nuovo.pdf\") è o potrebbe essere "
               u"l'archivio di un book: scegliere un altro nome.\n"_s;
        QTest::newRow("links in a loop") << QStringList{u"pdf"_s, u"U/a.pdf"_s}
                                         << QStringList{u"U/a.pdf>U/b.pdf"_s, u"U/b.pdf>U/a.pdf"_s} << 1
                                         << u"lumivera: non è stato possibile scrivere il file \"U/a.pdf\": "
                                            u"troppi collegamenti simbolici nel "
                                            u"percorso (Too many levels of symbolic links).\n"_s;
        QTest::newRow("a new file") << QStringList{u"pdf"_s, u"U/Giulia.pdf"_s} << QStringList{} << 0
                                    << u"U/Giulia.pdf"_s;
        QTest::newRow("a link to a user's file")
            << QStringList{u"pdf"_s, u"U/link.pdf"_s} << QStringList{u"U/link.pdf>U/lettera.pdf"_s} << 0
            << u"U/lettera.pdf"_s;
        QTest::newRow("a new file through a linked folder")
            << QStringList{u"export"_s, u"U/cartella/Giulia.xls"_s}
            << QStringList{u"U/cartella>U/documenti"_s} << 0 << u"U/documenti/Giulia.xls"_s;
    }
    void outputOntoKeptFiles() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, links);
        QFETCH(int, status);
        QFETCH(QString, said);
        QTemporaryDir user;
        QVERIFY(user.isValid());
        const QString program = QFileInfo(m_dir->path()).canonicalFilePath();
        const QString userFolder = QFileInfo(user.path()).canonicalFilePath();
        const auto place = [&](const QString& written) -> QString {
            if (written.startsWith(u"P/"_s))
                return program + written.mid(1);
            if (written.startsWith(u"U/"_s))
                return userFolder + written.mid(1);
            return written;
        };
        const auto placesIn = [&](QString text) -> QString {
            return text.replace(u"\"P/"_s, u'"' + program + u'/')
                .replace(u"\"U/"_s, u'"' + userFolder + u'/');
        };
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(3)));
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Altro"_s), bookOf(1)));
        QVERIFY(writeFile(ProgramFolder::passwordStore(), "[Accesso]\nValore=00\n"));
        QVERIFY(writeFile(ProgramFolder::guide(), "%PDF guida"));
        QVERIFY(writeFile(ProgramFolder::file(u"lumivera"_s), "programma"));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 2), jpeg({60, 80}, Qt::red)));
        QVERIFY(writeFile(user.filePath(u"lettera.pdf"_s), "lettera"));
        QVERIFY(QDir().mkpath(user.filePath(u"documenti"_s)));
        for (const QString& link : links) {
            const QString target = link.section(u'>', 1);
            QVERIFY(
                QFile::link(target.contains(u'/') ? place(target) : target, place(link.section(u'>', 0, 0))));
        }
        const QMap<QString, QByteArray> programBefore = contentsOf(program);
        const QMap<QString, QByteArray> userBefore = contentsOf(userFolder);

        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(program));
        QStringList given = arguments;
        given[1] = place(given[1]);
        given.insert(1, u"Giulia"_s);
        const Result result = lumivera(given);
        QVERIFY(QDir::setCurrent(before));

        QCOMPARE(result.status, status);
        QCOMPARE(contentsOf(program), programBefore);
        if (status == 1) {
            QCOMPARE(result.error, placesIn(said));
            QVERIFY(result.output.isEmpty());
            QCOMPARE(contentsOf(userFolder), userBefore);
            return;
        }
        const QString written = place(said);
        QVERIFY2(result.output.contains(written), qPrintable(result.output));
        const QByteArray content = readFile(written);
        QVERIFY(arguments.first() == u"export"_s ? content.contains("Ritratto n. 3")
                                                 : content.startsWith("%PDF"));
        for (const QString& link : links) // a link stays a link
            QVERIFY(QFileInfo(place(link.section(u'>', 0, 0))).isSymLink());
    }

    // --- Export ----------------------------------------------------------------------------------
    // The file is the one the export window writes for the same book, to the same place by default.
    void exportIsTheWindowsExport() {
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(300)));
        {
            FakeMessages messages;
            FakeShell shell;
            ExportWindow window;
            window.setArchivePath(ProgramFolder::archiveOf(u"Giulia"_s));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTest::mouseClick(window.findChild<Picture*>(u"cmdEsporta"_s), Qt::LeftButton);
        }
        const QByteArray fromWindow = readFile(ProgramFolder::exportFile());
        QVERIFY(fromWindow.contains("Citt\xE0 &amp; &lt;mare> n. 7"));
        QVERIFY(QFile::remove(ProgramFolder::exportFile()));

        Result result = lumivera({u"export"_s, u"Giulia"_s});
        QCOMPARE(result.status, 0);
        QCOMPARE(readFile(ProgramFolder::exportFile()), fromWindow);
        QCOMPARE(result.output,
                 u"Esportazione del book \"Giulia\" completata: %1\n"_s.arg(ProgramFolder::exportFile()));

        const QString chosen = m_dir->filePath(u"altrove/Giulia.xls"_s);
        QVERIFY(QDir().mkpath(m_dir->filePath(u"altrove"_s)));
        result = lumivera({u"export"_s, u"Giulia"_s, chosen, u"--quiet"_s});
        QCOMPARE(result.status, 0);
        QCOMPARE(readFile(chosen), fromWindow);
    }

    // An export that cannot be written says so and leaves what was there.
    void exportThatCannotBeWritten() {
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(3)));
        const QString blocked = m_dir->filePath(u"cartella.xls"_s);
        QVERIFY(QDir().mkpath(blocked + u"/dentro"_s)); // a folder where the file should go
        Result result = lumivera({u"export"_s, u"Giulia"_s, blocked});
        QCOMPARE(result.status, 1);
        QVERIFY2(result.error.startsWith(
                     u"lumivera: non è stato possibile scrivere il file \"%1\""_s.arg(blocked)),
                 qPrintable(result.error));
        QVERIFY(QFileInfo(blocked + u"/dentro"_s).isDir());

        result = lumivera({u"export"_s, u"Giulia"_s, m_dir->filePath(u"manca/Giulia.xls"_s)});
        QCOMPARE(result.status, 1);
        QVERIFY(!QFileInfo::exists(m_dir->filePath(u"manca"_s)));
    }

    // --- The portfolio ---------------------------------------------------------------------------
    void portfolioHasOneCardPageEach() {
        const int cards = 5;
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(cards)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), jpeg({1200, 900}, Qt::red)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 4), jpeg({900, 1200}, Qt::blue)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 5), "questo non è un jpeg"));
        const QString pdf = m_dir->filePath(u"Giulia.pdf"_s);
        const Result result = lumivera({u"pdf"_s, u"Giulia"_s, pdf});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.output, u"Scritto %1\n"_s.arg(pdf));
        QVERIFY(result.error.isEmpty()); // no progress where standard error is no terminal

        QCOMPARE(pagesOf(pdf), cards);
        QVERIFY_SOUND_PDF(pdf);
        QVERIFY(poppler(u"pdfinfo"_s, {pdf}).contains(QRegularExpression(u"Title:\\s+Giulia\\n"_s)));
        for (int page = 1; page <= cards; ++page) {
            const QString number = QString::number(page);
            const QString text = poppler(u"pdftotext"_s, {u"-f"_s, number, u"-l"_s, number, pdf, u"-"_s});
            const TScheda expected = card(page);
            for (TScheda::Field field : {TScheda::Titolo, TScheda::Data, TScheda::Location, TScheda::Note})
                QVERIFY2(text.contains(expected.field(field)), qPrintable(text));
            QVERIFY(text.contains(u"Giulia"_s));
        }
        // One picture for each card with a photo: cards 1 and 4.
        const QStringList images =
            poppler(u"pdfimages"_s, {u"-list"_s, pdf}).split(u'\n', Qt::SkipEmptyParts);
        QStringList pages;
        for (const QString& line : images.mid(2))
            pages << line.simplified().section(u' ', 0, 0);
        QCOMPARE(pages, (QStringList{u"1"_s, u"4"_s}));
    }

    void pdfThatCannotBeWrittenLeavesNothing_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("portfolio") << u"pdf"_s;
        QTest::newRow("contact sheet") << u"sheet"_s;
    }
    void pdfThatCannotBeWrittenLeavesNothing() {
        QFETCH(QString, command);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(3)));
        const QString blocked = m_dir->filePath(u"Giulia.pdf"_s);
        QVERIFY(QDir().mkpath(blocked));
        Result result = lumivera({command, u"Giulia"_s, blocked});
        QCOMPARE(result.status, 1);
        QVERIFY2(result.error.startsWith(
                     u"lumivera: Non è stato possibile scrivere il file \"%1\""_s.arg(blocked)),
                 qPrintable(result.error));
        QVERIFY(QFileInfo(blocked).isDir());
        QCOMPARE(entriesOf(m_dir->path()), (QStringList{u"Giulia.pdf"_s, u"Giulia.wmn"_s}));

        // A book without cards gives no file either.
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Vuoto"_s), {}));
        result = lumivera({command, u"Vuoto"_s, m_dir->filePath(u"Vuoto.pdf"_s)});
        QCOMPARE(result.status, 1);
        QCOMPARE(result.error, u"lumivera: L'archivio non contiene nessuna scheda.\n"_s);
        QVERIFY(!QFileInfo::exists(m_dir->filePath(u"Vuoto.pdf"_s)));
    }

    // A JPEG photo that needs neither turning nor shrinking goes into the file as its own bytes; any
    // other is decoded at the decoder's smallest scale that still fills its box at 300 dpi (the card
    // page's photo box is 2220 x 2091 dots, a thumbnail's of 12 columns 136 x 136), turned upright and
    // encoded again; CMYK as Adobe's programs write it comes out in its own colours.
    void photosInPdfFiles_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("photo");
        QTest::addColumn<bool>("verbatim");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QString>("colourSpace");
        QTest::addColumn<QColor>("colour");
        const QColor red(Qt::red);
        QTest::newRow("within 300 dpi, as it is")
            << u"pdf"_s << jpeg({1200, 900}, red) << true << QSize(1200, 900) << u"rgb"_s << red;
        QTest::newRow("the box's width, as it is")
            << u"pdf"_s << jpeg({2220, 1500}, red) << true << QSize(2220, 1500) << u"rgb"_s << red;
        QTest::newRow("one dot wider, decoded at full scale")
            << u"pdf"_s << jpeg({2221, 1500}, red) << false << QSize(2221, 1500) << u"rgb"_s << red;
        QTest::newRow("grey, as it is") << u"pdf"_s << greyJpeg({800, 600}, 100) << true << QSize(800, 600)
                                        << u"gray"_s << QColor(100, 100, 100);
        QTest::newRow("large, at half scale")
            << u"pdf"_s << jpeg({5000, 3000}, red) << false << QSize(2500, 1500) << u"rgb"_s << red;
        QTest::newRow("wide, at a quarter")
            << u"pdf"_s << jpeg({9000, 900}, red) << false << QSize(2250, 225) << u"rgb"_s << red;
        QTest::newRow("turned, small") << u"pdf"_s << withOrientation(jpeg({300, 200}, red), 6) << false
                                       << QSize(200, 300) << u"rgb"_s << red;
        QTest::newRow("turned, large, at half scale")
            << u"pdf"_s << withOrientation(jpeg({5000, 3000}, red), 6) << false << QSize(1500, 2500)
            << u"rgb"_s << red;
        QTest::newRow("mirrored, small") << u"pdf"_s << withOrientation(jpeg({300, 200}, red), 2) << false
                                         << QSize(300, 200) << u"rgb"_s << red;
        QTest::newRow("CMYK") << u"pdf"_s << readFile(QStringLiteral(LUMIVERA_FIXTURES "/photo-cmyk-red.jpg"))
                              << false << QSize(64, 48) << u"rgb"_s << QColor(220, 30, 30);
        QTest::newRow("thumbnail, at an eighth")
            << u"sheet"_s << jpeg({4000, 3000}, red) << false << QSize(500, 375) << u"rgb"_s << red;
        QTest::newRow("thumbnail within 300 dpi, as it is")
            << u"sheet"_s << jpeg({120, 90}, red) << true << QSize(120, 90) << u"rgb"_s << red;
    }
    void photosInPdfFiles() {
        QFETCH(QString, command);
        QFETCH(QByteArray, photo);
        QFETCH(bool, verbatim);
        QFETCH(QSize, pixels);
        QFETCH(QString, colourSpace);
        QFETCH(QColor, colour);
        QVERIFY(!photo.isEmpty());
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(2)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), photo));
        const QString pdf = m_dir->filePath(u"Giulia.pdf"_s);
        QStringList arguments{command, u"Giulia"_s, pdf};
        if (command == u"sheet"_s)
            arguments << u"--columns"_s << u"12"_s;
        QCOMPARE(lumivera(arguments).status, 0);
        QVERIFY_SOUND_PDF(pdf);

        const QList<PdfImage> images = imagesOf(pdf);
        QCOMPARE(images.size(), 1); // the second card has no photo
        QCOMPARE(images[0].page, 1);
        QCOMPARE(images[0].size, pixels);
        QCOMPARE(images[0].colour, colourSpace);
        QCOMPARE(images[0].encoding, u"jpeg"_s);
        QCOMPARE(readFile(pdf).contains(photo), verbatim);
        // The middle of the photo's box: the card page's photo area, or the first thumbnail's square.
        const QPointF middle =
            command == u"pdf"_s ? QPointF(11 + 94, 26 + 88.5) : QPointF(14 + 5.75, 12 + 5.75);
        const QColor seen = colourAt(pdf, middle);
        QVERIFY2(std::abs(seen.red() - colour.red()) < 24 && std::abs(seen.green() - colour.green()) < 24 &&
                     std::abs(seen.blue() - colour.blue()) < 24,
                 qPrintable(seen.name()));
    }

    // A PDF file that cannot be finished leaves the earlier file as it was, and nothing beside it.
    void failedPdfKeepsTheEarlierFile_data() { pdfThatCannotBeWrittenLeavesNothing_data(); }
    void failedPdfKeepsTheEarlierFile() {
        QFETCH(QString, command);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(3)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), jpeg({1200, 900}, Qt::red)));
        const QString pdf = m_dir->filePath(u"Giulia.pdf"_s);
        const QByteArray earlier = "%PDF-1.4 il portfolio di ieri";
        QVERIFY(writeFile(pdf, earlier));
        const QStringList entries = entriesOf(m_dir->path());
        Result result;
        {
            // The disk fills up at the new file's third step (the first one opens it).
            FaultyReplacer faulty(3, FaultyFileSystem::Kind::DiskFull);
            result = lumivera({command, u"Giulia"_s, pdf});
            QVERIFY(faulty.struck());
        }
        QCOMPARE(result.status, 1);
        QVERIFY2(
            result.error.startsWith(u"lumivera: Non è stato possibile scrivere il file \"%1\": "_s.arg(pdf)),
            qPrintable(result.error));
        QCOMPARE(readFile(pdf), earlier);
        QCOMPARE(entriesOf(m_dir->path()), entries);
    }

    // --- The contact sheet -----------------------------------------------------------------------
    void contactSheetPages_data() {
        QTest::addColumn<int>("cards");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("pages");
        QTest::newRow("1 card") << 1 << 4 << 1;
        QTest::newRow("16 cards, a full page") << 16 << 4 << 1;
        QTest::newRow("17 cards") << 17 << 4 << 2;
        QTest::newRow("100 cards") << 100 << 4 << 7;
        QTest::newRow("100 cards, 2 columns") << 100 << 2 << 25;
    }
    void contactSheetPages() {
        QFETCH(int, cards);
        QFETCH(int, columns);
        QFETCH(int, pages);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(cards)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), jpeg({4000, 3000}, Qt::green)));
        const QString pdf = m_dir->filePath(u"Provino.pdf"_s);
        QStringList arguments{u"sheet"_s, u"Giulia"_s, pdf};
        if (columns != 4)
            arguments << u"--columns"_s << QString::number(columns);
        QCOMPARE(lumivera(arguments).status, 0);
        QCOMPARE(pagesOf(pdf), pages);
        QVERIFY_SOUND_PDF(pdf);
        QVERIFY(poppler(u"pdfinfo"_s, {pdf}).contains(QRegularExpression(u"Title:\\s+Giulia\\n"_s)));
        const QString last =
            poppler(u"pdftotext"_s, {u"-f"_s, QString::number(pages), pdf, u"-"_s}).simplified();
        QVERIFY2(last.contains(u"Scheda %1 "_s.arg(cards)), qPrintable(last));
        QVERIFY2(last.contains(u"Pagina %1 di %1"_s.arg(pages)), qPrintable(last));
        QVERIFY(last.contains(u"Giulia"_s));
        QVERIFY(last.contains(card(cards).field(TScheda::Data)));
        // The thumbnail is decoded at its size on the page, not at the photo's.
        const QString image = poppler(u"pdfimages"_s, {u"-list"_s, pdf}).split(u'\n').value(2).simplified();
        QVERIFY2(image.section(u' ', 3, 3).toInt() <= 2000, qPrintable(image));
    }

    // --- Some of the book's cards --------------------------------------------------------------
    // --cards takes the cards listed, in the book's order, each once: the portfolio has a page for each,
    // the contact sheet shows each with its own position and counts its pages from them, the export
    // has their rows only.
    void chosenCards_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<int>("pages");
        QList<int> twenty;
        for (int n = 1; n <= 10; ++n)
            twenty << n << n + 30;
        std::sort(twenty.begin(), twenty.end());
        QTest::newRow("portfolio of two cards") << u"pdf"_s << u"2,4"_s << QList<int>{2, 4} << 2;
        QTest::newRow("portfolio, out of order and repeated")
            << u"pdf"_s << u"24, 2 ,2"_s << QList<int>{2, 24} << 2;
        QTest::newRow("contact sheet of a range") << u"sheet"_s << u"1-3"_s << QList<int>{1, 2, 3} << 1;
        QTest::newRow("contact sheet of twenty cards") << u"sheet"_s << u"31-40,1-10"_s << twenty << 2;
        QTest::newRow("export of one card") << u"export"_s << u"3"_s << QList<int>{3} << 0;
        QTest::newRow("export of scattered cards")
            << u"export"_s << u"40,7,1-2"_s << QList<int>{1, 2, 7, 40} << 0;
    }
    void chosenCards() {
        QFETCH(QString, command);
        QFETCH(QString, list);
        QFETCH(QList<int>, shown);
        QFETCH(int, pages);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(40)));
        const QString file = m_dir->filePath(command == u"export"_s ? u"Giulia.xls"_s : u"Giulia.pdf"_s);
        const Result result = lumivera({command, u"Giulia"_s, file, u"--cards"_s, list});
        QCOMPARE(result.status, 0);
        QVERIFY(result.error.isEmpty());
        const auto named = [](int n) { return QRegularExpression(u"Luogo%1\\b"_s.arg(n)); };

        if (command == u"export"_s) {
            // The rows of a book that holds those cards alone, in that order.
            QList<TScheda> alone;
            for (int n : shown)
                alone << card(n);
            QVERIFY(writeFile(ProgramFolder::archiveOf(u"Scelte"_s), archiveOf(alone)));
            const QString expected = m_dir->filePath(u"Scelte.xls"_s);
            QCOMPARE(lumivera({u"export"_s, u"Scelte"_s, expected}).status, 0);
            QCOMPARE(readFile(file), readFile(expected));
            QCOMPARE(readFile(file).count("<tr>"), 1 + shown.size());
            return;
        }
        QCOMPARE(pagesOf(file), pages);
        QVERIFY_SOUND_PDF(file);
        const QString text = pdfText(file);
        if (command == u"pdf"_s) {
            for (int n = 1; n <= 40; ++n)
                QVERIFY2(text.contains(named(n)) == shown.contains(n), qPrintable(u"scheda %1"_s.arg(n)));
            for (int page = 1; page <= pages; ++page) {
                const QString number = QString::number(page);
                const QString onPage =
                    poppler(u"pdftotext"_s, {u"-f"_s, number, u"-l"_s, number, file, u"-"_s});
                QVERIFY2(onPage.contains(card(shown[page - 1]).field(TScheda::Titolo)), qPrintable(onPage));
                QVERIFY(onPage.contains(named(shown[page - 1])));
            }
        } else {
            // Under each thumbnail, its own position.
            for (int n = 1; n <= 40; ++n)
                QCOMPARE(text.contains(QRegularExpression(u"Scheda %1\\b"_s.arg(n))), shown.contains(n));
            QVERIFY(text.contains(u"Pagina %1 di %1"_s.arg(pages)));
        }
    }

    // A card whose photo file is the placeholder the editor writes for a card saved without a photo is
    // printed as a card without a photo; the file stays as it is.
    void placeholderPrintsAsNoPhoto_data() { pdfThatCannotBeWrittenLeavesNothing_data(); }
    void placeholderPrintsAsNoPhoto() {
        QFETCH(QString, command);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(2)));
        const QByteArray placeholder = PhotoStore::placeholderPhotoFile();
        QVERIFY(!placeholder.isEmpty());
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), placeholder));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 2), jpeg({120, 90}, Qt::red)));
        const QString pdf = m_dir->filePath(u"Giulia.pdf"_s);
        QCOMPARE(lumivera({command, u"Giulia"_s, pdf}).status, 0);
        QVERIFY_SOUND_PDF(pdf);
        const QList<PdfImage> images = imagesOf(pdf);
        QCOMPARE(images.size(), 1); // card 2's photo only
        QCOMPARE(images[0].size, QSize(120, 90));
        QCOMPARE(images[0].page, command == u"pdf"_s ? 2 : 1);
        QCOMPARE(readFile(PhotoStore::photoPath(u"Giulia"_s, 1)), placeholder);
        if (command == u"sheet"_s) {
            // The light grey frame of a card without a photo on the first thumbnail's left edge, 14 mm
            // from the page's: at 300 dpi, grey pixels between 13 and 15 mm, where the placeholder
            // picture, narrower than its square, would leave the page white.
            const QImage page = firstPage(pdf, 300);
            QVERIFY(!page.isNull());
            const int y = qRound(32 * 300 / 25.4);
            bool grey = false;
            for (int x = qRound(13 * 300 / 25.4); x <= qRound(15 * 300 / 25.4); ++x) {
                const QColor seen = page.pixelColor(x, y);
                grey = grey || (seen.red() < 240 && seen.red() > 150 && seen.red() == seen.blue());
            }
            QVERIFY(grey);
        }
    }

    // --- The check -------------------------------------------------------------------------------
    void checkFindsEachDamage() {
        QList<TScheda> cards{card(1), card(2), card(3)};
        cards[0].setField(TScheda::File01, u"../Giulia.wmn"_s);
        cards[0].setField(TScheda::File02, u"contratto.pdf"_s);
        cards[1].bytes()[TScheda::layout(TScheda::Data).offset] = 200; // the date holds 10
        cards[2].bytes()[TScheda::layout(TScheda::Location).offset + 3] = 0x81;
        const QByteArray archive = archiveOf(cards) + QByteArray(100, 'x');
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), archive));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), jpeg({60, 80}, Qt::red)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 3), "questo non è un jpeg"));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 7), jpeg({60, 80}, Qt::red)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia2"_s, 1), jpeg({60, 80}, Qt::red))); // another book's

        Result result = lumivera({u"check"_s, u"Giulia"_s});
        QCOMPARE(result.status, 1);
        QCOMPARE(
            result.output.split(u'\n', Qt::SkipEmptyParts),
            (QStringList{
                u"L'ultimo record dell'archivio è incompleto: 100 byte dopo la scheda 3, che la riparazione "
                u"taglia."_s,
                u"Scheda 1: l'allegato \"../Giulia.wmn\" indica un file fuori dalla cartella dei documenti "
                u"allegati."_s,
                u"Scheda 1: il file allegato \"contratto.pdf\" non è nella cartella dei documenti allegati."_s,
                u"Scheda 2: il campo Data dichiara 200 caratteri, ma ne può contenere al più 10."_s,
                u"Scheda 3: il campo Location contiene il codice 0x81, che non è testo."_s,
                u"Scheda 2: manca il file della foto (Giulia_Foto_2.jpg)."_s,
                u"Scheda 3: il file della foto (Giulia_Foto_3.jpg) non contiene un'immagine leggibile."_s,
                u"Il file della foto Giulia_Foto_7.jpg non appartiene a nessuna scheda."_s,
            }));
        QCOMPARE(readFile(ProgramFolder::archiveOf(u"Giulia"_s)), archive); // a check changes nothing

        // The repair keeps a copy, cuts the incomplete record and nothing else.
        result = lumivera({u"check"_s, u"Giulia"_s, u"--repair"_s});
        QCOMPARE(result.status, 1); // the other findings remain
        const QString backup = ProgramFolder::archiveOf(u"Giulia"_s) + u".bak"_s;
        QVERIFY2(result.output.contains(u"Copia dell'archivio conservata in %1\n"_s.arg(backup)),
                 qPrintable(result.output));
        QVERIFY(result.output.contains(u"Tagliati i 100 byte dell'ultimo record incompleto.\n"_s));
        QCOMPARE(readFile(backup), archive);
        QCOMPARE(readFile(ProgramFolder::archiveOf(u"Giulia"_s)), archiveOf(cards));

        // With nothing to cut, a repair changes nothing and keeps no copy, however often it runs.
        for (int run = 0; run < 3; ++run) {
            result = lumivera({u"check"_s, u"Giulia"_s, u"--repair"_s});
            QVERIFY(result.output.contains(u"Nessun record incompleto da tagliare"_s));
            QVERIFY2(!result.output.contains(u"conservata"_s), qPrintable(result.output));
        }
        QVERIFY(!QFile::exists(backup + u".2"_s));
        QCOMPARE(readFile(ProgramFolder::archiveOf(u"Giulia"_s)), archiveOf(cards));
        QVERIFY(!lumivera({u"check"_s, u"Giulia"_s}).output.contains(u"incompleto"_s));

        // The next cut keeps its copy beside the earlier one, which is never overwritten.
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), archiveOf(cards) + "yy"));
        result = lumivera({u"check"_s, u"Giulia"_s, u"--repair"_s});
        QVERIFY(result.output.contains(u"conservata in %1.2\n"_s.arg(backup)));
        QCOMPARE(readFile(backup), archive);
        QCOMPARE(readFile(backup + u".2"_s), archiveOf(cards) + "yy");
        QCOMPARE(readFile(ProgramFolder::archiveOf(u"Giulia"_s)), archiveOf(cards));
    }

    void checkOfASoundBook() {
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(2)));
        for (int position : {1, 2})
            QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, position), jpeg({60, 80}, Qt::red)));
        const Result result = lumivera({u"check"_s, u"Giulia"_s});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.output, u"Nessun problema trovato nel book \"Giulia\".\n"_s);
    }

    // --- Importing photos ------------------------------------------------------------------------
    // A book of two cards with their photos, and a shoot folder with the files of the row (a name with
    // "=" takes the bytes of card 1's photo).
    void importFromTheCommandLine_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error"); // "%1" stands for the shoot folder
        const QString twoToComplete =
            u"2 schede non hanno la location: va scritta nell'editor prima di salvare. \"lumivera check\" "
            u"elenca queste schede, e la ricerca di \"Importata da\" nelle note trova tutte le schede "
            u"importate.\n"_s;
        const QString oneToComplete =
            u"1 scheda non ha la location: va scritta nell'editor prima di salvare. \"lumivera check\" "
            u"elenca queste schede, e la ricerca di \"Importata da\" nelle note trova tutte le schede "
            u"importate.\n"_s;
        QTest::newRow("all went in") << QStringList{u"a.jpg"_s, u"b.jpg"_s} << QStringList{} << 0
                                     << u"Importate 2 foto nel book \"Giulia\": schede da 3 a 4.\n"_s +
                                            twoToComplete
                                     << QString();
        QTest::newRow("a file that is no picture")
            << QStringList{u"a.jpg"_s, u"note.txt"_s} << QStringList{} << 1
            << u"Importata 1 foto nel book \"Giulia\": scheda 3.\n"_s + oneToComplete
            << u"lumivera: %1/note.txt: non è un'immagine che il programma sa leggere.\n"_s;
        QTest::newRow("a photo the book has") << QStringList{u"=copia.jpg"_s} << QStringList{} << 0
                                              << u"Nessuna foto importata nel book \"Giulia\".\n"_s
                                              << u"lumivera: %1/copia.jpg: è già la foto della scheda 1, non "
                                                 u"importata di nuovo.\n"_s;
        QTest::newRow("a photo the book has, asked for")
            << QStringList{u"=copia.jpg"_s} << QStringList{u"--allow-duplicates"_s} << 0
            << u"Importata 1 foto nel book \"Giulia\": scheda 3.\n"_s + oneToComplete << QString();
        QTest::newRow("an empty folder")
            << QStringList{} << QStringList{} << 1 << QString() << u"lumivera: nessuna foto trovata.\n"_s;
        QTest::newRow("a subfolder") << QStringList{u"sub/a.jpg"_s} << QStringList{} << 1 << QString()
                                     << u"lumivera: nessuna foto trovata.\n"_s;
        QTest::newRow("a subfolder, recursive")
            << QStringList{u"sub/a.jpg"_s} << QStringList{u"--recursive"_s} << 0
            << u"Importata 1 foto nel book \"Giulia\": scheda 3.\n"_s + oneToComplete << QString();
    }
    void importFromTheCommandLine() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, error);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(2)));
        const QByteArray cardPhoto = jpeg({60, 80}, Qt::red);
        for (int position : {1, 2})
            QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, position), cardPhoto));
        QTemporaryDir shoot;
        QVERIFY(QDir(shoot.path()).mkpath(u"."_s));
        int colour = 0;
        for (const QString& name : files) {
            const QString path = shoot.filePath(QString(name).remove(u'='));
            const QByteArray bytes = name.startsWith(u'=') ? cardPhoto
                                     : name.endsWith(u".txt"_s)
                                         ? QByteArray("appunti\n")
                                         : jpeg({64, 48}, QColor::fromHsv(colour++ * 90, 255, 255));
            QVERIFY(writeFile(path, bytes));
        }
        const Result result = lumivera(QStringList{u"import"_s, u"Giulia"_s, shoot.path()} + options);
        QCOMPARE(result.output, output);
        QCOMPARE(result.error, error.arg(shoot.path()));
        QCOMPARE(result.status, status);
    }

    // The cards still without a location are listed by the check, which finds nothing wrong with them.
    void checkListsImportedCardsToComplete() {
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(1)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), jpeg({60, 80}, Qt::red)));
        QTemporaryDir shoot;
        QVERIFY(writeFile(shoot.filePath(u"IMG_2.jpg"_s), jpeg({64, 48}, Qt::green)));
        QVERIFY(writeFile(shoot.filePath(u"IMG_10.jpg"_s), jpeg({64, 48}, Qt::blue)));
        const QDateTime taken(QDate(2024, 3, 1), QTime(9, 0));
        for (const QString& name : {u"IMG_2.jpg"_s, u"IMG_10.jpg"_s}) {
            QFile file(shoot.filePath(name));
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(taken, QFileDevice::FileModificationTime));
        }
        QCOMPARE(lumivera({u"import"_s, u"Giulia"_s, shoot.path()}).status, 0);
        const Result result = lumivera({u"check"_s, u"Giulia"_s});
        QCOMPARE(
            result.output,
            u"Scheda 2 (importata da IMG_2.jpg): manca il campo Location, da scrivere nell'editor prima di "
            u"salvarla.\n"
            u"Scheda 3 (importata da IMG_10.jpg): manca il campo Location, da scrivere nell'editor prima di "
            u"salvarla.\n"
            u"Nessun problema trovato nel book \"Giulia\"; 2 schede sono da completare.\n"_s);
        QCOMPARE(result.status, 0);
    }

    // A disk that fills after the first photo: that card is whole, the rest is not tried, and the
    // command says how far it went.
    void importStoppedByAFullDisk() {
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(2)));
        QTemporaryDir shoot;
        QVERIFY(writeFile(shoot.filePath(u"a.jpg"_s), jpeg({64, 48}, Qt::green)));
        QVERIFY(writeFile(shoot.filePath(u"b.jpg"_s), jpeg({64, 48}, Qt::blue)));
        Result result;
        {
            FaultyReplacer disk(4, FaultyFileSystem::Kind::DiskFull); // the second photo's first step
            result = lumivera({u"import"_s, u"Giulia"_s, shoot.path(), u"--quiet"_s});
            QVERIFY(disk.struck());
        }
        QCOMPARE(result.status, 1);
        QVERIFY(result.output.startsWith(u"Importata 1 foto nel book \"Giulia\": scheda 3.\n"_s));
        const QString stopped =
            u"lumivera: l'importazione si è fermata dopo 1 foto, 1 non sono state importate: "
            u"non è stato possibile scrivere la foto \"%1\": "_s.arg(
                QDir::toNativeSeparators(PhotoStore::photoPath(u"Giulia"_s, 4)));
        QVERIFY2(result.error.startsWith(stopped), qPrintable(result.error));
        QCOMPARE(readFile(ProgramFolder::archiveOf(u"Giulia"_s)).size(), 3 * qsizetype(TScheda::kSize));
        QCOMPARE(readFile(PhotoStore::photoPath(u"Giulia"_s, 3)), readFile(shoot.filePath(u"a.jpg"_s)));
        QVERIFY(!QFileInfo::exists(PhotoStore::photoPath(u"Giulia"_s, 4)));
    }

    // --- What the commands never damage ------------------------------------------------------------
    // A save killed with its journal on the disk, then the archive put back from a copy kept elsewhere:
    // no command applies that journal to the copy. The commands that only read leave every file as it
    // is; the repair, which opens the book for writing, keeps the journal aside and says so.
    void journalOfAnotherCopyIsNeverApplied() {
        const QString archive = ProgramFolder::archiveOf(u"Giulia"_s);
        const QString journal = BookArchive::journalPath(archive);
        QVERIFY(writeFile(archive, bookOf(5)));
        QProcess writer;
        writer.start(QStringLiteral(LUMIVERA_JOURNAL_WRITER),
                     {u"overwrite"_s, archive, u"1"_s, u"record-synced"_s});
        QVERIFY(writer.waitForFinished(-1));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        QVERIFY(QFile::exists(journal));
        const QByteArray kept = readFile(journal);
        QList<TScheda> restored;
        for (int n = 1; n <= 5; ++n)
            restored << card(n + 20);
        QVERIFY(writeFile(archive, archiveOf(restored)));

        const QStringList reading[] = {{u"export"_s, u"Giulia"_s, m_dir->filePath(u"Giulia.xls"_s)},
                                       {u"pdf"_s, u"Giulia"_s, m_dir->filePath(u"Giulia.pdf"_s)},
                                       {u"sheet"_s, u"Giulia"_s, m_dir->filePath(u"Provino.pdf"_s)},
                                       {u"check"_s, u"Giulia"_s}};
        for (const QStringList& command : reading) {
            const Result result = lumivera(command);
            QVERIFY2(readFile(archive) == archiveOf(restored), qPrintable(command.join(u' ')));
            QVERIFY2(readFile(journal) == kept, qPrintable(command.join(u' ')));
            if (command.first() == u"check"_s)
                QVERIFY2(result.output.contains(u"non corrisponde all'archivio"_s),
                         qPrintable(result.output));
            else
                QCOMPARE(result.status, 0);
        }
        QVERIFY(readFile(m_dir->filePath(u"Giulia.xls"_s)).contains("Ritratto n. 22"));

        const Result repaired = lumivera({u"check"_s, u"Giulia"_s, u"--repair"_s});
        QCOMPARE(readFile(archive), archiveOf(restored));
        QVERIFY(!QFile::exists(journal));
        QCOMPARE(readFile(BookArchive::setAsideJournalPath(archive, 1)), kept);
        QVERIFY2(repaired.error.contains(u"Giulia.wmn-scartato-1"_s), qPrintable(repaired.error));
    }

    // A journal beside the book, said as the next opening will act on it; a save under way in another
    // copy (its lock held) is no problem of the book.
    void checkSaysWhatAJournalMeans_data() {
        QTest::addColumn<QString>("journal");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::newRow("interrupted overwrite")
            << u"pending"_s << 1
            << u"Il salvataggio della scheda 2 è stato interrotto: alla "
               u"prossima apertura del book la scheda tornerà com'era prima "
               u"di quel salvataggio."_s;
        QTest::newRow("torn journal")
            << u"torn"_s << 1 << u"Un salvataggio è stato interrotto prima di modificare l'archivio"_s;
        QTest::newRow("save in progress")
            << u"locked"_s << 0 << u"Un'altra copia del programma sta salvando una scheda"_s;
    }
    void checkSaysWhatAJournalMeans() {
        QFETCH(QString, journal);
        QFETCH(int, status);
        QFETCH(QString, said);
        const QString archive = ProgramFolder::archiveOf(u"Giulia"_s);
        QVERIFY(writeFile(archive, bookOf(3)));
        for (int position = 1; position <= 3; ++position)
            QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, position), jpeg({60, 80}, Qt::red)));
        QByteArray before = bookOf(3).left(8192);
        QByteArray after = before;
        after.replace(qsizetype(TScheda::kSize), qsizetype(TScheda::kSize), archiveOf({card(9)}));
        if (journal == u"torn"_s)
            QVERIFY(writeFile(BookArchive::journalPath(archive), "LMVJRNL2 cut short"));
        else
            QVERIFY(writeFile(BookArchive::journalPath(archive), ArchiveJournal::encode(0, before, after)));
        if (journal == u"pending"_s)
            QVERIFY(writeFile(archive, after + bookOf(3).mid(8192)));
        std::unique_ptr<FileLock> lock;
        if (journal == u"locked"_s) {
            FileSystem::OpenError error;
            lock = fileSystem().lockExclusive(archive, error);
            QVERIFY(lock);
        }
        const QByteArray onDisk = readFile(archive);
        const Result result = lumivera({u"check"_s, u"Giulia"_s});
        QVERIFY2(result.output.contains(said), qPrintable(result.output));
        QCOMPARE(result.status, status);
        QCOMPARE(readFile(archive), onDisk);
    }

    // A book on a disk that cannot be written (a DVD, a read-only share) is still exported and printed
    // to a place that can be.
    void bookOnAReadOnlyDisk() {
        const QString archive = ProgramFolder::archiveOf(u"Giulia"_s);
        QVERIFY(writeFile(archive, bookOf(3)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), jpeg({60, 80}, Qt::red)));
        FaultyFileSystem readOnly(FaultyFileSystem::Fault::ReadOnlyDisk);
        for (const auto& [command, file] : {std::pair{u"export"_s, u"Giulia.xls"_s},
                                            {u"pdf"_s, u"Giulia.pdf"_s},
                                            {u"sheet"_s, u"Provino.pdf"_s}}) {
            const QString output =
                QDir::temp().filePath(u"lumivera-%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(file));
            const auto gone = qScopeGuard([&] { QFile::remove(output); });
            const Result result = lumivera({command, u"Giulia"_s, output});
            QVERIFY2(result.status == 0, qPrintable(command + u": "_s + result.error));
            QVERIFY(QFileInfo(output).size() > 0);
        }
        QCOMPARE(readFile(archive), bookOf(3));
    }

    // A file larger than the cards a book can count: a clear message, no crash, no output.
    void bookTooLargeForTheProgram_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("check") << QStringList{u"check"_s, u"Enorme"_s};
        QTest::newRow("export") << QStringList{u"export"_s, u"Enorme"_s, u"Enorme.xls"_s};
        QTest::newRow("pdf") << QStringList{u"pdf"_s, u"Enorme"_s, u"Enorme.pdf"_s};
        QTest::newRow("sheet") << QStringList{u"sheet"_s, u"Enorme"_s, u"Enorme.pdf"_s};
    }
    void bookTooLargeForTheProgram() {
        QFETCH(QStringList, arguments);
        QFile huge(ProgramFolder::archiveOf(u"Enorme"_s));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        if (!huge.resize(qint64(8) << 40))
            QSKIP("this disk holds no sparse file of 8 TB");
        huge.close();
        QDir::setCurrent(m_dir->path());
        const Result result = lumivera(arguments);
        QCOMPARE(result.status, 1);
        QVERIFY2(result.error.contains(u"è troppo grande per il programma: contiene 2479169397 schede"_s),
                 qPrintable(result.error));
        if (arguments.size() > 2)
            QVERIFY(!QFile::exists(m_dir->filePath(arguments.at(2))));
    }

    // A pipe where a photo should be is no picture: the check says so, and the PDFs are made with the
    // placeholder instead of waiting for ever.
    void pipeUnderAPhotoName() {
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(2)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), jpeg({60, 80}, Qt::red)));
        QCOMPARE(::mkfifo(QFile::encodeName(PhotoStore::photoPath(u"Giulia"_s, 2)).constData(), 0600), 0);
        const Result checked = lumivera({u"check"_s, u"Giulia"_s});
        QCOMPARE(checked.output, u"Scheda 2: il file della foto (Giulia_Foto_2.jpg) non contiene "
                                 u"un'immagine leggibile.\n"_s);
        QCOMPARE(lumivera({u"pdf"_s, u"Giulia"_s, m_dir->filePath(u"Giulia.pdf"_s)}).status, 0);
        QCOMPARE(lumivera({u"sheet"_s, u"Giulia"_s, m_dir->filePath(u"Provino.pdf"_s)}).status, 0);
    }

    // The program's own export file, made a link by someone, is replaced as a link: the file it led
    // to stays as it was.
    void ownExportFileThatIsALink() {
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookOf(2)));
        QTemporaryDir elsewhere;
        const QString theirs = elsewhere.filePath(u"conti.xls"_s);
        QVERIFY(writeFile(theirs, "i conti del fotografo"));
        QVERIFY(QFile::link(theirs, ProgramFolder::exportFile()));
        QCOMPARE(lumivera({u"export"_s, u"Giulia"_s}).status, 0);
        QCOMPARE(readFile(theirs), QByteArray("i conti del fotografo"));
        QVERIFY(!QFileInfo(ProgramFolder::exportFile()).isSymLink());
        QVERIFY(readFile(ProgramFolder::exportFile()).contains("Ritratto n. 2"));
    }

    // --- The executable --------------------------------------------------------------------------
    // Started with arguments, the program needs no display even where the desktop's platform is asked
    // for, and reports through its exit status.
    void executableRunsWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"Comandi:"_s << QString();
        QTest::newRow("wrong command") << QStringList{u"stampa"_s} << 2 << QString()
                                       << u"lumivera: comando sconosciuto: stampa\n\nUso: lumivera"_s;
        QTest::newRow("unknown option")
            << QStringList{u"check"_s, u"Giulia"_s, u"--schede"_s} << 2 << QString()
            << u"lumivera: opzione sconosciuta: --schede\n\nUso: lumivera check"_s;
        QTest::newRow("a list of cards written backwards")
            << QStringList{u"export"_s, u"Giulia"_s, u"--cards"_s, u"9-5"_s} << 2 << QString()
            << u"lumivera: --cards: l'intervallo \"9-5\" va all'indietro: si scrive dalla scheda più bassa "
               u"alla "
               u"più alta, come 5-9.\n\nUso: lumivera export"_s;
        QTest::newRow("no such book") << QStringList{u"check"_s, u"Libro che non c'è"_s} << 1 << QString()
                                      << u"lumivera: il book \"Libro che non c'è\" non esiste"_s;
    }
    void executableRunsWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, error);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(LUMIVERA_EXECUTABLE), arguments);
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        QVERIFY(QString::fromLocal8Bit(program.readAllStandardOutput()).contains(output));
        const QString said = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(said.contains(error), qPrintable(said));
        QVERIFY2(!said.contains(u"qt."_s), qPrintable(said));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

LUMIVERA_WINDOW_TEST_MAIN(TestCommandLine)
#include "tst_cli.moc"
