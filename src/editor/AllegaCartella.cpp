#include "AllegaCartella.h"
#include "ui_AllegaCartella.h"

#include "WindowFrame.h"

TfrmAllegaCartella::TfrmAllegaCartella(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmAllegaCartella>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Allega file"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, QColor(0xD3, 0xD3, 0xD3), WindowFrame::kWhite);
}

TfrmAllegaCartella::~TfrmAllegaCartella() = default;
