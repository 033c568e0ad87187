#include "CreaZudid.h"
#include "ui_CreaZudid.h"

#include "Avvio.h"
#include "ProcessFormats.h"
#include "WindowFrame.h"
#include "Windows.h"

#include <QCloseEvent>

TfrmCreaZudid::TfrmCreaZudid(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfrmCreaZudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera - Creazione book fotografico"));
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
}

TfrmCreaZudid::~TfrmCreaZudid() = default;

void TfrmCreaZudid::closeEvent(QCloseEvent* event) {
    Windows::frmAvvio->show();
    event->accept();
}
