#include "app/CopyrightWindow.h"
#include "ui_CopyrightWindow.h"

#include "base/Maker.h"
#include "ui/DialogKeys.h"
#include "ui/LinkText.h"
#include "ui/OpenURL.h"
#include "ui/WindowFrame.h"

CopyrightWindow::CopyrightWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::CopyrightWindow>()) {
    ui->setupUi(this);
    setWindowTitle(u' ' + QStringView(Maker::kProductName) + u" - " + QStringView(Maker::kCopyrightNotice));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, WindowFrame::kWhite, QColor(0x35, 0x25, 0x25));
    ui->lnkWeb->setText(QString::fromUtf16(Maker::kWebAddress));
    LinkText::attach(ui->lnkWeb, ui->imgWeb, [this] { lnkWebClick(); });
    // Only the address itself answers the mouse, not the empty room beside it.
    ui->lnkWeb->adjustSize();
    connect(ui->btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    DialogKeys::install(this, {ui->btnChiudi}, {ui->btnChiudi});
}

CopyrightWindow::~CopyrightWindow() = default;

// The same site the launcher's banner opens.
void CopyrightWindow::lnkWebClick() {
    TMisc::Open(QString::fromUtf16(Maker::kWebSite));
}
