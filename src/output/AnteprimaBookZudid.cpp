#include "AnteprimaBookZudid.h"
#include "ui_AnteprimaBookZudid.h"

#include "Messages.h"
#include "ProcessFormats.h"
#include "WindowFrame.h"

#include <QShowEvent>

TfrmAnteprimaBookZudid::TfrmAnteprimaBookZudid(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmAnteprimaBookZudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Anteprima di stampa"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, QColor(66, 122, 168), WindowFrame::kWhite);
    connect(ui->btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnStampa, &QPushButton::clicked, this, &TfrmAnteprimaBookZudid::btnStampaClick);
}

TfrmAnteprimaBookZudid::~TfrmAnteprimaBookZudid() = default;

QString TfrmAnteprimaBookZudid::failureMessage() {
    return QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon "
                          "fine.\n\r\n\rSi consiglia di ridurre le dimensioni della foto.");
}

void TfrmAnteprimaBookZudid::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_job.takePhoto(ui->imgTemp->toImage()); // imgTemp stands in when the editor has no photo
}

void TfrmAnteprimaBookZudid::btnStampaClick() {
    try {
        m_job.run(CardPrintJob::Output::Preview, this);
    } catch (const std::exception&) {
        // The answer changes nothing: the window closes either way.
        MessageBox(failureMessage(), MsgKind::Warning, MsgButtons::OkCancel);
    }
    accept();
}
