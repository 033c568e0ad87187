#include "output/windows/CardPrintWindow.h"
#include "ui_CardPrintWindow.h"

CardPrintWindow::CardPrintWindow(QWidget* parent)
    : CardOutputWindow(parent, CardPrintJob::Output::Printer, failureMessage())
    , ui(std::make_unique<Ui::CardPrintWindow>()) {
    ui->setupUi(this);
    setUpControls(QStringLiteral(" Stampa scheda"), ui->imgTemp, ui->btnStampa, ui->btnAnnulla);
}

CardPrintWindow::~CardPrintWindow() = default;

QString CardPrintWindow::failureMessage() {
    return QStringLiteral("Attenzione: la stampa non è andata a buon fine.\n\r\n\rSi consiglia di ridurre le "
                          "dimensioni della foto.");
}
