#include "editor/windows/OverviewWindow.h"
#include "ui_OverviewWindow.h"

#include "archive/core/BookArchive.h"
#include "archive/core/KeptFiles.h"
#include "archive/core/PhotoStore.h"
#include "base/LumiveraError.h"
#include "base/ProgramFolder.h"
#include "base/SystemText.h"
#include "output/core/BookPdf.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"
#include "ui/FileDialogs.h"
#include "ui/Messages.h"
#include "ui/WorkProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int kMargin = 8;    // around a cell's content
constexpr int kTextLines = 2; // "12 · title" and the date
constexpr int kLineHeight = 16;

QSize boxFor(int width) {
    return {width, width * 4 / 3};
}

// A card of the grid: its thumbnail in a portrait box, the placeholder picture for a card without a
// photo, and under it the position with the title, then the date.
class CardDelegate final : public QStyledItemDelegate {
public:
    explicit CardDelegate(QObject* parent)
        : QStyledItemDelegate(parent) {}

    void setBoxWidth(int width) {
        m_box = boxFor(width);
        m_placeholder = QImage();
    }

    QSize cellSize() const {
        // The box, the two lines under it, and a margin all round with a little more below the text.
        return {m_box.width() + 2 * kMargin, m_box.height() + kTextLines * kLineHeight + 2 * kMargin + 6};
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return cellSize(); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        const QRect cell = option.rect.adjusted(2, 2, -2, -2);
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(selected ? QColor(0x2F, 0x65, 0x94) : QColor(0xC8, 0xD4, 0xE0));
        painter->setBrush(selected ? QColor(0xCF, 0xE0, 0xF4) : QColor(Qt::white));
        painter->drawRect(cell.adjusted(0, 0, -1, -1));

        const QRect box(cell.left() + kMargin - 2, cell.top() + kMargin - 2, m_box.width(), m_box.height());
        const auto state =
            ThumbnailLoader::Thumbnail::State(index.data(CardOverviewModel::ThumbnailStateRole).toInt());
        if (state == ThumbnailLoader::Thumbnail::Photo) {
            const QImage picture = index.data(CardOverviewModel::ThumbnailRole).value<QImage>();
            drawFitted(painter, picture, box);
        } else if (state == ThumbnailLoader::Thumbnail::NoPhoto) {
            drawFitted(painter, placeholder(painter->device()->devicePixelRatioF()), box);
        } else {
            painter->fillRect(box, QColor(0xE6, 0xEC, 0xF2)); // being decoded
        }

        QFont font(QStringLiteral("Verdana"));
        font.setPointSize(8);
        painter->setFont(font);
        const QFontMetrics metrics(font);
        const QRect firstLine(cell.left() + kMargin - 2, box.bottom() + kMargin / 2 + 1, m_box.width(),
                              kLineHeight);
        const QString title = QStringLiteral("%1 · %2")
                                  .arg(index.data(CardOverviewModel::PositionRole).toInt())
                                  .arg(index.data(CardOverviewModel::TitleRole).toString());
        painter->setPen(QColor(0x1F, 0x2F, 0x3F));
        painter->drawText(firstLine, Qt::AlignLeft | Qt::AlignVCenter,
                          metrics.elidedText(title, Qt::ElideRight, firstLine.width()));
        painter->setPen(QColor(0x4A, 0x5A, 0x6A));
        painter->drawText(firstLine.translated(0, kLineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                          metrics.elidedText(index.data(CardOverviewModel::DateRole).toString(),
                                             Qt::ElideRight, firstLine.width()));
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(QColor(0x2F, 0x65, 0x94), 1, Qt::DotLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(cell.adjusted(2, 2, -3, -3));
        }
        painter->restore();
    }

private:
    // A picture shrunk to fit the box, never enlarged, centred; drawn crisp at any pixel ratio.
    static void drawFitted(QPainter* painter, const QImage& picture, const QRect& box) {
        if (picture.isNull())
            return;
        const qreal ratio = painter->device()->devicePixelRatioF();
        QSizeF shown = QSizeF(picture.size()) / ratio;
        if (shown.width() > box.width() || shown.height() > box.height())
            shown.scale(box.size(), Qt::KeepAspectRatio);
        const QRectF target(box.left() + (box.width() - shown.width()) / 2,
                            box.top() + (box.height() - shown.height()) / 2, shown.width(), shown.height());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, picture);
    }

