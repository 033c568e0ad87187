// The book at a glance ("Provino") on books whose cards all have 24-megapixel photos (four distinct
// photos stand for them through links):
// - the window opened on a book of 100,000 cards until its first screen of thumbnails is drawn, against
//   the same for a book of 100 cards with the same photos: the grid reads nothing it does not show;
// - one page scrolled onto thumbnails not yet decoded, until they are drawn, against the JPEG library's
//   own 1/8 decode (djpeg -scale 1/8) of the same photos one after another: the thumbnails are decoded
//   at that scale, on every core;
// - the peak memory after scrolling through all 100,000 cards, page by page, against the peak after the
//   first screen (in a process of its own, this program started again with --scroll-through);
// - the portfolio of 20 cards selected in the window, written from it (save-file window answered at
//   once, progress window and all), against `lumivera pdf --cards` of the same cards.
#include "BookGenerator.h"
#include "CameraPhotos.h"
#include "Djpeg.h"
#include "Figures.h"
#include "PhotoBook.h"
#include "Process.h"
#include "base/ProgramFolder.h"
#include "cli/CommandLine.h"
#include "editor/windows/OverviewWindow.h"
#include "ui/FileDialogs.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

constexpr int kCards = 100000;
constexpr int kFewCards = 100;
constexpr int kPhotos = CameraPhotos::kCount;
const QString kBook = QStringLiteral("Centomila");
const QString kSmallBook = QStringLiteral("Cento");

QListView* gridOf(OverviewWindow& window) {
    return window.findChild<QListView*>(QStringLiteral("lstProvino"));
}

// The rows whose cells the grid shows now.
QList<int> visibleRows(QListView* grid) {
    QList<int> rows;
    const QRect area = grid->viewport()->rect();
    const QModelIndex first = grid->indexAt(QPoint(grid->gridSize().width() / 2, 1));
    for (int row = first.isValid() ? first.row() : 0; row < grid->model()->rowCount(); ++row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        if (cell.top() >= area.bottom())
            break;
        if (cell.intersects(area))
            rows << row;
    }
    return rows;
}

// Runs the event loop until every thumbnail on screen is decoded, then draws the screen once more. The
// loop sleeps between events, as the program's own does: polling would take a core from the decoders.
bool drawScreen(QListView* grid) {
    QElapsedTimer waited;
    waited.start();
    QTimer wake; // a look now and then, should no event come
    wake.start(50);
    for (;;) {
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        bool done = true;
        for (int row : visibleRows(grid)) {
            const int state =
                grid->model()->index(row, 0).data(CardOverviewModel::ThumbnailStateRole).toInt();
            done = done && state != ThumbnailLoader::Thumbnail::Pending;
        }
        if (done) {
            grid->viewport()->repaint();
            return true;
        }
        if (waited.elapsed() > 120000)
            return false;
    }
}

void openOverview(benchmark::State& state, const QString& book) {
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        OverviewWindow window;
        window.resize(1000, 720);
        window.setBook(book, ProgramFolder::archiveOf(book));
        window.show();
        if (!drawScreen(gridOf(window))) {
            state.SkipWithError("the first screen was not drawn");
            break;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        state.counters["thumbnails"] = double(visibleRows(gridOf(window)).size());
    }
}

void BM_OpenLarge(benchmark::State& state) {
    openOverview(state, kBook);
}
void BM_OpenSmall(benchmark::State& state) {
    openOverview(state, kSmallBook);
}

QString g_folder; // the program folder of the bench's books

// Cards a page shows, and how many of them each photo stands for (the floor decodes those).
int g_pageCards = 0;
int g_pagePhotoCount[kPhotos] = {};

