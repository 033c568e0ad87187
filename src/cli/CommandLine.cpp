#include "cli/CommandLine.h"

#include "archive/core/BookArchive.h"
#include "archive/core/BookCheck.h"
#include "archive/core/BookShelf.h"
#include "archive/core/KeptFiles.h"
#include "archive/core/PhotoImport.h"
#include "base/LumiveraError.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"
#include "base/SystemText.h"
#include "base/TextRules.h"
#include "base/Version.h"
#include "output/core/BookPdf.h"
#include "output/core/CardChoice.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace CommandLine {

namespace {

struct Command {
    QString synopsis;    // the arguments after the command's name
    QString description; // one line
    QStringList options; // one line each
    qsizetype leastArguments;
    qsizetype mostArguments;
};

// The option of the commands that take some of the book's cards.
const QString& cardsOption() {
    static const QString text = u"  --cards ELENCO  solo le schede indicate, per esempio 1,3,5-9"_s;
    return text;
}

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> known = {
        {u"export"_s,
         {u"<book> [<file>] [--cards ELENCO]"_s,
          u"Esporta le schede del book nel file per il foglio di calcolo (senza <file>, nel file di "
          u"esportazione della cartella del programma)."_s,
          {cardsOption()},
          1,
          2}},
        {u"pdf"_s,
         {u"<book> <file.pdf> [--cards ELENCO]"_s,
          u"Scrive il book come portfolio PDF: una pagina A4 per scheda, per tutte le schede o per quelle "
          u"indicate."_s,
          {cardsOption()},
          2,
          2}},
        {u"sheet"_s,
         {u"<book> <file.pdf> [--columns N] [--cards ELENCO]"_s,
          u"Scrive il provino a contatto del book: le miniature delle foto con posizione, titolo e data."_s,
          {u"  --columns N   miniature per riga, da 1 a %1 (4 se non indicato)"_s.arg(BookPdf::kMaxColumns),
           cardsOption()},
          2,
          2}},
        {u"import"_s,
         {u"<book> <foto o cartella>... [--recursive] [--allow-duplicates]"_s,
          u"Aggiunge al book una scheda per ogni foto, in ordine di scatto, con i dati che la foto porta con "
          u"sé; il titolo, se manca, è il nome del file, e la data quella del file."_s,
          {u"  --recursive   anche le foto delle sottocartelle"_s,
           u"  --allow-duplicates\n"
           u"                importa anche le foto che il book ha già come foto di una scheda"_s},
          2,
          std::numeric_limits<qsizetype>::max()}},
        {u"check"_s,
         {u"<book> [--repair]"_s,
          u"Controlla l'archivio del book e la cartella delle foto e riporta, una riga ciascuno, i problemi "
          u"trovati."_s,
          {u"  --repair      conserva una copia dell'archivio (<book>.wmn.bak) e taglia l'ultimo record se "
           u"incompleto"_s},
          1,
          1}},
    };
    return known;
}

QString generalUsage() {
    QString text = u"Uso: lumivera [<comando> <argomenti>]\n\n"
                   u"Senza argomenti il programma si apre con la finestra di accesso. I comandi lavorano sui "
                   u"book della cartella del programma, indicati per nome, e non aprono finestre.\n\n"
                   u"Comandi:\n"_s;
    for (const auto& [name, command] : commands())
        text += u"  %1 %2\n      %3\n"_s.arg(name, command.synopsis, command.description);
    text += u"\nOpzioni:\n"
            u"  -h, --help    mostra questo aiuto (lumivera <comando> --help: l'aiuto del comando)\n"
            u"  -q, --quiet   nessuna indicazione di avanzamento\n"
            u"  --version     mostra la versione del programma\n"_s;
    return text;
}

QString commandUsage(const QString& name) {
    const Command& command = commands().at(name);
    QString text =
        u"Uso: lumivera %1 %2\n\n%3\n\nOpzioni:\n"_s.arg(name, command.synopsis, command.description);
    for (const QString& option : command.options)
        text += option + u'\n';
    text += u"  -q, --quiet   nessuna indicazione di avanzamento\n"
            u"  -h, --help    mostra questo aiuto\n"_s;
    return text;
}

