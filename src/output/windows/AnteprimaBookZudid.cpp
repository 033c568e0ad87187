#include "output/windows/AnteprimaBookZudid.h"
#include "ui_AnteprimaBookZudid.h"

TfrmAnteprimaBookZudid::TfrmAnteprimaBookZudid(QWidget* parent)
    : CardPrintWindow(parent, CardPrintJob::Output::Preview, failureMessage())
    , ui(std::make_unique<Ui::TfrmAnteprimaBookZudid>()) {
    ui->setupUi(this);
    setUpControls(QStringLiteral(" Anteprima di stampa"), ui->imgTemp, ui->btnStampa, ui->btnAnnulla);
}

TfrmAnteprimaBookZudid::~TfrmAnteprimaBookZudid() = default;

QString TfrmAnteprimaBookZudid::failureMessage() {
    return QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon "
                          "fine.\n\r\n\rSi consiglia di ridurre le dimensioni della foto.");
}
