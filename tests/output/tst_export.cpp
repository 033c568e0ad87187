// The spreadsheet export: the grid of the book's cards, the export file byte for byte, the two
// questions, edits made in the grid, and failures that must leave the previous export file intact.
#include "FakeMessages.h"
#include "FakeShell.h"
#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "app/Application.h"
#include "app/WindowSet.h"
#include "archive/core/BookArchive.h"
#include "archive/core/Cp1252.h"
#include "base/HelpTopics.h"
#include "base/ProgramFolder.h"
#include "editor/windows/EditorWindow.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"
#include "output/windows/ExportWindow.h"
#include "ui/GuideWindow.h"
#include "ui/Picture.h"
#include "ui/WindowFrame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include <algorithm>
#include <csignal>
#include <functional>
#include <optional>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MsgAnswer)

namespace {

constexpr qsizetype kRecord = qsizetype(TScheda::kSize);
const QString kTd = u"<td style=\"text-align: left;\">"_s;

// Stores bytes in a field as they are, blanks and all, as another program may have left them.
void setRaw(TScheda& card, TScheda::Field field, const QByteArray& bytes) {
    const auto& layout = TScheda::layout(field);
    card.bytes()[layout.offset] = static_cast<unsigned char>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), card.bytes().begin() + layout.offset + 1);
}

// The three cards of the fixture export: an accented letter, "&", "<" and ">", blanks to trim and a
// field of blanks only.
QList<TScheda> threeCards() {
    TScheda first;
    first.setField(TScheda::Titolo, u"Città & <mare> al tramonto"_s);
    setRaw(first, TScheda::Descrizione, "  Ritratto in controluce \t");
    first.setField(TScheda::Data, u"01/03/2024"_s);
    first.setField(TScheda::Location, u"Venezia"_s);
    first.setField(TScheda::Fotografo, u"Marco Rossi"_s);
    first.setField(TScheda::Fotocamera, u"Nikon D850"_s);
    setRaw(first, TScheda::Fotoritocco, "    ");
    first.setField(TScheda::Abiti, u"Abito rosso"_s);
    first.setField(TScheda::Accessori, u"Collana di perle"_s);
    first.setField(TScheda::Trucco, u"Naturale"_s);
    first.setField(TScheda::Giudizio, u"Ottima"_s);
    first.setField(TScheda::Note, u"Luce > 5000 K"_s);
    first.setField(TScheda::File01, u"contratto.pdf"_s);
    first.setField(TScheda::Desc01, u"Contratto"_s);
    TScheda second;
    second.setField(TScheda::Titolo, u"Seconda"_s);
    second.setField(TScheda::Data, u"02/03/2024"_s);
    second.setField(TScheda::Location, u"Milano"_s);
    TScheda third;
    third.setField(TScheda::Titolo, u"Terza"_s);
    third.setField(TScheda::Data, u"03/03/2024"_s);
    third.setField(TScheda::Location, u"Roma"_s);
    third.setField(TScheda::Note, u"A&B"_s);
    return {first, second, third};
}

QList<TScheda> numberedCards(int count) {
    QList<TScheda> cards;
    for (int n = 1; n <= count; ++n) {
        TScheda card;
        card.setField(TScheda::Titolo, u"Scatto %1"_s.arg(n));
        card.setField(TScheda::Giudizio, u"Giudizio %1"_s.arg(n));
        cards.append(card);
    }
    return cards;
}

void writeBook(const QString& path, const QList<TScheda>& cards) {
    QVERIFY(writeFile(path, archiveOf(cards)));
}

// True when the file holds a byte that is no text in Windows-1252: a control code other than tab and
// the line breaks, or one of the five codes the code page leaves undefined.
bool holdsByteThatIsNoText(const QByteArray& file) {
    return std::any_of(file.begin(), file.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F ||
               byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    });
}

// The cells of an export file's data rows as a reader of the markup gets them, row by row; nothing, with
// the reader's words in `error`, when it refuses them.
QList<QStringList> parsedRows(const QByteArray& file, QString* error) {
    const QByteArray head = ExportFile::header();
    const QByteArray end = ExportFile::closing();
    if (!file.startsWith(head) || !file.endsWith(end)) {
        *error = u"not an export file"_s;
        return {};
    }
    const QByteArray rows = file.sliced(head.size(), file.size() - head.size() - end.size());
    QXmlStreamReader reader(u"<rows>"_s + Cp1252::decode(rows) + u"</rows>"_s);
    QList<QStringList> cells;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"tr"_s) {
            cells.append(QStringList());
        } else if (reader.name() == u"td"_s && !cells.isEmpty()) {
            cells.last().append(reader.readElementText());
        } else if (reader.name() != u"rows"_s) {
            *error = u"unexpected element "_s + reader.name().toString();
            return {};
        }
    }
    if (reader.hasError()) {
        *error = reader.errorString();
        return {};
    }
    return cells;
}

QString emptyRow() {
    QString row = u"<tr>"_s;
    for (int c = 0; c < 12; ++c)
        row += kTd + u"</td>"_s;
    return row + u"</tr>"_s;
}

// The real file system, with every read from a given byte on refused; counts the files left open.
class ReadStopsAt final : public FileSystem {
public:
    explicit ReadStopsAt(qint64 limit)
        : m_limit(limit) {
        setFileSystem(this);
    }
    ~ReadStopsAt() override { setFileSystem(nullptr); }

    std::unique_ptr<RecordFile> openReadWrite(const QString& path, OpenError& error) override {
        auto real = realFileSystem().openReadWrite(path, error);
        return real ? std::make_unique<File>(std::move(real), *this) : nullptr;
    }
    std::unique_ptr<RecordFile> createNew(const QString& path, OpenError& error) override {
        auto real = realFileSystem().createNew(path, error);
        return real ? std::make_unique<File>(std::move(real), *this) : nullptr;
    }
    std::unique_ptr<RecordFile> openReadOnly(const QString& path, OpenError& error) override {
        auto real = realFileSystem().openReadOnly(path, error);
        return real ? std::make_unique<File>(std::move(real), *this) : nullptr;
    }