int usageError(const Console& console, const QString& problem, const QString& usage) {
    console.error(u"lumivera: %1\n\n%2"_s.arg(problem, usage));
    return 2;
}

int failure(const Console& console, const QString& text) {
    console.error(u"lumivera: %1\n"_s.arg(text));
    return 1;
}

// Progress on standard error, only when it is a terminal and the user did not ask for quiet.
class ProgressLine {
public:
    ProgressLine(const Console& console, const QString& what, bool quiet)
        : m_console(console)
        , m_what(what)
        , m_shown(!quiet && console.errorIsTerminal) {}
    ~ProgressLine() {
        if (m_started)
            m_console.error(u"\n"_s);
    }
    // Shows the step; the command line never stops the work half way, so it always goes on.
    bool operator()(qint64 done, qint64 total) {
        if (!m_shown || total <= 0)
            return true;
        const int percent = int(done * 100 / total);
        if (m_started && percent == m_percent)
            return true;
        m_started = true;
        m_percent = percent;
        m_console.error(u"\r%1: %2%"_s.arg(m_what).arg(percent));
        return true;
    }

private:
    const Console& m_console;
    QString m_what;
    bool m_shown;
    bool m_started = false;
    int m_percent = -1;
};

// The book named on the command line, as it lies in the program folder; an empty text, after saying
// why, when there is no such book. A book whose name could not be given to a new book today is still
// found: the rule for new names only helps to say why a book is not there.
QString bookNamed(const Console& console, const QString& given) {
    const QString name = TextRules::trim(given);
    if (name.isEmpty() || BookShelf::isUnsafeName(name)) {
        failure(console, u"\"%1\" non è un nome di book valido."_s.arg(given));
        return {};
    }
    if (!QFileInfo(ProgramFolder::archiveOf(name)).isFile()) {
        QString text = u"il book \"%1\" non esiste nella cartella del programma (%2)."_s.arg(
            name, QDir::toNativeSeparators(ProgramFolder::path()));
        const QString problem = BookShelf::nameProblem(name);
        if (!problem.isEmpty())
            text += u' ' + problem;
        failure(console, text);
        return {};
    }
    return name;
}

// The file a command writes: the path given, made absolute, with every link followed, so that what is
// judged is what gets written. An empty text, after saying why, when that is one of the files the
// program keeps (a book, its journal or backups, the password store, a photo, the program itself...):
// a slip of the keyboard or a link would put a spreadsheet or a PDF in its place.
QString outputTarget(const Console& console, const QString& given) {
    const QString shown = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(given).absoluteFilePath()));
    const QString path = KeptFiles::resolved(given);
    if (path.isEmpty()) {
        failure(console, u"non è stato possibile scrivere il file \"%1\": %2."_s.arg(
                             shown, SystemText::ofCode(ELOOP)));
        return {};
    }
    const QString native = QDir::toNativeSeparators(path);
    const QString named =
        native == shown ? u"\"%1\""_s.arg(shown) : u"\"%1\" (che porta a \"%2\")"_s.arg(shown, native);
    if (const std::optional<QString> kept = KeptFiles::whatIsKept(path)) {
        failure(console, u"il file %1 è %2: scegliere un altro nome."_s.arg(named, *kept));
        return {};
    }
    if (KeptFiles::hasArchiveName(given) || KeptFiles::hasArchiveName(path)) {
        failure(
            console,
            u"il file %1 è o potrebbe essere l'archivio di un book: scegliere un altro nome."_s.arg(named));
        return {};
    }
    return path;
}

int runExport(const Console& console, const QString& book, const QString& file,
              const CardChoice::Cards& cards) {
    const bool ownFile = file.isEmpty();
    const QString checked = outputTarget(console, ownFile ? ProgramFolder::exportFile() : file);
    if (checked.isEmpty())
        return 1;
    // The program's own export file is replaced where it stands, a link as a link; a file the user
    // names is written where its links lead.
    const QString path = ownFile ? ProgramFolder::exportFile() : checked;
    CardGridModel grid;
    QString why;
    if (!grid.fill(ProgramFolder::archiveOf(book), &why, cards))
        return failure(console,
                       u"non è stato possibile leggere l'archivio del book \"%1\": %2"_s.arg(book, why));
    QString error;
    if (!ExportFile::write(path, grid, &error))
        return failure(console, u"non è stato possibile scrivere il file \"%1\": %2."_s.arg(
                                    QDir::toNativeSeparators(path), SystemText::italian(error)));
    console.output(
        u"Esportazione del book \"%1\" completata: %2\n"_s.arg(book, QDir::toNativeSeparators(path)));
    return 0;
}

