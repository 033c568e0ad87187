#include "output/windows/CardPreviewWindow.h"
#include "ui_CardPreviewWindow.h"

CardPreviewWindow::CardPreviewWindow(QWidget* parent)
    : CardOutputWindow(parent, CardPrintJob::Output::Preview, failureMessage())
    , ui(std::make_unique<Ui::CardPreviewWindow>()) {
    ui->setupUi(this);
    setUpControls(QStringLiteral(" Anteprima di stampa"), ui->imgTemp, ui->btnStampa, ui->btnAnnulla);
}

CardPreviewWindow::~CardPreviewWindow() = default;

QString CardPreviewWindow::failureMessage() {
    return QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon "
                          "fine.\n\r\n\rSi consiglia di ridurre le dimensioni della foto.");
}
