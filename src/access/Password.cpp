#include "Password.h"
#include "ui_Password.h"

#include "WindowFrame.h"

TfrmPassword::TfrmPassword(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmPassword>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera - Accesso"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
}

TfrmPassword::~TfrmPassword() = default;
