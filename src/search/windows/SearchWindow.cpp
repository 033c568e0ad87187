#include "search/windows/SearchWindow.h"
#include "ui_SearchWindow.h"

#include "archive/core/BookArchive.h"
#include "archive/core/BookShelf.h"
#include "archive/core/Cp1252.h"
#include "base/ProcessFormats.h"
#include "report/windows/ReportPrinting.h"
#include "search/core/QuickFind.h"
#include "search/core/ResultListModel.h"
#include "search/core/SearchSummary.h"
#include "ui/BusyNotice.h"
#include "ui/DialogKeys.h"
#include "ui/FieldStart.h"
#include "ui/FocusStyles.h"
#include "ui/Messages.h"
#include "ui/ReturnChain.h"
#include "ui/StorableTextValidator.h"
#include "ui/WindowFrame.h"

#include <QMouseEvent>

#include <functional>

namespace {

// Hands every double-click on the list to the window: on a line, and also on the empty part below the
// last line, which the list itself lets pass. A press on that empty part keeps the selected line, as a
// list box does, so that a double-click there hands that line back.
class ListClicks final : public QObject {
public:
    ListClicks(QAbstractItemView* list, std::function<void()> doubleClick)
        : QObject(list)
        , m_list(list)
        , m_doubleClick(std::move(doubleClick)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonDblClick) {
            if (mouse->button() != Qt::LeftButton)
                return false;
            m_doubleClick();
            return true;
        }
        if (m_list->indexAt(mouse->position().toPoint()).isValid())
            return false;
        m_list->setFocus(Qt::MouseFocusReason);
        return true;
    }

private:
    QAbstractItemView* m_list;
    std::function<void()> m_doubleClick;
};

} // namespace

SearchWindow::SearchWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::SearchWindow>())
    , m_model(new ResultListModel(this)) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Trova foto in book fotografico"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, QColor(Qt::black), WindowFrame::kWhite);
    ui->lstRecords->setModel(m_model);

    // The yellow frames keep the numbering the window has always had, which is not the fields' order.
    const std::pair<QLineEdit*, const char16_t*> frames[] = {
        {ui->txtTitolo, u"effCampo01"},    {ui->txtDescrizione, u"effCampo02"},
        {ui->txtGiudizio, u"effCampo03"},  {ui->txtNote, u"effCampo04"},
        {ui->txtFotografo, u"effCampo05"}, {ui->txtFotocamera, u"effCampo06"},
        {ui->txtAbiti, u"effCampo07"},     {ui->txtTrucco, u"effCampo08"},
        {ui->txtData, u"effCampo09"},      {ui->txtLocation, u"effCampo10"}};
    for (const auto& [field, frame] : frames) {
        FocusStyles::applyStyleB(field, QString::fromUtf16(frame));
        // A criterion is found only in what a card can hold.
        StorableTextField::install(field, Cp1252::holds, Cp1252::plainLetters);
        // A long criterion is read from its beginning once the user goes on to another field.
        FieldStart::install(field);
    }
    FieldStart::install(ui->txtTrova);
    ReturnChain::install({
        {ui->txtTitolo, ui->txtDescrizione},
        {ui->txtDescrizione, ui->txtData},
        {ui->txtData, ui->txtLocation},
        {ui->txtLocation, ui->txtFotografo},
        {ui->txtFotografo, ui->txtFotocamera},
        {ui->txtFotocamera, ui->txtAbiti},
        {ui->txtAbiti, ui->txtTrucco},
        {ui->txtTrucco, ui->txtGiudizio},
        {ui->txtGiudizio, ui->txtNote},
        {ui->txtNote, ui->txtTitolo},
        {ui->txtTrova, ui->btnTrova},
        {ui->lstRecords, [this] { lstRecordsReturn(); }},
    });
    BusyNotice::install(ui->btnCerca, ui->lblAttendere, this);

    connect(ui->btnCerca, &QPushButton::clicked, this, &SearchWindow::btnCercaClick);
    connect(ui->btnTrova, &QPushButton::clicked, this, &SearchWindow::btnTrovaClick);
    ui->lstRecords->viewport()->installEventFilter(
        new ListClicks(ui->lstRecords, [this] { lstRecordsDoubleClick(); }));
    connect(ui->btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnStampa, &QPushButton::clicked, this, &SearchWindow::btnStampaClick);
    // On the criteria page Return searches from anywhere but a field, whose Return passes the focus
    // on; Escape leaves as "Chiudi" does on either page.
    DialogKeys::install(this, {ui->btnCerca}, {ui->btnAnnulla, ui->btnChiudi});
    // Tab goes on from the last criterion to the page's buttons, and through the results page in
    // reading order.
    for (const auto& [before, after] : {std::pair<QWidget*, QWidget*>{ui->txtNote, ui->btnCerca},
                                        {ui->btnCerca, ui->btnAnnulla},
                                        {ui->lstRecords, ui->txtTrova},
                                        {ui->txtTrova, ui->btnTrova},
                                        {ui->btnTrova, ui->btnStampa},
                                        {ui->btnStampa, ui->btnChiudi}})
        QWidget::setTabOrder(before, after);
}