void BM_ScrollPage(benchmark::State& state) {
    OverviewWindow window;
    window.resize(1000, 720);
    window.setBook(kBook, ProgramFolder::archiveOf(kBook));
    window.show();
    QListView* grid = gridOf(window);
    drawScreen(grid);
    for (auto _ : state) {
        // Far from anything decoded before: a page of cards never shown.
        const int to = grid->verticalScrollBar()->value() + grid->viewport()->height() * 7;
        QElapsedTimer clock;
        clock.start();
        grid->verticalScrollBar()->setValue(to);
        if (!drawScreen(grid)) {
            state.SkipWithError("the page was not drawn");
            break;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        const QList<int> rows = visibleRows(grid);
        g_pageCards = int(rows.size());
        std::fill(std::begin(g_pagePhotoCount), std::end(g_pagePhotoCount), 0);
        for (int row : rows)
            ++g_pagePhotoCount[row % kPhotos];
        state.counters["thumbnails"] = double(rows.size());
    }
}

void BM_DjpegEighth(benchmark::State& state) {
    timeDjpeg(state, CameraPhotos::path(int(state.range(0))),
              {QStringLiteral("-scale"), QStringLiteral("1/8")});
}

void BM_ScrollThrough(benchmark::State& state) {
    const QString numbers = QDir(g_folder).filePath(QStringLiteral("memory.txt"));
    for (auto _ : state) {
        const double seconds = Process::run(QCoreApplication::applicationFilePath(),
                                            {QStringLiteral("--scroll-through"), g_folder, numbers});
        std::ifstream read(QFile::encodeName(numbers).constData());
        double first = 0, last = 0;
        if (seconds < 0 || !(read >> first >> last)) {
            state.SkipWithError("the scroll through the book failed");
            break;
        }
        state.SetIterationTime(seconds);
        state.counters["first_screen_mb"] = first / 1024;
        state.counters["after_all_mb"] = last / 1024;
    }
}

// The save-file window and the message boxes answered at once.
class Answers final : public FileDialogService, public MessageService {
public:
    QString path;
    QString said;
    QString openFile(QWidget*, const FileDialogRequest&) override { return {}; }
    QString saveFile(QWidget*, const FileDialogRequest&) override { return path; }
    MsgAnswer show(const QString& text, MsgKind, MsgButtons, MsgDefault) override {
        said = text;
        return MsgAnswer::Ok;
    }
};

// Twenty cards spread over the first thousand.
QList<int> chosenCards() {
    QList<int> cards;
    for (int n = 0; n < 20; ++n)
        cards << 7 + n * 47;
    return cards;
}

void BM_PortfolioFromWindow(benchmark::State& state) {
    Answers answers;
    answers.path = QDir(g_folder).filePath(QStringLiteral("window.pdf"));
    FileDialogs::setService(&answers);
    setMessageService(&answers);
    OverviewWindow window;
    window.resize(1000, 720);
    window.setBook(kBook, ProgramFolder::archiveOf(kBook));
    window.show();
    QListView* grid = gridOf(window);
    grid->clearSelection();
    for (int position : chosenCards())
        grid->selectionModel()->select(grid->model()->index(position - 1, 0), QItemSelectionModel::Select);
    window.findChild<QCheckBox*>(QStringLiteral("chkSelezionate"))->setChecked(true);
    drawScreen(grid); // the window as the user has it: its thumbnails drawn, its workers idle
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        window.writeOutput(OverviewWindow::Output::Portfolio);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (answers.said != OverviewWindow::writtenMessage(OverviewWindow::Output::Portfolio, answers.path)) {
            state.SkipWithError("the portfolio was not written");
            break;
        }
    }
    FileDialogs::setService(nullptr);
    setMessageService(nullptr);
}

void BM_PortfolioFromCommandLine(benchmark::State& state) {
    QStringList list;
    for (int position : chosenCards())
        list << QString::number(position);
    const QString pdf = QDir(g_folder).filePath(QStringLiteral("line.pdf"));
    const CommandLine::Console quiet{[](const QString&) {}, [](const QString&) {}, false};
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const int status =
            CommandLine::run({QStringLiteral("lumivera"), QStringLiteral("pdf"), kBook, pdf,
                              QStringLiteral("--cards"), list.join(u','), QStringLiteral("-q")},
                             quiet);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (status != 0) {
            state.SkipWithError("lumivera pdf --cards failed");
            break;
        }
    }
}

