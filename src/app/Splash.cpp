#include "Splash.h"
#include "ui_Splash.h"

#include "Maker.h"
#include "WindowFrame.h"

TfrmSplash::TfrmSplash(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmSplash>()) {
    ui->setupUi(this);
    setWindowTitle(u' ' + QStringView(Maker::kProductName) + u" - " + QStringView(Maker::kCopyrightNotice));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, WindowFrame::kWhite, QColor(0x35, 0x25, 0x25));
}

TfrmSplash::~TfrmSplash() = default;
