#include "StampaBookZudid.h"
#include "ui_StampaBookZudid.h"

#include "ProcessFormats.h"
#include "WindowFrame.h"

TfrmStampaBookZudid::TfrmStampaBookZudid(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmStampaBookZudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Stampa scheda"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, QColor(66, 122, 168), WindowFrame::kWhite);
}

TfrmStampaBookZudid::~TfrmStampaBookZudid() = default;