SearchWindow::~SearchWindow() = default;

// One card is "1 scheda", any other number "schede".
QString SearchWindow::countLine(int lines) {
    if (lines == 1)
        return QStringLiteral("Il presente riepilogo contiene 1 scheda.");
    return QStringLiteral("Il presente riepilogo contiene %1 schede.").arg(lines);
}

QString SearchWindow::emptyListMessage() {
    return QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");
}

std::array<QLineEdit*, 10> SearchWindow::criteriaFields() const {
    return {ui->txtTitolo,     ui->txtDescrizione, ui->txtData,   ui->txtLocation, ui->txtFotografo,
            ui->txtFotocamera, ui->txtAbiti,       ui->txtTrucco, ui->txtGiudizio, ui->txtNote};
}

void SearchWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QuickFind::forgetLastKey();
    ui->txtTrova->clear();
    ui->txtTitolo->setFocus();
}

void SearchWindow::done(int result) {
    m_model->clear();
    ui->lblAttendere->hide();
    QDialog::done(result);
}

void SearchWindow::btnCercaClick() {
    CardSearch::Criteria criteria;
    const std::array<QLineEdit*, 10> fields = criteriaFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        criteria[i] = fields[i]->text();
    QList<CardSearch::Hit> hits;
    try {
        hits = CardSearch::run(m_archivePath, criteria);
    } catch (const ArchiveError&) {
        ShowMessage(BookArchive::accessMessage());
        return; // the criteria page stays, the waiting notice with it
    }
    m_model->setHits(std::move(hits));
    ui->lblTrovate->setText(countLine(m_model->rowCount()));
    ui->panContainer->show();
    ui->panAvvio->hide();
    ui->txtTrova->clear();
    ui->txtTrova->setFocus();
}

void SearchWindow::btnTrovaClick() {
    if (m_model->rowCount() == 0) {
        ShowMessage(emptyListMessage());
        return;
    }
    QItemSelectionModel* selection = ui->lstRecords->selectionModel();
    if (!selection->hasSelection())
        ui->lstRecords->setCurrentIndex(m_model->index(0));
    const std::optional<int> found =
        QuickFind::find(m_model->lines(), ui->lstRecords->currentIndex().row(), ui->txtTrova->text());
    if (found) {
        ui->lstRecords->setCurrentIndex(m_model->index(*found));
        ui->lstRecords->scrollTo(m_model->index(*found));
    }
}

// A double-click hands back the selected line, wherever on the list it falls, and closes the window;
// with no line selected it only closes. Each line keeps the position of its own card, so even two lines
// that read alike each hand back their card.
void SearchWindow::lstRecordsDoubleClick() {
    const QModelIndexList selected = ui->lstRecords->selectionModel()->selectedRows();
    if (!selected.isEmpty() && m_opener == Opener::Editor)
        m_chosen = m_model->hits().at(selected.first().row()).position;
    accept();
}

// Return on the list hands back the line the user is on, as a double-click does: the selected line,
// or the line the keys have reached when none is selected yet. On an empty list it does nothing.
void SearchWindow::lstRecordsReturn() {
    QItemSelectionModel* selection = ui->lstRecords->selectionModel();
    if (!selection->hasSelection()) {
        const QModelIndex current = ui->lstRecords->currentIndex();
        if (!current.isValid())
            return;
        selection->select(current, QItemSelectionModel::ClearAndSelect);
    }
    lstRecordsDoubleClick();
}

// The summary of the latest search, printed after the print dialog; the window stays as it is.
void SearchWindow::btnStampaClick() {
    try {
        Report::ReportTemplate summary = SearchSummary::makeTemplate();
        SearchSummary::fill(summary, BookShelf::bookNameOfArchive(m_archivePath),
                            m_model->lines());
        ReportPrinting::print(Report::prepare(summary), this);
    } catch (const Report::ReportError& error) {
        reportUnexpectedError(error.text());
    }
}
