#include "Slideshow_Zudid.h"
#include "ui_Slideshow_Zudid.h"

#include "ProcessFormats.h"
#include "WindowFrame.h"

TfrmSlideshow_Zudid::TfrmSlideshow_Zudid(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmSlideshow_Zudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Slide Show Book Fotografico"));
    setWindowFlags(Qt::Window);
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
}

TfrmSlideshow_Zudid::~TfrmSlideshow_Zudid() = default;