int runCheck(const Console& console, const QString& book, bool repair, bool quiet) {
    QList<BookCheck::Finding> findings;
    {
        ProgressLine progress(console, u"Controllo di %1"_s.arg(book), quiet);
        findings = BookCheck::run(book, std::ref(progress));
    }
    for (const BookCheck::Finding& finding : findings)
        console.output(finding.text + u'\n');
    // A save in progress in another copy is said, but is no problem of the book.
    const auto anyProblem = [&](bool cutRecordCounts) {
        return std::any_of(findings.begin(), findings.end(), [&](const BookCheck::Finding& f) {
            return f.isProblem() && (cutRecordCounts || f.kind != BookCheck::Finding::CutRecord);
        });
    };
    if (!repair) {
        const auto toComplete =
            std::count_if(findings.begin(), findings.end(), [](const BookCheck::Finding& f) {
                return f.kind == BookCheck::Finding::IncompleteCard;
            });
        if (!anyProblem(true) && toComplete == 0)
            console.output(u"Nessun problema trovato nel book \"%1\".\n"_s.arg(book));
        else if (!anyProblem(true))
            console.output(u"Nessun problema trovato nel book \"%1\"; %2 da completare.\n"_s.arg(book).arg(
                toComplete == 1 ? u"1 scheda è"_s : u"%1 schede sono"_s.arg(toComplete)));
        return anyProblem(true) ? 1 : 0;
    }
    const BookCheck::Repair done = BookCheck::repair(book);
    if (done.cutBytes > 0) {
        console.output(
            u"Copia dell'archivio conservata in %1\n"_s.arg(QDir::toNativeSeparators(done.backupPath)));
        console.output(u"Tagliati i %1 byte dell'ultimo record incompleto.\n"_s.arg(done.cutBytes));
    } else {
        console.output(u"Nessun record incompleto da tagliare: l'archivio non è stato modificato.\n"_s);
    }
    return anyProblem(false) ? 1 : 0;
}

int runImport(const Console& console, const QString& book, const QStringList& given, bool recursive,
              bool allowDuplicates, bool quiet) {
    const PhotoImport::Plan plan = PhotoImport::gather(given, recursive);
    PhotoImport::Outcome outcome;
    {
        ProgressLine progress(console, u"Importazione nel book %1"_s.arg(book), quiet);
        PhotoImport::Options options;
        options.allowDuplicates = allowDuplicates;
        options.progress = [&progress](int done, int total) {
            progress(done, total);
            return true;
        };
        outcome = PhotoImport::run(book, plan, options);
    }
    const auto named = [](const QString& path) { return QDir::toNativeSeparators(path); };
    for (const PhotoImport::Refusal& refusal : plan.refused + outcome.refused)
        console.error(u"lumivera: %1: %2\n"_s.arg(named(refusal.path), refusal.reason));
    for (const PhotoImport::Duplicate& duplicate : outcome.duplicates)
        console.error(u"lumivera: %1: è già la foto della scheda %2, non importata di nuovo.\n"_s
                          .arg(named(duplicate.path))
                          .arg(duplicate.position));
    const qsizetype imported = outcome.positions.size();
    if (imported == 1)
        console.output(
            u"Importata 1 foto nel book \"%1\": scheda %2.\n"_s.arg(book).arg(outcome.positions.first()));
    else if (imported > 1)
        console.output(u"Importate %1 foto nel book \"%2\": schede da %3 a %4.\n"_s.arg(imported)
                           .arg(book)
                           .arg(outcome.positions.first())
                           .arg(outcome.positions.last()));
    else if (plan.pictures.isEmpty() && plan.refused.isEmpty())
        return failure(console, u"nessuna foto trovata."_s);
    else if (outcome.stoppedBy.isEmpty())
        console.output(u"Nessuna foto importata nel book \"%1\".\n"_s.arg(book));
    if (outcome.incomplete > 0)
        console.output(
            (outcome.incomplete == 1 ? u"1 scheda non ha la location"_s
                                     : u"%1 schede non hanno la location"_s.arg(outcome.incomplete)) +
            u": va scritta nell'editor prima di salvare. \"lumivera check\" elenca queste schede, e "
            u"la ricerca di \"%1\" nelle note trova tutte le schede importate.\n"_s.arg(
                TextRules::trim(QString::fromUtf16(PhotoImport::kImportedMark))));
    if (!outcome.stoppedBy.isEmpty())
        return failure(console, u"l'importazione si è fermata dopo %1 foto, %2 non sono state importate: %3"_s
                                    .arg(imported)
                                    .arg(outcome.notTried)
                                    .arg(outcome.stoppedBy));
    return plan.refused.isEmpty() && outcome.refused.isEmpty() ? 0 : 1;
}

