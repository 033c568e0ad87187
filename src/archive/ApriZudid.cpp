#include "ApriZudid.h"
#include "ui_ApriZudid.h"

#include "Avvio.h"
#include "ProcessFormats.h"
#include "WindowFrame.h"
#include "Windows.h"

#include <QCloseEvent>

TfrmApriZudid::TfrmApriZudid(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfrmApriZudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera - Apertura book fotografico"));
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
}

TfrmApriZudid::~TfrmApriZudid() = default;

void TfrmApriZudid::closeEvent(QCloseEvent* event) {
    Windows::frmAvvio->show();
    event->accept();
}
