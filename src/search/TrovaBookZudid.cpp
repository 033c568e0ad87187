#include "TrovaBookZudid.h"
#include "ui_TrovaBookZudid.h"

#include "ProcessFormats.h"
#include "WindowFrame.h"

TfrmTrovaBookZudid::TfrmTrovaBookZudid(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmTrovaBookZudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Trova foto in book fotografico"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, QColor(Qt::black), WindowFrame::kWhite);
}

TfrmTrovaBookZudid::~TfrmTrovaBookZudid() = default;
