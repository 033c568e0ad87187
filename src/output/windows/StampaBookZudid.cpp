#include "output/windows/StampaBookZudid.h"
#include "ui_StampaBookZudid.h"

TfrmStampaBookZudid::TfrmStampaBookZudid(QWidget* parent)
    : CardPrintWindow(parent, CardPrintJob::Output::Printer, failureMessage())
    , ui(std::make_unique<Ui::TfrmStampaBookZudid>()) {
    ui->setupUi(this);
    setUpControls(QStringLiteral(" Stampa scheda"), ui->imgTemp, ui->btnStampa, ui->btnAnnulla);
}

TfrmStampaBookZudid::~TfrmStampaBookZudid() = default;

QString TfrmStampaBookZudid::failureMessage() {
    return QStringLiteral("Attenzione: la stampa non è andata a buon fine.\n\r\n\rSi consiglia di ridurre le "
                          "dimensioni della foto.");
}
