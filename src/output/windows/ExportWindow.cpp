#include "output/windows/ExportWindow.h"
#include "ui_ExportWindow.h"

#include "base/HelpTopics.h"
#include "base/ProgramFolder.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"
#include "ui/DialogKeys.h"
#include "ui/GuideWindow.h"
#include "ui/Messages.h"
#include "ui/OpenURL.h"
#include "ui/StatusHints.h"
#include "ui/WindowFrame.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QScopeGuard>
#include <QShowEvent>

ExportWindow::ExportWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::ExportWindow>())
    , m_grid(new CardGridModel(this)) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Esporta book fotografico in Microsoft Excel"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, QColor(0x6A, 0x5A, 0xCD), WindowFrame::kWhite);

    // Every row has the same height, so the view lays out a book of any size at once.
    ui->grdRecords->setModel(m_grid);
    QHeaderView* rows = ui->grdRecords->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(21);
    QHeaderView* columns = ui->grdRecords->horizontalHeader();
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < CardGridModel::kColumnCount; ++column)
        columns->resizeSection(column, CardGridModel::width(column));

    installHints();
    connect(ui->cmdEsporta, &Picture::clicked, this, &ExportWindow::cmdEsportaClick);
    connect(ui->cmdGuida, &Picture::clicked, this, [this] { showHelp(this, HelpTopics::exportBook()); });
    connect(ui->cmdEsci, &Picture::clicked, this, &QDialog::accept);
    // Return outside a cell being edited asks to export, Escape leaves as the exit command does, F1
    // shows the help.
    DialogKeys::install(this, {ui->cmdEsporta}, {ui->cmdEsci});
    DialogKeys::bindKey(this, Qt::Key_F1, ui->cmdGuida);
}

ExportWindow::~ExportWindow() = default;

QString ExportWindow::exportQuestion() {
    return QStringLiteral(
        "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero "
        "di schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
}

QString ExportWindow::exportedQuestion(const QString& path) {
    return QStringLiteral(
               "Le schede in archivio sono state esportate con successo.\r\n\r\nI dati si trovano nel "
               "file \"%1\".\r\n\r\nSi vuole aprire il file di Excel?")
        .arg(QDir::toNativeSeparators(path));
}

QString ExportWindow::failureMessage() {
    return QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                          "Accertarsi che il file di Excel non sia già aperto.");
}

void ExportWindow::installHints() {
    auto* hints = new StatusHints(this, ui->panInfo);
    hints->addHint(ui->cmdEsporta, QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    hints->addHint(ui->cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    hints->addHint(ui->cmdEsci, QStringLiteral("Esci da questo ambiente di lavoro."));
    for (QWidget* area :
         std::initializer_list<QWidget*>{ui->panContainer, ui->grdRecords, ui->shpInfo, ui->shpSfondo})
        hints->addClearingArea(area);
    // The grid is drawn on surfaces of its own: its cells and its column titles clear the line too.
    for (QWidget* surface :
         std::initializer_list<QWidget*>{ui->grdRecords->viewport(), ui->grdRecords->horizontalHeader(),
                                         ui->grdRecords->horizontalHeader()->viewport()})
        hints->addClearingArea(surface);
    hints->install();
}

void ExportWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window brought back by the desktop (restored, uncovered) keeps its rows and their edits.
    if (event->spontaneous() || m_archivePath.isEmpty())
        return;
    // A book that cannot be read leaves the rows received so far, without a word: the user still sees
    // what could be read and may export it.
    m_grid->fill(m_archivePath);
}

void ExportWindow::cmdEsportaClick() {
    // Text still being typed into a cell belongs to the export: taking the focus back commits it.
    if (ui->grdRecords->isAncestorOf(QApplication::focusWidget()))
        ui->grdRecords->setFocus();
    if (!consents(MessageBox(exportQuestion(), MsgKind::Confirmation, MsgButtons::YesNo)))
        return;

    const QString path = ProgramFolder::exportFile();
    bool written;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        written = ExportFile::write(path, *m_grid);
    }
    if (!written) {
        ShowMessage(failureMessage());
        return;
    }
    if (consents(MessageBox(exportedQuestion(path), MsgKind::Confirmation, MsgButtons::YesNo)))
        TMisc::Open(u'"' + path + u'"');
}
