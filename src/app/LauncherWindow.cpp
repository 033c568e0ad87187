#include "app/LauncherWindow.h"
#include "ui_LauncherWindow.h"

#include "app/InfoWindow.h"
#include "app/CopyrightWindow.h"
#include "archive/windows/OpenBookWindow.h"
#include "archive/windows/CreateBookWindow.h"
#include "base/HelpTopics.h"
#include "base/Maker.h"
#include "base/ProcessFormats.h"
#include "ui/CommandKeys.h"
#include "ui/GuideWindow.h"
#include "ui/OpenURL.h"
#include "ui/WindowFrame.h"

#include <QCloseEvent>
#include <QCoreApplication>

LauncherWindow::LauncherWindow(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::LauncherWindow>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera"));
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, QColor(0x67, 0x92, 0xB7), WindowFrame::kWhite);

    connect(ui->imgCrea, &Picture::clicked, this, &LauncherWindow::btnCreaClick);
    connect(ui->btnCrea, &Picture::clicked, this, &LauncherWindow::btnCreaClick);
    connect(ui->imgApri, &Picture::clicked, this, &LauncherWindow::btnApriClick);
    connect(ui->btnApri, &Picture::clicked, this, &LauncherWindow::btnApriClick);
    connect(ui->imgInfo, &Picture::clicked, this, &LauncherWindow::imgInfoClick);
    connect(ui->imgCopyright, &Picture::clicked, this, &LauncherWindow::imgCopyrightClick);
    connect(ui->imgGuida, &Picture::clicked, this, &LauncherWindow::imgGuidaClick);
    connect(ui->imgSito, &Picture::clicked, this, &LauncherWindow::imgSitoClick);
    connect(ui->imgEsci, &Picture::clicked, this, &LauncherWindow::imgEsciClick);

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

LauncherWindow::~LauncherWindow() = default;

// The target is shown before the launcher is hidden, so one of the program's windows is always visible.
void LauncherWindow::btnCreaClick() {
    Q_EMIT createRequested();
    hide();
}

void LauncherWindow::btnApriClick() {
    Q_EMIT openRequested();
    hide();
}

void LauncherWindow::imgInfoClick() {
    openModal<InfoWindow>(this);
}

void LauncherWindow::imgCopyrightClick() {
    openModal<CopyrightWindow>(this);
}

void LauncherWindow::imgGuidaClick() {
    showHelp(this, HelpTopics::launcher());
}

void LauncherWindow::imgSitoClick() {
    TMisc::Open(QString::fromUtf16(Maker::kWebSite));
}

void LauncherWindow::imgEsciClick() {
    QCoreApplication::quit();
}

void LauncherWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}
