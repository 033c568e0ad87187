#include "app/Avvio.h"
#include "ui_Avvio.h"

#include "app/Info.h"
#include "app/Splash.h"
#include "archive/windows/ApriZudid.h"
#include "archive/windows/CreaZudid.h"
#include "base/HelpTopics.h"
#include "base/Maker.h"
#include "base/ProcessFormats.h"
#include "ui/CommandKeys.h"
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

    // Every command from the keyboard too: its key, and Tab in the order the window reads.
    const struct {
        Picture* button;
        QString hint;
        QKeySequence key;
    } commands[] = {
        {ui->btnCrea, QStringLiteral("Crea un nuovo book fotografico."), Qt::CTRL | Qt::Key_N},
        {ui->btnApri, QStringLiteral("Apri o elimina un book fotografico."), Qt::CTRL | Qt::Key_O},
        {ui->imgInfo, QStringLiteral("Informazioni sul programma."), Qt::CTRL | Qt::Key_I},
        {ui->imgGuida, QStringLiteral("Guida del programma."), Qt::Key_F1},
        {ui->imgCopyright, QStringLiteral("Copyright del programma."), Qt::CTRL | Qt::SHIFT | Qt::Key_C},
        {ui->imgSito, QStringLiteral("Sito web del programma."), Qt::CTRL | Qt::SHIFT | Qt::Key_W},
        {ui->imgEsci, QStringLiteral("Esci dal programma."), Qt::CTRL | Qt::Key_Q},
    };
    for (std::size_t c = 0; c < std::size(commands); ++c) {
        CommandKeys::bind(this, commands[c].button, commands[c].key, commands[c].hint);
        if (c > 0)
            QWidget::setTabOrder(commands[c - 1].button, commands[c].button);
    }
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
