#include "BookZudid.h"
#include "ui_BookZudid.h"

#include "Avvio.h"
#include "ProcessFormats.h"
#include "TextRules.h"
#include "WindowFrame.h"
#include "Windows.h"

#include <QCloseEvent>

TfrmBookZudid::TfrmBookZudid(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfrmBookZudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera - Gestione book fotografico"));
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
}

TfrmBookZudid::~TfrmBookZudid() = default;

void TfrmBookZudid::openBook(const QString& bookName, const QString& archivePath) {
    m_bookName = TextRules::trim(bookName);
    m_archivePath = TextRules::trim(archivePath);
    ui->lblNome->setText(m_bookName);
}

void TfrmBookZudid::closeEvent(QCloseEvent* event) {
    Windows::frmAvvio->show();
    event->accept();
}