    const QImage& placeholder(qreal ratio) const {
        const QSize device = (QSizeF(m_box) * ratio).toSize();
        if (m_placeholder.size() != device)
            m_placeholder =
                PhotoStore::placeholder().scaled(device, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return m_placeholder;
    }

    QSize m_box = boxFor(OverviewWindow::kSizes[1]);
    mutable QImage m_placeholder;
};

} // namespace

OverviewWindow::OverviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::OverviewWindow>()) {
    ui->setupUi(this);
    QListView* grid = ui->lstProvino;
    grid->setModel(&m_model);
    grid->setItemDelegate(new CardDelegate(grid));
    grid->setViewMode(QListView::ListMode);
    grid->setFlow(QListView::LeftToRight);
    grid->setWrapping(true);
    grid->setResizeMode(QListView::Adjust);
    grid->setUniformItemSizes(true);
    grid->setLayoutMode(QListView::SinglePass);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->setDragEnabled(true);
    grid->setDragDropMode(QAbstractItemView::DragOnly);
    grid->setDefaultDropAction(Qt::CopyAction);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->viewport()->installEventFilter(this);
    grid->viewport()->setAcceptDrops(true); // files from outside: new cards
    grid->setFocus(); // the keys move through the cards from the moment the window opens
    connect(grid, &QListView::activated, this,
            [this](const QModelIndex& index) { Q_EMIT cardChosen(index.row() + 1); });
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, this, &OverviewWindow::updateVisibleRows);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &OverviewWindow::updateCount);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &OverviewWindow::updateCount);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &OverviewWindow::updateCount);

    ui->spnColonne->setRange(1, BookPdf::kMaxColumns);
    ui->spnColonne->setValue(BookPdf::kDefaultColumns);
    connect(ui->btnPortfolio, &QPushButton::clicked, this, [this] { writeOutput(Output::Portfolio); });
    connect(ui->btnProvinoPdf, &QPushButton::clicked, this, [this] { writeOutput(Output::ContactSheet); });
    connect(ui->btnEsporta, &QPushButton::clicked, this, [this] { writeOutput(Output::Export); });
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &OverviewWindow::updateSelectionCount);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &OverviewWindow::updateSelectionCount);

    m_sizeButtons = {ui->btnPiccole, ui->btnMedie, ui->btnGrandi};
    for (int i = 0; i < int(m_sizeButtons.size()); ++i)
        connect(m_sizeButtons[std::size_t(i)], &QAbstractButton::clicked, this,
                [this, i] { setSizeIndex(i); });
    m_size = -1;
    setSizeIndex(1);

    m_recheck.setInterval(1500);
    connect(&m_recheck, &QTimer::timeout, this, [this] {
        if (isVisible())
            m_model.refresh();
    });
    m_recheck.start();
}

void OverviewWindow::placeOnScreen(const QScreen* screen) {
    if (!screen)
        return;
    // Most of the screen, centred on it: as many thumbnails as the screen can show.
    const QRect available = screen->availableGeometry();
    const QSize size = (QSizeF(available.size()) * 0.85).toSize();
    resize(size);
    move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}

OverviewWindow::~OverviewWindow() = default;

QString OverviewWindow::captionFor(const QString& bookName) {
    return QStringLiteral("Provino \u2014 %1").arg(bookName);
}

void OverviewWindow::setBook(const QString& bookName, const QString& archivePath) {
    setWindowTitle(captionFor(bookName));
    m_model.setBook(bookName, archivePath);
    if (m_model.rowCount() > 0)
        showPosition(1);
    updateVisibleRows();
}

