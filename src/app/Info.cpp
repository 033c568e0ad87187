#include "Info.h"
#include "ui_Info.h"

#include "WindowFrame.h"

TfrmInfo::TfrmInfo(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmInfo>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Informazioni su Lumivera"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, QColor(Qt::black), WindowFrame::kWhite);
}

TfrmInfo::~TfrmInfo() = default;