    int open = 0;

private:
    class File final : public RecordFile {
    public:
        File(std::unique_ptr<RecordFile> real, ReadStopsAt& owner)
            : m_real(std::move(real))
            , m_owner(owner) {
            ++m_owner.open;
        }
        ~File() override {
            if (!m_closed)
                --m_owner.open;
        }
        qint64 size() override { return m_real->size(); }
        qint64 readAt(qint64 offset, char* data, qint64 n) override {
            return offset + n > m_owner.m_limit ? -1 : m_real->readAt(offset, data, n);
        }
        qint64 writeAt(qint64 offset, const char* data, qint64 n) override {
            return m_real->writeAt(offset, data, n);
        }
        bool sync() override { return m_real->sync(); }
        bool close() override {
            if (!m_closed) {
                m_closed = true;
                --m_owner.open;
            }
            return m_real->close();
        }
        QString errorString() const override { return u"Errore di lettura"_s; }

    private:
        std::unique_ptr<RecordFile> m_real;
        ReadStopsAt& m_owner;
        bool m_closed = false;
    };

    qint64 m_limit;
};

// Caps the size of any file this process writes while it lives, so a write fails part way through.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int);
};

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
        m_windows = std::make_unique<WindowSet>();
        m_windows->editor()->openBook(u"Giulia"_s, archive());
    }
    void cleanup() {
        m_window.reset();
        m_windows.reset();
        QVERIFY(!QApplication::activeModalWidget());
    }

    // --- The window ------------------------------------------------------------------------------
    void windowLooksAsDescribed() {
        writeBook(archive(), {});
        ExportWindow* window = openWindow();
        QCOMPARE(window->windowTitle(), u" Esporta book fotografico in Microsoft Excel"_s);
        QCOMPARE(window->size(), QSize(862, 560));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->findChild<QLabel*>(u"panInfo"_s)->text(),
                 u"Esportazione archivio in Microsoft Excel."_s);
        QCOMPARE(window->findChild<QWidget*>(u"shpInfo"_s)->geometry(), QRect(8, 493, 821, 32));
        QCOMPARE(window->findChild<QWidget*>(u"imgLogo"_s)->size(), QSize(505, 55));
        for (const QString& name : {u"cmdEsporta"_s, u"cmdGuida"_s, u"cmdEsci"_s}) {
            auto* picture = window->findChild<Picture*>(name);
            QVERIFY2(picture && picture->isLoaded() && picture->isClickable(), qPrintable(name));
            QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
        }

        auto* grid = grdRecords(window);
        const QStringList headers = {u"N."_s,       u"Titolo foto"_s, u"Descrizione"_s, u"Data scatto"_s,
                                     u"Location"_s, u"Fotografo"_s,   u"Fotocamera"_s,  u"Fotoritocco"_s,
                                     u"Abiti"_s,    u"Accessori"_s,   u"Trucco"_s,      u"Giudizio"_s,
                                     u"Note"_s};
        const QList<int> widths = {60, 300, 350, 120, 250, 250, 250, 300, 300, 300, 300, 300, 350};
        QCOMPARE(grid->model()->columnCount(), 13);
        QCOMPARE(grid->model()->rowCount(), 10);
        QVERIFY(grid->alternatingRowColors());
        for (int c = 0; c < 13; ++c) {
            QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
            QCOMPARE(grid->horizontalHeader()->sectionSize(c), widths[c]);
            const bool editable = grid->model()->flags(grid->model()->index(0, c)) & Qt::ItemIsEditable;
            QCOMPARE(editable, c == CardGridModel::colFotoritocco || c == CardGridModel::colGiudizio);
            for (int r = 0; r < 10; ++r)
                QCOMPARE(grid->model()->index(r, c).data().toString(), QString());
        }
        QCOMPARE(grid->rowHeight(0), 21);
        QCOMPARE(grid->rowHeight(9), 21);
    }

    void hints_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("hint");
        QTest::newRow("export") << u"cmdEsporta"_s << u"Esporta l'archivio in formato Microsoft Excel."_s;
        QTest::newRow("help") << u"cmdGuida"_s
                              << u"Visualizza la pagina della guida sensibile al contesto."_s;
        QTest::newRow("exit") << u"cmdEsci"_s << u"Esci da questo ambiente di lavoro."_s;
    }
    void hints() {
        QFETCH(QString, control);
        QFETCH(QString, hint);
        ExportWindow* window = openWindow();
        auto* panInfo = window->findChild<QLabel*>(u"panInfo"_s);
        QTest::mouseMove(window->findChild<QWidget*>(control), {5, 5});
        QCOMPARE(panInfo->text(), hint);
        QTest::mouseMove(window->findChild<QWidget*>(u"imgLogo"_s), {5, 5});
        QCOMPARE(panInfo->text(), hint);
        QTest::mouseMove(grdRecords(window)->viewport(), {50, 50});
        QCOMPARE(panInfo->text(), QString());
        QTest::mouseMove(window->findChild<QWidget*>(control), {5, 5});
        QTest::mouseMove(window->findChild<QWidget*>(u"shpInfo"_s), {600, 5});
        QCOMPARE(panInfo->text(), QString());
    }

    void helpShowsTheExportTopic() {
        const HelpTopic topic = HelpTopics::exportBook();
        QCOMPARE(topic.title, u"Esportazione book fotografico in Microsoft Excel."_s);
        QCOMPARE(topic.paragraphs.size(), 3);
        QCOMPARE(
            topic.paragraphs[0],
            u"Il pulsante Esporta archivio consente di esportare i dati testuali presenti nel book "
            "fotografico in un foglio di lavoro di Microsoft Excel, che potrà essere aperto con qualsiasi "
            "software in grado di gestire i file in formato XLS (ad esempio, con Open Office, Libre "
            "Office o Microsoft Office)."_s);
        QVERIFY(
            topic.paragraphs[1].startsWith(u"Dopo aver aperto la finestra contenente la griglia dei dati, "
                                           "bisogna fare clic sull'icona di Excel. "_s));
        QCOMPARE(topic.paragraphs[2], u"A questo punto è sufficiente salvare il file sul proprio disco fisso "
                                      "assegnandogli un nome qualsiasi."_s);
        QVERIFY(topic.text().contains(u".\r\n\r\nDopo aver aperto"_s));
        bool inGuide = false;
        for (const HelpTopic& t : HelpTopics::all())
            inGuide = inGuide || t.title == topic.title;
        QVERIFY(inGuide);

        ExportWindow* window = openWindow();
        QString title, text;
        QTimer::singleShot(0, [&] {
            auto* guide = qobject_cast<GuideWindow*>(QApplication::activeModalWidget());
            QVERIFY(guide);
            QCOMPARE(guide->parentWidget(), window);
            title = guide->findChild<QLabel*>(u"lblTitolo"_s)->text();
            guide->accept();
        });
        QTest::mouseClick(window->findChild<Picture*>(u"cmdGuida"_s), Qt::LeftButton);
        QCOMPARE(title, topic.title);
    }

    // F1 shows the same help as the help command, also from a cell being typed in.
    void f1ShowsTheExportHelp_data() {
        QTest::addColumn<bool>("typing");
        QTest::newRow("on the grid") << false;
        QTest::newRow("in a cell being typed in") << true;
    }
    void f1ShowsTheExportHelp() {
        QFETCH(bool, typing);
        writeBook(archive(), threeCards());
        ExportWindow* window = openWindow();
        QTableView* grid = grdRecords(window);
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        if (typing)
            typeInto(grid, 0, CardGridModel::colGiudizio, u"Da rivedere"_s, false);
        QString title;
        QTimer::singleShot(0, [&] {
            auto* guide = qobject_cast<GuideWindow*>(QApplication::activeModalWidget());
            QVERIFY(guide);
            title = guide->findChild<QLabel*>(u"lblTitolo"_s)->text();
            guide->accept();
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QCOMPARE(title, u"Esportazione book fotografico in Microsoft Excel."_s);
        QVERIFY(window->isVisible());
    }

    // The editor opens it on its own book: modal, owned by the editor, left through its exit command.
    void opensModallyAndClosesWithExit() {
        writeBook(archive(), threeCards());
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<ExportWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            QCOMPARE(window->parentWidget(), static_cast<QWidget*>(m_windows->editor()));
            QCOMPARE(window->grid()->rowCount(), 3);
            QTest::mouseClick(window->findChild<Picture*>(u"cmdEsci"_s), Qt::LeftButton);
            ran = true;
        });
        QTest::mouseClick(m_windows->editor()->findChild<Picture*>(u"cmdEsporta"_s), Qt::LeftButton);
        QVERIFY(ran);
        QVERIFY(m_windows->editor()->findChildren<ExportWindow*>().isEmpty());
    }

    // --- Filling the grid ------------------------------------------------------------------------
    void gridShowsTheCardsTrimmed() {
        writeBook(archive(), threeCards());
        const CardGridModel* grid = openWindow()->grid();
        QCOMPARE(grid->rowCount(), 3);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(grid->text(r, CardGridModel::colNum), QString::number(r + 1));
        QCOMPARE(grid->text(0, CardGridModel::colTitolo), u"Città & <mare> al tramonto"_s);
        QCOMPARE(grid->text(0, CardGridModel::colDescrizione), u"Ritratto in controluce"_s);
        QCOMPARE(grid->text(0, CardGridModel::colFotoritocco), QString());
        QCOMPARE(grid->text(0, CardGridModel::colNote), u"Luce > 5000 K"_s);
        QCOMPARE(grid->text(1, CardGridModel::colLocation), u"Milano"_s);
        QCOMPARE(grid->text(2, CardGridModel::colTitolo), u"Terza"_s);
        QCOMPARE(grid->text(2, CardGridModel::colNote), u"A&B"_s);
    }

    // Each text reads exactly as the card itself reads it, whatever bytes a damaged file holds.
    void gridReadsFieldsAsTheCardDoes() {
        TScheda odd;
        setRaw(odd, TScheda::Titolo, QByteArray("\x01\x1F x\x80y\x81 \x20\x00", 10));
        setRaw(odd, TScheda::Descrizione, "\xA0\xE8\xA0");
        odd.bytes()[TScheda::layout(TScheda::Data).offset] = 255; // longer than the field's room
        for (int i = 0; i < 20; ++i)
            odd.bytes()[TScheda::layout(TScheda::Data).offset + 1 + i] =
                static_cast<unsigned char>('0' + i % 10);
        setRaw(odd, TScheda::Note, "\t\r\nNota\r\n");
        writeBook(archive(), {odd});
        const CardGridModel* grid = openWindow()->grid();
        for (int f = 0; f < 12; ++f)
            QCOMPARE(grid->text(0, f + 1), odd.field(TScheda::Field(f)));
    }

    void largeBookIsReadInOrder() {
        const int count = 2 * CardGridModel::kBlockCards + 88;
        QList<TScheda> cards = numberedCards(count);
        writeBook(archive(), cards);
        QFile tail(archive());
        QVERIFY(tail.open(QIODevice::Append));
        tail.write(QByteArray(100, 'x')); // an incomplete last record is never read
        tail.close();
        const CardGridModel* grid = openWindow()->grid();
        QCOMPARE(grid->rowCount(), count);
        for (int r : {0, CardGridModel::kBlockCards - 1, CardGridModel::kBlockCards, count - 1}) {
            QCOMPARE(grid->text(r, CardGridModel::colNum), QString::number(r + 1));
            QCOMPARE(grid->text(r, CardGridModel::colTitolo), u"Scatto %1"_s.arg(r + 1));
            QCOMPARE(grid->text(r, CardGridModel::colGiudizio), u"Giudizio %1"_s.arg(r + 1));
        }
    }

    // A grid of some cards: one row for each card chosen, in the book's order, with the card's own
    // position and texts, across blocks of the archive.
    void gridOfChosenCards_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QList<int>>("rows");
        const int last = 2 * CardGridModel::kBlockCards + 88;
        QTest::newRow("one card") << QList<int>{3} << QList<int>{3};
        QTest::newRow("as selected, twice") << QList<int>{last, 2, 9, 2} << QList<int>{2, 9, last};
        QTest::newRow("across blocks")
            << QList<int>{1, CardGridModel::kBlockCards, CardGridModel::kBlockCards + 1, last}
            << QList<int>{1, CardGridModel::kBlockCards, CardGridModel::kBlockCards + 1, last};
    }
    void gridOfChosenCards() {
        QFETCH(QList<int>, chosen);
        QFETCH(QList<int>, rows);
        writeBook(archive(), numberedCards(2 * CardGridModel::kBlockCards + 88));
        CardGridModel grid;
        QString error;
        QVERIFY(grid.fill(archive(), &error, CardChoice::Positions(chosen.begin(), chosen.end())));
        QCOMPARE(error, QString());
        QCOMPARE(grid.rowCount(), rows.size());
        for (int r = 0; r < rows.size(); ++r) {
            QCOMPARE(grid.text(r, CardGridModel::colNum), QString::number(rows[r]));
            QCOMPARE(grid.text(r, CardGridModel::colTitolo), u"Scatto %1"_s.arg(rows[r]));
            QCOMPARE(grid.text(r, CardGridModel::colGiudizio), u"Giudizio %1"_s.arg(rows[r]));
        }
        // The export holds those rows and no other.
        QVERIFY(ExportFile::write(exportPath(), grid));
        const QByteArray file = readFile(exportPath());
        QCOMPARE(file.count("<tr>"), 1 + rows.size());
        qsizetype at = 0;
        for (int r = 0; r < rows.size(); ++r) { // in the book's order
            const QByteArray cell =
                kTd.toLatin1() + QByteArray("Scatto ") + QByteArray::number(rows[r]) + "</td>";
            at = file.indexOf(QByteArray(cell), at);
            QVERIFY2(at > 0, cell.constData());
        }
    }

    // A choice the book cannot give fills nothing and says why.
    void gridOfCardsNotInTheBook_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QString>("error");
        QTest::newRow("beyond the last card")
            << QList<int>{2, 4} << u"la scheda 4 non c'è: il book ne ha 3."_s;
        QTest::newRow("card 0") << QList<int>{0, 1} << u"le schede si contano da 1: la scheda 0 non c'è."_s;
        QTest::newRow("no card") << QList<int>{} << u"nessuna scheda scelta."_s;
    }
    void gridOfCardsNotInTheBook() {
        QFETCH(QList<int>, chosen);
        QFETCH(QString, error);
        writeBook(archive(), threeCards());
        CardGridModel grid;
        QVERIFY(grid.fill(archive()));
        QString why;
        QVERIFY(!grid.fill(archive(), &why, CardChoice::Positions(chosen.begin(), chosen.end())));
        QCOMPARE(why, error);
        QCOMPARE(grid.rowCount(), 3); // the grid as it was
        QCOMPARE(grid.text(2, CardGridModel::colTitolo), u"Terza"_s);
    }

    void emptyOrMissingBookKeepsTenEmptyRows_data() {
        QTest::addColumn<bool>("exists");
        QTest::newRow("empty book") << true;
        QTest::newRow("missing archive") << false;
    }
    void emptyOrMissingBookKeepsTenEmptyRows() {
        QFETCH(bool, exists);
        if (exists)
            writeBook(archive(), {});
        FakeMessages messages;
        const CardGridModel* grid = openWindow()->grid();
        QCOMPARE(grid->rowCount(), 10);
        QCOMPARE(grid->text(0, CardGridModel::colNum), QString());
        QVERIFY(QFileInfo(archive()).isFile()); // a missing archive is created empty
        QCOMPARE(QFileInfo(archive()).size(), 0);
        QVERIFY(messages.asked.isEmpty());
    }

    void readFailureIsSilentAndKeepsTheRowsRead_data() {
        QTest::addColumn<qint64>("readsUpTo"); // bytes that can be read
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("received");
        const int count = CardGridModel::kBlockCards + 44;
        QTest::newRow("fails after the first block")
            << qint64(CardGridModel::kBlockCards) * kRecord << count << CardGridModel::kBlockCards;
        QTest::newRow("fails at once") << qint64(0) << count << 0;
    }
    void readFailureIsSilentAndKeepsTheRowsRead() {
        QFETCH(qint64, readsUpTo);
        QFETCH(int, rows);
        QFETCH(int, received);
        writeBook(archive(), numberedCards(CardGridModel::kBlockCards + 44));
        FakeMessages messages;
        ReadStopsAt files(readsUpTo);
        const CardGridModel* grid = openWindow()->grid();
        QCOMPARE(files.open, 0);
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(grid->rowCount(), rows);
        if (received > 0) {
            QCOMPARE(grid->text(received - 1, CardGridModel::colNum), QString::number(received));
            QCOMPARE(grid->text(received - 1, CardGridModel::colTitolo), u"Scatto %1"_s.arg(received));
        }
        QCOMPARE(grid->text(received, CardGridModel::colNum), QString());
        QCOMPARE(grid->text(received, CardGridModel::colTitolo), QString());
    }

    void unopenableArchiveLeavesTheEmptyGrid() {
        writeBook(archive(), threeCards());
        FakeMessages messages;
        FaultyFileSystem files(FaultyFileSystem::Fault::OpenFails);
        const CardGridModel* grid = openWindow()->grid();
        QCOMPARE(grid->rowCount(), 10);
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(QFileInfo(archive()).size(), 3 * kRecord);
    }

    // --- The export ------------------------------------------------------------------------------
    void exportMatchesTheFixture() {
        writeBook(archive(), threeCards());
        FakeMessages messages;
        FakeShell shell;
        ExportWindow* window = openWindow();
        QTest::mouseClick(window->findChild<Picture*>(u"cmdEsporta"_s), Qt::LeftButton);

        const QByteArray written = readFile(exportPath());
        const QByteArray expected = readFile(QFINDTESTDATA("../fixtures/export-three-cards.xls"));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(written, expected);
        QVERIFY(written.contains("Citt\xE0 &amp; &lt;mare> al tramonto"));
        QVERIFY(!written.contains('\r'));
        QVERIFY(!written.contains('\n'));
        QVERIFY(written.contains("content=\"text/html; charset=windows-1252\""));

        QCOMPARE(messages.asked.size(), 2);
        QCOMPARE(messages.asked[0].text, ExportWindow::exportQuestion());
        QVERIFY(messages.asked[0].text.contains(u"\r\n\r\nSi vuole esportare i dati adesso?"_s));
        QCOMPARE(messages.asked[1].text,
                 u"Le schede in archivio sono state esportate con successo.\r\n\r\n"
                 u"I dati si trovano nel file \""_s +
                     QDir::toNativeSeparators(m_dir->filePath(u"Rove_Roruvorerud.xls"_s)) +
                     u"\".\r\n\r\nSi vuole aprire il file di Excel?"_s);
        for (const auto& asked : messages.asked) {
            QCOMPARE(asked.kind, MsgKind::Confirmation);
            QCOMPARE(asked.buttons, MsgButtons::YesNo);
        }
        QCOMPARE(shell.opened, QStringList{u'"' + m_dir->filePath(u"Rove_Roruvorerud.xls"_s) + u'"'});
        QVERIFY(window->isVisible());
    }

    // Every row escapes its own texts, stored or typed into the grid, with "&" and "<" anywhere in a
    // short or long text, and a row that needs none copies its texts as they are.
    void cellsAreEscapedRowByRow_data() {
        QTest::addColumn<QString>("stored"); // the first card's title
        QTest::addColumn<QString>("typed");  // typed into its judgement cell; null for nothing
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QByteArray>("judgement");
        QTest::newRow("nothing to escape") << u"Ritratto al tramonto in riva al mare"_s << QString()
                                           << "Ritratto al tramonto in riva al mare"_ba
                                           << "Ottima"_ba;
        QTest::newRow("at both ends of a long text")
            << u"&Ritratto <al> tramonto in riva al mare&"_s << QString()
            << "&amp;Ritratto &lt;al> tramonto in riva al mare&amp;"_ba
            << "Ottima"_ba;
        QTest::newRow("nothing else") << u"&&<<&"_s << QString() << "&amp;&amp;&lt;&lt;&amp;"_ba
                                      << "Ottima"_ba;
        QTest::newRow("typed") << u"Sole"_s << u"  Luce & ombra <3> da rifare  "_s << "Sole"_ba
                               << "Luce &amp; ombra &lt;3> da rifare"_ba;
        QTest::newRow("judgement emptied beside a stored ampersand")
            << u"Luce & ombra"_s << u"   "_s << "Luce &amp; ombra"_ba << QByteArray();
        QTest::newRow("typed beside a stored one")
            << u"Mare & cielo"_s << u"Ottima davvero"_s << "Mare &amp; cielo"_ba
            << "Ottima davvero"_ba;
    }
    void cellsAreEscapedRowByRow() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(QByteArray, title);
        QFETCH(QByteArray, judgement);
        TScheda first;
        first.setField(TScheda::Titolo, stored);
        first.setField(TScheda::Giudizio, u"Ottima"_s);
        TScheda second;
        second.setField(TScheda::Titolo, u"Seconda"_s);
        second.setField(TScheda::Note, u"A&B"_s);
        TScheda third;
        third.setField(TScheda::Titolo, u"Terza"_s);
        writeBook(archive(), {first, second, third});

        CardGridModel grid;
        QVERIFY(grid.fill(archive()));
        if (!typed.isNull())
            QVERIFY(grid.setData(grid.index(0, CardGridModel::colGiudizio), typed));
        QVERIFY(ExportFile::write(exportPath(), grid));

        const auto row = [](const QByteArray& firstCell, const QByteArray& judgementCell,
                            const QByteArray& note) -> QByteArray {
            const QByteArray td = "<td style=\"text-align: left;\">";
            QByteArray out = "<tr>" + td + firstCell + "</td>";
            for (int cell = 2; cell <= 12; ++cell)
                out += td + (cell == 11 ? judgementCell : cell == 12 ? note : QByteArray()) + "</td>";
            return out + "</tr>";
        };
        const QByteArray expected = ExportFile::header() + row(title, judgement, {}) +
                                    row("Seconda", {}, "A&amp;B") + row("Terza", {}, {}) +
                                    "</table></body></html>";
        QCOMPARE(readFile(exportPath()), expected);
    }

    // A card whose texts are all empty, with a text typed into one of its cells.
    void textTypedIntoAnEmptyCard() {
        writeBook(archive(), {TScheda()});
        CardGridModel grid;
        QVERIFY(grid.fill(archive()));
        QVERIFY(grid.setData(grid.index(0, CardGridModel::colGiudizio), u"Buona & altro"_s));
        QVERIFY(ExportFile::write(exportPath(), grid));
        const QByteArray td = "<td style=\"text-align: left;\">";
        QByteArray first = ExportFile::header() + "<tr>";
        for (int cell = 1; cell <= 12; ++cell)
            first += td + (cell == 11 ? "Buona &amp; altro"_ba : QByteArray()) + "</td>";
        first += "</tr>";
        QVERIFY(readFile(exportPath()).startsWith(first));
    }

    // A control code or one of the five codes Windows-1252 leaves undefined is no text in the code page
    // the file declares, and a strict reader refuses a file that holds one: each is written as the
    // reference to the replacement character, stored or typed, alone, in a row or beside "&" and "<".
    // Tab, the line breaks and every other byte, the neighbours of the undefined codes included, stay.
    void bytesThatAreNoTextAreReplaced_data() {
        QTest::addColumn<QByteArray>("stored"); // the first card's judgement, as the archive holds it
        QTest::addColumn<QString>("typed");     // typed into that cell; null for nothing
        QTest::addColumn<QByteArray>("cell");   // the cell in the file
        QTest::addColumn<QString>("read");      // the cell's text as a reader of the markup gets it
        for (const char code : "\x00\x01\x08\x0B\x0C\x0E\x1B\x1F\x7F\x81\x8D\x8F\x90\x9D"_ba) {
            QTest::addRow("code 0x%02X", unsigned(static_cast<unsigned char>(code)))
                << "Luce"_ba + code + "ombra"_ba << QString() << "Luce&#xFFFD;ombra"_ba
                << u"Luce\uFFFDombra"_s;
        }
        QTest::newRow("at both ends, beyond the blanks trimmed")
            << "  \x81Luce ombra\x7F  "_ba << QString() << "&#xFFFD;Luce ombra&#xFFFD;"_ba
            << u"\uFFFDLuce ombra\uFFFD"_s;
        QTest::newRow("several in a row beside & and <")
            << "a&\x01\x02<b\x9D\x9D"_ba << QString() << "a&amp;&#xFFFD;&#xFFFD;&lt;b&#xFFFD;&#xFFFD;"_ba
            << u"a&\uFFFD\uFFFD<b\uFFFD\uFFFD"_s;
        QTest::newRow("tab and line breaks stay")
            << "Luce\tombra\r\nmare"_ba << QString() << "Luce\tombra\r\nmare"_ba << u"Luce\tombra\nmare"_s;
        QTest::newRow("neighbours of the undefined codes stay")
            << "\x80\x82\x8C\x8E\x91\x9C\x9E\x9F\xA0\xFF"_ba << QString()
            << "\x80\x82\x8C\x8E\x91\x9C\x9E\x9F\xA0\xFF"_ba
            << Cp1252::decode("\x80\x82\x8C\x8E\x91\x9C\x9E\x9F\xA0\xFF"_ba);
        QTest::newRow("typed control code")
            << "Ottima"_ba << u"Da\u0001rifare & <ristampare>"_s
            << "Da&#xFFFD;rifare &amp; &lt;ristampare>"_ba << u"Da\uFFFDrifare & <ristampare>"_s;
        QTest::newRow("typed control of an undefined code")
            << "Ottima"_ba << u"Da\u0090rifare"_s << "Da&#xFFFD;rifare"_ba << u"Da\uFFFDrifare"_s;
    }
    void bytesThatAreNoTextAreReplaced() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, typed);
        QFETCH(QByteArray, cell);
        QFETCH(QString, read);
        TScheda first;
        first.setField(TScheda::Titolo, u"Ritratto"_s);
        setRaw(first, TScheda::Giudizio, stored);
        TScheda second;
        second.setField(TScheda::Titolo, u"Seconda"_s);
        writeBook(archive(), {first, second});

        CardGridModel grid;
        QVERIFY(grid.fill(archive()));
        if (!typed.isNull())
            QVERIFY(grid.setData(grid.index(0, CardGridModel::colGiudizio), typed));
        QVERIFY(ExportFile::write(exportPath(), grid));

        const QByteArray written = readFile(exportPath());
        const QByteArray td = "<td style=\"text-align: left;\">";
        QByteArray firstRow = "<tr>" + td + "Ritratto</td>";
        for (int c = 2; c <= 12; ++c)
            firstRow += td + (c == 11 ? cell : QByteArray()) + "</td>";
        firstRow += "</tr>";
        QByteArray secondRow = "<tr>" + td + "Seconda</td>";
        for (int c = 2; c <= 12; ++c)
            secondRow += td + "</td>";
        secondRow += "</tr>";
        QCOMPARE(written, ExportFile::header() + firstRow + secondRow + ExportFile::closing());
        QVERIFY(!holdsByteThatIsNoText(written));

        // The rows as markup: every cell is read, the judgement as the reader gets it.
        QString error;
        const QList<QStringList> rows = parsedRows(written, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].size(), 12);
        QCOMPARE(rows[0][10], read);
        QCOMPARE(rows[1][0], u"Seconda"_s);
    }

    // Rows whose every text is made only of bytes written eightfold, placed so that one of them needs
    // 64 bytes more than the 1 MiB the writer gathers before each write has left: it goes whole into the
    // next gathering, and nothing is lost or written past the gathered rows.
    void rowsMadeOnlyOfReplacedBytes() {
        const QByteArray codes = "\x7F\x81\x8D\x8F\x90\x9D";
        QList<TScheda> cards;
        QByteArray rows;
        const auto add = [&](const std::function<char(int field, int i)>& byte, qsizetype texts) {
            TScheda card;
            QByteArray row = "<tr>";
            for (int f = TScheda::Titolo; f <= TScheda::Note; ++f) {
                const TScheda::Field field = TScheda::Field(f);
                const int length = int(std::min<qsizetype>(texts, TScheda::layout(field).capacity));
                texts -= length;
                QByteArray text;
                for (int i = 0; i < length; ++i)
                    text += byte(f, i);
                setRaw(card, field, text);
                row += kTd.toLatin1() +
                       (codes.contains(text.left(1)) ? "&#xFFFD;"_ba.repeated(length) : text) + "</td>";
            }
            cards.append(card);
            rows += row + "</tr>";
        };
        const auto replaced = [&](int f, int i) { return codes[(f + i) % codes.size()]; };
        const auto plain = [](int, int i) { return char('a' + i % 26); };

        qsizetype capacity = 0; // of the twelve texts
        for (int f = TScheda::Titolo; f <= TScheda::Note; ++f)
            capacity += TScheda::layout(TScheda::Field(f)).capacity;
        const qsizetype markup = 9 + 12 * (kTd.size() + 5);
        const qsizetype full = markup + 8 * capacity;
        const qsizetype head = ExportFile::header().size();
        // Before the row that just misses: whole rows of replaced bytes, then rows of plain text.
        qsizetype before = (1 << 20) - (full - 64) - head;
        qsizetype wholeRows = before / full;
        if (before % full < markup)
            --wholeRows;
        qsizetype plainBytes = before - wholeRows * full;
        for (qsizetype n = 0; n < wholeRows; ++n)
            add(replaced, capacity);
        while (plainBytes > 0) {
            qsizetype texts = plainBytes - markup;
            if (texts > capacity)
                texts = std::min(capacity, plainBytes - 2 * markup); // room left for one more row
            add(plain, texts);
            plainBytes -= markup + texts;
        }
        QCOMPARE(plainBytes, 0);
        QCOMPARE(head + rows.size() + full - 64, 1 << 20);
        for (int n = 0; n < 70; ++n)
            add(replaced, capacity);

        writeBook(archive(), cards);
        CardGridModel grid;
        QVERIFY(grid.fill(archive()));
        QVERIFY(ExportFile::write(exportPath(), grid));
        const QByteArray written = readFile(exportPath());
        QCOMPARE(written.size(), head + rows.size() + ExportFile::closing().size());
        QVERIFY(written == ExportFile::header() + rows + ExportFile::closing());
        QString error;
        QCOMPARE(parsedRows(written, &error).size(), cards.size());
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void emptyBookExportsTenEmptyRows() {
        writeBook(archive(), {});
        FakeMessages messages;
        FakeShell shell;
        ExportWindow* window = openWindow();
        QTest::mouseClick(window->findChild<Picture*>(u"cmdEsporta"_s), Qt::LeftButton);
        const QString written = QString::fromLatin1(readFile(exportPath()));
        const QString headerEnd = u"width=400>Note</td></tr>"_s;
        QVERIFY(written.contains(headerEnd));
        const QString body = written.sliced(written.indexOf(headerEnd) + headerEnd.size());
        QCOMPARE(body, emptyRow().repeated(10) + u"</table></body></html>"_s);
    }

    void typedTextIsExportedAndForgotten_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("pressReturn");
        QTest::newRow("judgement, confirmed") << int(CardGridModel::colGiudizio) << true;
        QTest::newRow("judgement, still being typed") << int(CardGridModel::colGiudizio) << false;
        QTest::newRow("retouching, confirmed") << int(CardGridModel::colFotoritocco) << true;
    }
    void typedTextIsExportedAndForgotten() {
        QFETCH(int, column);
        QFETCH(bool, pressReturn);
        writeBook(archive(), threeCards());
        FakeMessages messages;
        FakeShell shell;
        ExportWindow* window = openWindow();
        QTableView* grid = grdRecords(window);
        const QString before = window->grid()->text(0, column);

        typeInto(grid, 0, CardGridModel::colTitolo, u"Cambiato"_s, true); // a read-only column
        QCOMPARE(window->grid()->text(0, CardGridModel::colTitolo), u"Città & <mare> al tramonto"_s);
        typeInto(grid, 0, column, u" Da rivedere & <ristampare> "_s, pressReturn);
        QTest::mouseClick(window->findChild<Picture*>(u"cmdEsporta"_s), Qt::LeftButton);
        QCOMPARE(window->grid()->text(0, column), u" Da rivedere & <ristampare> "_s);
        const QByteArray written = readFile(exportPath());
        QVERIFY(written.contains((kTd + u"Da rivedere &amp; &lt;ristampare></td>"_s).toLatin1()));
        QVERIFY(written.contains("Citt\xE0 &amp; &lt;mare> al tramonto"));
        QCOMPARE(QFileInfo(archive()).size(), 3 * kRecord);
        QCOMPARE(readFile(archive()).mid(0, kRecord),
                 QByteArray(reinterpret_cast<const char*>(threeCards()[0].bytes().data()), kRecord));

        m_window.reset();
        QCOMPARE(openWindow()->grid()->text(0, column), before);
    }

    // Return asks to export, as the export command does, unless it confirms a cell being typed in;
    // Escape leaves as the exit command does, once no cell is being typed in.
    void keysOfTheExportWindow_data() {
        QTest::addColumn<QString>("keys"); // "type" starts typing into a judgement cell
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("closed");
        QTest::newRow("Return on the grid asks to export") << u"Return"_s << 1 << false;
        QTest::newRow("Return confirming a cell asks nothing") << u"type Return"_s << 0 << false;
        QTest::newRow("Return after the cell is confirmed asks") << u"type Return Return"_s << 1 << false;
        QTest::newRow("Escape leaves") << u"Escape"_s << 0 << true;
        QTest::newRow("Escape in a cell only drops the typing") << u"type Escape"_s << 0 << false;
        QTest::newRow("a second Escape leaves") << u"type Escape Escape"_s << 0 << true;
    }
    void keysOfTheExportWindow() {
        QFETCH(QString, keys);
        QFETCH(int, questions);
        QFETCH(bool, closed);
        writeBook(archive(), threeCards());
        FakeMessages messages;
        messages.answers = {MsgAnswer::No, MsgAnswer::No};
        ExportWindow* window = openWindow();
        QTableView* grid = grdRecords(window);
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, CardGridModel::colGiudizio));
        QTRY_VERIFY(grid->hasFocus());
        for (const QString& key : keys.split(u' ')) {
            if (key == u"type"_s)
                typeInto(grid, 0, CardGridModel::colGiudizio, u"Da rivedere"_s, false);
            else
                QTest::keyClick(QApplication::focusWidget(),
                                key == u"Return"_s ? Qt::Key_Return : Qt::Key_Escape);
            QCoreApplication::processEvents(); // a cell confirmed or dropped closes its editor
        }
        QCOMPARE(messages.asked.size(), questions);
        if (questions)
            QCOMPARE(messages.asked[0].text, ExportWindow::exportQuestion());
        QCOMPARE(!window->isVisible(), closed);
        QVERIFY(!QFileInfo::exists(exportPath()));
    }

    void answers_data() {
        QTest::addColumn<QList<MsgAnswer>>("answers");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("opened");
        QTest::newRow("no to the export") << QList<MsgAnswer>{MsgAnswer::No} << false << false;
        QTest::newRow("no to opening") << QList<MsgAnswer>{MsgAnswer::Yes, MsgAnswer::No} << true << false;
        QTest::newRow("yes to both") << QList<MsgAnswer>{MsgAnswer::Yes, MsgAnswer::Yes} << true << true;
        QTest::newRow("boxes closed without a choice")
            << QList<MsgAnswer>{MsgAnswer::Cancel, MsgAnswer::Cancel} << true << true;
    }
    void answers() {
        QFETCH(QList<MsgAnswer>, answers);
        QFETCH(bool, written);
        QFETCH(bool, opened);
        writeBook(archive(), threeCards());
        FakeMessages messages;
        messages.answers = answers;
        FakeShell shell;
        ExportWindow* window = openWindow();
        QTest::mouseClick(window->findChild<Picture*>(u"cmdEsporta"_s), Qt::LeftButton);
        QCOMPARE(messages.asked.size(), answers.size());
        QCOMPARE(QFileInfo::exists(exportPath()), written);
        QCOMPARE(shell.opened.size(), opened ? 1 : 0);
        QVERIFY(window->isVisible());
    }

    void failedExportKeepsThePreviousFile_data() {
        QTest::addColumn<bool>("folderInTheWay");
        QTest::newRow("a folder where the file should be") << true;
        QTest::newRow("the disk refuses the rest of the file") << false;
    }
    void failedExportKeepsThePreviousFile() {
        QFETCH(bool, folderInTheWay);
        writeBook(archive(), numberedCards(60));
        const QByteArray previous = "<html>la buona esportazione di ieri</html>";
        if (folderInTheWay) {
            QVERIFY(QDir(m_dir->path()).mkdir(u"Rove_Roruvorerud.xls"_s));
            QVERIFY(writeFile(exportPath() + u"/dentro.txt"_s, previous));
        } else {
            QVERIFY(writeFile(exportPath(), previous));
        }
        const QStringList entries = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        FakeMessages messages;
        FakeShell shell;
        ExportWindow* window = openWindow();
        {
            std::optional<FileSizeLimit> limit;
            if (!folderInTheWay)
                limit.emplace(8192);
            QTest::mouseClick(window->findChild<Picture*>(u"cmdEsporta"_s), Qt::LeftButton);
        }
        QCOMPARE(messages.asked.size(), 2);
        QCOMPARE(messages.asked[1].text, u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                                         "Accertarsi che il file di Excel non sia già aperto."_s);
        QCOMPARE(messages.asked[1].kind, MsgKind::Plain);
        QCOMPARE(messages.asked[1].buttons, MsgButtons::Ok);
        QVERIFY(shell.opened.isEmpty());
        QVERIFY(window->isVisible());
        QCOMPARE(readFile(folderInTheWay ? exportPath() + u"/dentro.txt"_s : exportPath()), previous);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entries);

        // Once the obstacle is gone, the next export succeeds.
        if (folderInTheWay)
            QVERIFY(QDir(exportPath()).removeRecursively());
        messages.asked.clear();
        QTest::mouseClick(window->findChild<Picture*>(u"cmdEsporta"_s), Qt::LeftButton);
        QCOMPARE(messages.asked.size(), 2);
        QVERIFY(
            messages.asked[1].text.startsWith(u"Le schede in archivio sono state esportate con successo."_s));
        const QByteArray lastRow =
            QByteArray("Giudizio 60</td>") + kTd.toLatin1() + QByteArray("</td></tr></table></body></html>");
        QVERIFY(readFile(exportPath()).endsWith(lastRow));
    }

private:
    QString archive() const { return m_dir->filePath(u"Giulia.wmn"_s); }
    QString exportPath() const { return ProgramFolder::exportFile(); }

    ExportWindow* openWindow() {
        m_window = std::make_unique<ExportWindow>(m_windows->editor());
        m_window->setArchivePath(archive());
        m_window->show();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("export window not active");
        return m_window.get();
    }

    static QTableView* grdRecords(QWidget* window) { return window->findChild<QTableView*>(u"grdRecords"_s); }

    // Types into a cell as the user does: select it, type, and confirm with Return or leave it open.
    static void typeInto(QTableView* grid, int row, int column, const QString& text, bool pressReturn) {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(row, column));
        QTest::keyClicks(grid, text.left(1));
        auto* editor = grid->findChild<QLineEdit*>();
        if (!editor)
            return; // the column does not accept typing
        QTest::keyClicks(editor, text.mid(1));
        if (pressReturn)
            QTest::keyClick(editor, Qt::Key_Return);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
    std::unique_ptr<ExportWindow> m_window;
};

LUMIVERA_WINDOW_TEST_MAIN(TestExport)
#include "tst_export.moc"