BENCHMARK(BM_OpenSmall)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3)->Repetitions(3);
BENCHMARK(BM_OpenLarge)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3)->Repetitions(3);
BENCHMARK(BM_DjpegEighth)
    ->DenseRange(1, kPhotos)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(3);
BENCHMARK(BM_ScrollPage)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3)->Repetitions(3);
BENCHMARK(BM_PortfolioFromCommandLine)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2)
    ->Repetitions(3);
BENCHMARK(BM_PortfolioFromWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2)
    ->Repetitions(3);
BENCHMARK(BM_ScrollThrough)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(1);

// The peak resident memory so far, in KiB.
long peakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

// The child: the window on the large book, its first screen, then every page down to the last card,
// each drawn as soon as the window gets to it without waiting for thumbnails, and the last screen in
// full.
int scrollThrough(char** argv) {
    int argc = 1;
    QApplication app(argc, argv);
    ProgramFolder::setPath(QString::fromLocal8Bit(argv[2]));
    OverviewWindow window;
    window.resize(1000, 720);
    window.setBook(kBook, ProgramFolder::archiveOf(kBook));
    window.show();
    QListView* grid = gridOf(window);
    if (!drawScreen(grid))
        return 1;
    const long first = peakKb();
    QScrollBar* bar = grid->verticalScrollBar();
    while (bar->value() < bar->maximum()) {
        bar->setValue(bar->value() + grid->viewport()->height());
        grid->viewport()->repaint();
        QApplication::processEvents();
    }
    if (!drawScreen(grid))
        return 1;
    std::ofstream out(argv[3]);
    out << first << ' ' << peakKb() << '\n';
    return out ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "--scroll-through") == 0)
        return scrollThrough(argv);
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    g_folder = folder.path();
    ProgramFolder::setPath(g_folder);
    if (!CameraPhotos::ensure()) {
        std::fputs("cannot make the bench's photos\n", stderr);
        return 1;
    }
    const QString large = Figures::dataFile(QStringLiteral("Centomila.wmn"));
    if (!BookGenerator::ensureArchive(large, kCards) ||
        !QFile::link(large, ProgramFolder::archiveOf(kBook)) ||
        !BookGenerator::ensureArchive(ProgramFolder::archiveOf(kSmallBook), kFewCards) ||
        !linkPhotos(kBook, CameraPhotos::all(), kCards) ||
        !linkPhotos(kSmallBook, CameraPhotos::all(), kFewCards)) {
        std::fputs("cannot lay out the bench's books\n", stderr);
        return 1;
    }
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printRatio("Provino opened, first screen of thumbnails drawn, 100,000-card book",
                        reporter.ms("BM_OpenLarge"), "the same, 100-card book", reporter.ms("BM_OpenSmall"),
                        1.2);
    double floor = 0;
    for (int n = 0; n < kPhotos; ++n) {
        const double ms = reporter.ms("BM_DjpegEighth/" + std::to_string(n + 1));
        floor = ms < 0 || floor < 0 ? -1 : floor + ms * g_pagePhotoCount[n];
    }
    std::printf("a page of Provino shows %d thumbnails\n", g_pageCards);
    Figures::printRatio("a page of thumbnails not yet decoded, 24 MP photos", reporter.ms("BM_ScrollPage"),
                        "djpeg -scale 1/8 of those photos one after another", floor, 0.7);
    const double first = reporter.counter("BM_ScrollThrough", "first_screen_mb");
    const double last = reporter.counter("BM_ScrollThrough", "after_all_mb");
    Figures::printRatio("peak memory after scrolling through all 100,000 cards", last,
                        "after the first screen", first, 1.5, "MB");
    Figures::printRatio("portfolio of 20 cards selected, written from Provino",
                        reporter.ms("BM_PortfolioFromWindow"), "lumivera pdf --cards of the same cards",
                        reporter.ms("BM_PortfolioFromCommandLine"), 1.1);
    return 0;
}
