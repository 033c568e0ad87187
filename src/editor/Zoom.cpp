#include "Zoom.h"
#include "ui_Zoom.h"

#include "ProcessFormats.h"
#include "WindowFrame.h"

TfrmZoom::TfrmZoom(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmZoom>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    setWindowFlags(Qt::Window);
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
}

TfrmZoom::~TfrmZoom() = default;