// What the parser could not take, said in Italian: QCommandLineParser words its errors in English.
// Only its own checks fail a parse: an unknown option, a value missing after the last option that
// takes one, a value given to an option that takes none.
QString parseProblem(const QCommandLineParser& parser, const QStringList& arguments,
                     const QList<QCommandLineOption>& valued) {
    const auto bareName = [](const QString& argument) {
        QString name = argument.section(u'=', 0, 0);
        while (name.startsWith(u'-'))
            name.remove(0, 1);
        return name;
    };
    const auto takesValue = [&](const QString& name) {
        return std::any_of(valued.begin(), valued.end(),
                           [&](const QCommandLineOption& option) { return option.names().contains(name); });
    };
    QStringList options; // as the user wrote them, with any "=value"
    for (const QString& argument : arguments.mid(1)) {
        if (argument == u"--"_s)
            break;
        if (argument.startsWith(u'-') && argument.size() > 1)
            options << argument;
    }
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        QStringList shown;
        for (const QString& name : unknown) {
            const auto given = std::find_if(options.begin(), options.end(),
                                            [&](const QString& option) { return bareName(option) == name; });
            shown << (given != options.end() ? given->section(u'=', 0, 0)
                                             : (name.size() == 1 ? u"-"_s : u"--"_s) + name);
        }
        shown.removeDuplicates();
        return shown.size() == 1 ? u"opzione sconosciuta: %1"_s.arg(shown.first())
                                 : u"opzioni sconosciute: %1"_s.arg(shown.join(u", "_s));
    }
    for (const QString& option : options) {
        if (option.contains(u'=') && !takesValue(bareName(option)))
            return u"l'opzione %1 non vuole un valore: %2"_s.arg(option.section(u'=', 0, 0), option);
    }
    if (!options.isEmpty() && options.last() == arguments.last() && !options.last().contains(u'=') &&
        takesValue(bareName(options.last())))
        return u"manca il valore dopo %1."_s.arg(options.last());
    // Any other failure the parser may add one day, with its words in brackets.
    return u"opzioni non comprese (%1)"_s.arg(parser.errorText());
}

} // namespace

