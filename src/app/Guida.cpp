#include "Guida.h"
#include "ui_Guida.h"

#include "WindowFrame.h"

TfrmGuida::TfrmGuida(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmGuida>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Guida all'utilizzo del software"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, WindowFrame::kWhite, QColor(0xBF, 0xD8, 0xEF));
}

TfrmGuida::~TfrmGuida() = default;
