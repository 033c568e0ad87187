#include "StampaBookZudid.h"
#include "ui_StampaBookZudid.h"

#include "Messages.h"
#include "ProcessFormats.h"
#include "WindowFrame.h"

#include <QShowEvent>

TfrmStampaBookZudid::TfrmStampaBookZudid(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmStampaBookZudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Stampa scheda"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, QColor(66, 122, 168), WindowFrame::kWhite);
    connect(ui->btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnStampa, &QPushButton::clicked, this, &TfrmStampaBookZudid::btnStampaClick);
}

TfrmStampaBookZudid::~TfrmStampaBookZudid() = default;

QString TfrmStampaBookZudid::failureMessage() {
    return QStringLiteral("Attenzione: la stampa non è andata a buon fine.\n\r\n\rSi consiglia di ridurre le "
                          "dimensioni della foto.");
}

void TfrmStampaBookZudid::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_job.takePhoto(ui->imgTemp->toImage()); // imgTemp stands in when the editor has no photo
}

void TfrmStampaBookZudid::btnStampaClick() {
    try {
        m_job.run(CardPrintJob::Output::Printer, this);
    } catch (const std::exception&) {
        // The answer changes nothing: the window closes either way.
        MessageBox(failureMessage(), MsgKind::Warning, MsgButtons::OkCancel);
    }
    accept();
}
