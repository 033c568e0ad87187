#include "ExpBookZudid.h"
#include "ui_ExpBookZudid.h"

#include "WindowFrame.h"

TfrmExpBookZudid::TfrmExpBookZudid(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmExpBookZudid>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Esporta book fotografico in Microsoft Excel"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, QColor(0x6A, 0x5A, 0xCD), WindowFrame::kWhite);
}

TfrmExpBookZudid::~TfrmExpBookZudid() = default;