int run(const QStringList& arguments, const Console& console) {
    if (arguments.size() < 2)
        return usageError(console, u"manca il comando."_s, generalUsage());
    const QString name = arguments.at(1);
    if (name == u"-h"_s || name == u"--help"_s) {
        if (arguments.size() > 2)
            return usageError(console, u"argomento non previsto: %1"_s.arg(arguments.at(2)), generalUsage());
        console.output(generalUsage());
        return 0;
    }
    if (name == u"--version"_s) {
        if (arguments.size() > 2)
            return usageError(console, u"argomento non previsto: %1"_s.arg(arguments.at(2)), generalUsage());
        console.output(u"Lumivera %1\n"_s.arg(Version::text()));
        return 0;
    }
    if (commands().count(name) == 0)
        return usageError(console, u"comando sconosciuto: %1"_s.arg(name), generalUsage());

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption quiet(QStringList{u"q"_s, u"quiet"_s});
    const QCommandLineOption columns(u"columns"_s, {}, u"N"_s);
    const QCommandLineOption repair(u"repair"_s);
    const QCommandLineOption recursive(u"recursive"_s);
    const QCommandLineOption allowDuplicates(u"allow-duplicates"_s);
    const QCommandLineOption cards(u"cards"_s, {}, u"ELENCO"_s);
    parser.addOption(help);
    parser.addOption(quiet);
    if (name == u"sheet"_s)
        parser.addOption(columns);
    if (name == u"export"_s || name == u"pdf"_s || name == u"sheet"_s)
        parser.addOption(cards);
    if (name == u"check"_s)
        parser.addOption(repair);
    if (name == u"import"_s) {
        parser.addOption(recursive);
        parser.addOption(allowDuplicates);
    }
    QStringList rest = arguments;
    rest.removeAt(1);
    const QString usage = commandUsage(name);
    if (!parser.parse(rest))
        return usageError(console, parseProblem(parser, rest, {columns, cards}), usage);
    if (parser.isSet(help)) {
        console.output(usage);
        return 0;
    }
    const QStringList given = parser.positionalArguments();
    const Command& command = commands().at(name);
    if (given.size() < command.leastArguments)
        return usageError(console, u"mancano argomenti."_s, usage);
    if (given.size() > command.mostArguments)
        return usageError(console, u"argomento non previsto: %1"_s.arg(given.at(command.mostArguments)),
                          usage);
    int columnCount = BookPdf::kDefaultColumns;
    if (parser.isSet(columns)) {
        bool ok = false;
        columnCount = parser.value(columns).toInt(&ok);
        if (!ok || columnCount < 1 || columnCount > BookPdf::kMaxColumns)
            return usageError(console, u"--columns vuole un numero da 1 a %1."_s.arg(BookPdf::kMaxColumns),
                              usage);
    }
    // The list's form is judged before the book is looked for; its positions, once the book's count is
    // known.
    if (parser.isSet(cards)) {
        if (const QString problem = CardChoice::formProblem(parser.value(cards)); !problem.isEmpty())
            return usageError(console, u"--cards: %1"_s.arg(problem), usage);
    }

    // The dates the commands write (an imported card's) follow the system's regional settings, as in the
    // windows.
    ProcessFormats::apply();
    // What an opening of the book does by itself is said on standard error.
    BookArchive::setNoticeHandler(
        [&console](const QString& text) { console.error(u"lumivera: %1\n"_s.arg(text)); });
    const auto forget = qScopeGuard([] { BookArchive::setNoticeHandler({}); });
    const QString book = bookNamed(console, given.at(0));
    if (book.isEmpty())
        return 1;
    try {
        CardChoice::Cards chosen;
        if (parser.isSet(cards)) {
            BookArchive archive;
            archive.openForReading(ProgramFolder::archiveOf(book));
            const int count = archive.count();
            archive.close();
            CardChoice::Parsed parsed = CardChoice::parse(parser.value(cards), count);
            if (!parsed.problem.isEmpty())
                return usageError(console, u"--cards: %1"_s.arg(parsed.problem), usage);
            chosen = std::move(parsed.positions);
        }
        if (name == u"export"_s)
            return runExport(console, book, given.size() > 1 ? given.at(1) : QString(), chosen);
        if (name == u"check"_s)
            return runCheck(console, book, parser.isSet(repair), parser.isSet(quiet));
        if (name == u"import"_s)
            return runImport(console, book, given.mid(1), parser.isSet(recursive),
                             parser.isSet(allowDuplicates), parser.isSet(quiet));
        const QString path = outputTarget(console, given.at(1));
        if (path.isEmpty())
            return 1;
        {
            ProgressLine progress(
                console, name == u"pdf"_s ? u"Portfolio di %1"_s.arg(book) : u"Provino di %1"_s.arg(book),
                parser.isSet(quiet));
            if (name == u"pdf"_s)
                BookPdf::writePortfolio(book, path, std::ref(progress), chosen);
            else
                BookPdf::writeContactSheet(book, path, columnCount, std::ref(progress), chosen);
        }
        console.output(u"Scritto %1\n"_s.arg(QDir::toNativeSeparators(path)));
        return 0;
    } catch (const LumiveraError& error) {
        return failure(console, error.text());
    }
}

int run(const QStringList& arguments) {
    const auto write = [](FILE* stream) {
        return [stream](const QString& text) {
            const QByteArray bytes = text.toLocal8Bit();
            std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
            std::fflush(stream);
        };
    };
    return run(arguments, Console{write(stdout), write(stderr), ::isatty(STDERR_FILENO) == 1});
}

} // namespace CommandLine