void OverviewWindow::setSizeIndex(int index) {
    index = std::clamp(index, 0, int(kSizes.size()) - 1);
    m_sizeButtons[std::size_t(index)]->setChecked(true);
    if (index == m_size)
        return;
    m_size = index;
    auto* delegate = static_cast<CardDelegate*>(ui->lstProvino->itemDelegate());
    delegate->setBoxWidth(kSizes[std::size_t(index)]);
    ui->lstProvino->setGridSize(delegate->cellSize());
    m_model.setThumbnailBox((QSizeF(boxFor(kSizes[std::size_t(index)])) * devicePixelRatioF()).toSize());
    ui->lstProvino->doItemsLayout();
    if (const QModelIndex current = ui->lstProvino->currentIndex(); current.isValid())
        ui->lstProvino->scrollTo(current);
    updateVisibleRows();
}

QList<int> OverviewWindow::selectedPositions() const {
    QList<int> positions;
    for (const QModelIndex& index : ui->lstProvino->selectionModel()->selectedIndexes())
        positions << index.row() + 1;
    std::sort(positions.begin(), positions.end());
    return positions;
}

void OverviewWindow::showPosition(int position) {
    const QModelIndex index = m_model.index(position - 1);
    if (!index.isValid())
        return;
    ui->lstProvino->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    ui->lstProvino->scrollTo(index, QAbstractItemView::PositionAtCenter);
    updateVisibleRows();
}

void OverviewWindow::updateSelectionCount() {
    const qsizetype selected = ui->lstProvino->selectionModel()->selectedIndexes().size();
    ui->chkSelezionate->setText(QStringLiteral("Solo le schede &selezionate (%1)").arg(selected));
}

QString OverviewWindow::noSelectionMessage() {
    return QStringLiteral("Nessuna scheda selezionata: selezionare le schede, oppure togliere il segno a "
                          "\"Solo le schede selezionate\" per usare tutto il book.");
}

QString OverviewWindow::writtenMessage(Output output, const QString& path) {
    const QString what = output == Output::Portfolio      ? QStringLiteral("Il portfolio è stato scritto")
                         : output == Output::ContactSheet ? QStringLiteral("Il provino è stato scritto")
                                                          : QStringLiteral("L'esportazione è stata scritta");
    return QStringLiteral("%1 nel file \"%2\".").arg(what, QDir::toNativeSeparators(path));
}

void OverviewWindow::writeOutput(Output output) {
    const QString book = m_model.bookName();
    CardChoice::Cards cards;
    if (ui->chkSelezionate->isChecked()) {
        const QList<int> selected = selectedPositions();
        if (selected.isEmpty()) {
            MessageBox(noSelectionMessage(), MsgKind::Warning, MsgButtons::Ok);
            return;
        }
        cards = CardChoice::Positions(selected.begin(), selected.end());
    }
    const bool pdf = output != Output::Export;
    const QString chosen = FileDialogs::saveFile(
        this, {output == Output::Portfolio      ? QStringLiteral("Salva il portfolio PDF")
               : output == Output::ContactSheet ? QStringLiteral("Salva il provino PDF")
                                                : QStringLiteral("Salva l'esportazione"),
               {pdf ? QStringLiteral("Documento PDF (*.pdf)")
                    : QStringLiteral("Foglio di Microsoft Excel (*.xls)")},
               book + (output == Output::ContactSheet ? QStringLiteral(" - provino") : QString()) +
                   (pdf ? QStringLiteral(".pdf") : QStringLiteral(".xls")),
               pdf ? QStringLiteral("pdf") : QStringLiteral("xls")});
    if (chosen.isEmpty())
        return;
    // Never onto what the program keeps: a book, its journal, a photo, the password store...
    const QString path = KeptFiles::resolved(chosen);
    const std::optional<QString> kept = path.isEmpty() ? std::nullopt : KeptFiles::whatIsKept(path);
    if (path.isEmpty() || kept || KeptFiles::hasArchiveName(chosen) || KeptFiles::hasArchiveName(path)) {
        MessageBox(QStringLiteral("Il file \"%1\" è %2: scegliere un altro nome.")
                       .arg(QDir::toNativeSeparators(chosen),
                            kept ? *kept : QStringLiteral("o potrebbe essere l'archivio di un book")),
                   MsgKind::Warning, MsgButtons::Ok);
        return;
    }
    const int columns = ui->spnColonne->value();
    const QString archivePath = ProgramFolder::archiveOf(book);
    QString failure;
    bool written = false;
    try {
        written = WorkProgress::run(
            this, windowTitle(),
            output == Output::Portfolio      ? QStringLiteral("Scrittura del portfolio...")
            : output == Output::ContactSheet ? QStringLiteral("Scrittura del provino...")
                                             : QStringLiteral("Esportazione delle schede..."),
            [&](const WorkProgress::Report& report) {
                if (output == Output::Portfolio) {
                    BookPdf::writePortfolio(book, path, report, cards);
                } else if (output == Output::ContactSheet) {
                    BookPdf::writeContactSheet(book, path, columns, report, cards);
                } else {
                    CardGridModel grid;
                    QString why;
                    if (!grid.fill(archivePath, &why, cards)) {
                        failure =
                            QStringLiteral("Non è stato possibile leggere l'archivio del book \"%1\": %2")
                                .arg(book, why);
                        return;
                    }
                    if (ExportFile::write(path, grid, report, &why) == ExportFile::Result::Failed)
                        failure = QStringLiteral("Non è stato possibile scrivere il file \"%1\": %2.")
                                      .arg(QDir::toNativeSeparators(path), SystemText::italian(why));
                }
            });
    } catch (const LumiveraError& error) {
        failure = error.text();
    }
    if (!failure.isEmpty())
        MessageBox(failure, MsgKind::Warning, MsgButtons::Ok);
    else if (written)
        MessageBox(writtenMessage(output, path), MsgKind::Information, MsgButtons::Ok);
}

