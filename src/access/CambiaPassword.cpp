#include "CambiaPassword.h"
#include "ui_CambiaPassword.h"

#include "WindowFrame.h"

TfrmCambiaPassword::TfrmCambiaPassword(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmCambiaPassword>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Cambia password"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
}

TfrmCambiaPassword::~TfrmCambiaPassword() = default;
