#include "app/Avvio.h"
#include "ui_Avvio.h"

#include "app/Info.h"
#include "app/Splash.h"
#include "archive/windows/ApriZudid.h"
#include "archive/windows/CreaZudid.h"
#include "base/HelpTopics.h"
#include "base/Maker.h"
#include "base/ProcessFormats.h"
#include "ui/Guida.h"
#include "ui/OpenURL.h"
#include "ui/WindowFrame.h"

#include <QCloseEvent>
#include <QCoreApplication>

TfrmAvvio::TfrmAvvio(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfrmAvvio>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera"));
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, QColor(0x67, 0x92, 0xB7), WindowFrame::kWhite);

    connect(ui->imgCrea, &Picture::clicked, this, &TfrmAvvio::btnCreaClick);
    connect(ui->btnCrea, &Picture::clicked, this, &TfrmAvvio::btnCreaClick);
    connect(ui->imgApri, &Picture::clicked, this, &TfrmAvvio::btnApriClick);
    connect(ui->btnApri, &Picture::clicked, this, &TfrmAvvio::btnApriClick);
    connect(ui->imgInfo, &Picture::clicked, this, &TfrmAvvio::imgInfoClick);
    connect(ui->imgCopyright, &Picture::clicked, this, &TfrmAvvio::imgCopyrightClick);
    connect(ui->imgGuida, &Picture::clicked, this, &TfrmAvvio::imgGuidaClick);
    connect(ui->imgSito, &Picture::clicked, this, &TfrmAvvio::imgSitoClick);
    connect(ui->imgEsci, &Picture::clicked, this, &TfrmAvvio::imgEsciClick);
}

TfrmAvvio::~TfrmAvvio() = default;

// The target is shown before the launcher is hidden, so one of the program's windows is always visible.
void TfrmAvvio::btnCreaClick() {
    Q_EMIT createRequested();
    hide();
}

void TfrmAvvio::btnApriClick() {
    Q_EMIT openRequested();
    hide();
}

void TfrmAvvio::imgInfoClick() {
    openModal<TfrmInfo>(this);
}

void TfrmAvvio::imgCopyrightClick() {
    openModal<TfrmSplash>(this);
}

void TfrmAvvio::imgGuidaClick() {
    showHelp(this, HelpTopics::avvio());
}

void TfrmAvvio::imgSitoClick() {
    TMisc::Open(QString::fromUtf16(Maker::kWebSite));
}

void TfrmAvvio::imgEsciClick() {
    QCoreApplication::quit();
}

void TfrmAvvio::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}