void OverviewWindow::updateCount() {
    const int count = m_model.rowCount();
    ui->lblSchede->setText(count == 1 ? QStringLiteral("1 scheda") : QStringLiteral("%1 schede").arg(count));
    updateVisibleRows();
}

// The rows on screen, and two screens below and one above, whose thumbnails are worth decoding: a
// request for a row the user just scrolled past is not dropped at once.
void OverviewWindow::updateVisibleRows() {
    const QListView* grid = ui->lstProvino;
    const QSize cell = grid->gridSize();
    const int count = m_model.rowCount();
    if (count == 0 || cell.isEmpty()) {
        m_model.setVisibleRows(0, -1, 0);
        return;
    }
    const int perLine = std::max(1, grid->viewport()->width() / cell.width());
    const int lines = grid->viewport()->height() / cell.height() + 2;
    const QModelIndex top = grid->indexAt(QPoint(cell.width() / 2, 1));
    const int first = top.isValid()
                          ? top.row() / perLine * perLine
                          : std::max(0, grid->verticalScrollBar()->value() / cell.height() * perLine);
    const int onScreen = perLine * lines;
    m_model.setVisibleRows(std::max(0, first - onScreen), std::min(count - 1, first + onScreen * 2),
                           onScreen);
}

namespace {

// The files of the computer that a drag from outside the grid carries; none for a drag of the grid's
// own thumbnails, which are the book's photos already.
QStringList droppedFiles(const QDropEvent* drop, const QWidget* grid) {
    QStringList files;
    if (drop->source() == grid || !drop->mimeData()->hasUrls())
        return files;
    for (const QUrl& url : drop->mimeData()->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

} // namespace

void OverviewWindow::importFiles(const QStringList& paths) {
    const QString book = m_model.bookName();
    PhotoImport::Plan plan;
    PhotoImport::Outcome outcome;
    bool ran = true;
    try {
        WorkProgress::run(this, windowTitle(), QStringLiteral("Importazione delle foto nel book..."),
                          [&](const WorkProgress::Report& report) {
                              plan = PhotoImport::gather(paths, false);
                              PhotoImport::Options options;
                              options.progress = report;
                              outcome = PhotoImport::run(book, plan, options);
                          });
    } catch (const ArchiveError& error) {
        ran = false;
        MessageBox(error.text(), MsgKind::Warning, MsgButtons::Ok);
    }
    m_model.refresh();
    if (ran && !outcome.positions.isEmpty()) {
        QItemSelection added(m_model.index(outcome.positions.first() - 1),
                             m_model.index(outcome.positions.last() - 1));
        ui->lstProvino->selectionModel()->select(added, QItemSelectionModel::ClearAndSelect);
        ui->lstProvino->selectionModel()->setCurrentIndex(m_model.index(outcome.positions.first() - 1),
                                                          QItemSelectionModel::NoUpdate);
        ui->lstProvino->scrollTo(m_model.index(outcome.positions.first() - 1));
    }
    if (const QString report = ran ? importReport(plan, outcome) : QString(); !report.isEmpty())
        MessageBox(report, MsgKind::Warning, MsgButtons::Ok);
}

QString OverviewWindow::importReport(const PhotoImport::Plan& plan, const PhotoImport::Outcome& outcome) {
    constexpr int kNamed = 12; // files named one by one; the others counted
    QStringList lines;
    const auto name = [](const QString& path) { return QFileInfo(path).fileName(); };
    for (const PhotoImport::Refusal& refusal : plan.refused + outcome.refused)
        lines << QStringLiteral("\u00AB%1\u00BB: %2").arg(name(refusal.path), refusal.reason);
    for (const PhotoImport::Duplicate& duplicate : outcome.duplicates)
        lines << QStringLiteral("\u00AB%1\u00BB: è già la foto della scheda %2.")
                     .arg(name(duplicate.path))
                     .arg(duplicate.position);
    QStringList parts;
    const qsizetype added = outcome.positions.size();
    if (!lines.isEmpty()) {
        QString listed = lines.mid(0, kNamed).join(QStringLiteral("\r\n"));
        if (lines.size() > kNamed)
            listed += QStringLiteral("\r\n... e altri %1 file.").arg(lines.size() - kNamed);
        parts << QStringLiteral("Questi file non sono stati aggiunti al book:\r\n\r\n") + listed;
    }
    if (!outcome.stoppedBy.isEmpty())
        parts << QStringLiteral("L'importazione si è fermata: %1 %2 foto non sono state importate.")
                     .arg(outcome.stoppedBy)
                     .arg(outcome.notTried);
    else if (outcome.cancelled)
        parts << QStringLiteral("Importazione annullata: %1 foto non sono state importate.")
                     .arg(outcome.notTried);
    if (outcome.incomplete > 0)
        parts << (outcome.incomplete == 1
                      ? QStringLiteral("1 scheda nuova non ha la location")
                      : QStringLiteral("%1 schede nuove non hanno la location").arg(outcome.incomplete)) +
                     QStringLiteral(
                         ": va scritta nell'editor prima di salvare. La ricerca di \"Importata da\" nelle "
                         "note trova tutte le schede importate.");
    if (parts.isEmpty())
        return {};
    if (added > 0)
        parts.prepend(
            added == 1 ? QStringLiteral("Aggiunta 1 scheda al book (la %1).").arg(outcome.positions.first())
                       : QStringLiteral("Aggiunte %1 schede al book (dalla %2 alla %3).")
                             .arg(added)
                             .arg(outcome.positions.first())
                             .arg(outcome.positions.last()));
    return parts.join(QStringLiteral("\r\n\r\n"));
}

bool OverviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->lstProvino->viewport() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = droppedFiles(drop, ui->lstProvino);
        if (files.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (event->type() == QEvent::Drop) // after the drop has ended for the file manager
            QMetaObject::invokeMethod(
                this, [this, files] { importFiles(files); }, Qt::QueuedConnection);
        return true;
    }
    if (watched == ui->lstProvino->viewport()) {
        if (event->type() == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->modifiers() & Qt::ControlModifier) {
                const int steps = wheel->angleDelta().y();
                if (steps != 0)
                    setSizeIndex(m_size + (steps > 0 ? 1 : -1));
                return true;
            }
        } else if (event->type() == QEvent::Resize) {
            QMetaObject::invokeMethod(this, &OverviewWindow::updateVisibleRows, Qt::QueuedConnection);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void OverviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool OverviewWindow::event(QEvent* event) {
    // Back in the window after working elsewhere (the editor saved cards, a photo was edited): the
    // book is looked at again at once.
    if (event->type() == QEvent::WindowActivate && !m_model.bookName().isEmpty())
        m_model.refresh();
    return QWidget::event(event);
}
