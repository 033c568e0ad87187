#include "AnteprimaBookZudid.h"
#include "ui_AnteprimaBookZudid.h"

#include "ProcessFormats.h"
#include "WindowFrame.h"

TfrmAnteprimaBookZudid::TfrmAnteprimaBookZudid(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmAnteprimaBookZudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Anteprima di stampa"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, QColor(66, 122, 168), WindowFrame::kWhite);
}

TfrmAnteprimaBookZudid::~TfrmAnteprimaBookZudid() = default;
