#include "archive/windows/CreateBookWindow.h"
#include "ui_CreateBookWindow.h"

#include "archive/core/BookArchive.h"
#include "archive/core/BookShelf.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"
#include "base/TextRules.h"
#include "ui/DialogKeys.h"
#include "ui/FocusStyles.h"
#include "ui/GuideWindow.h"
#include "ui/Messages.h"
#include "ui/NameFieldFilter.h"
#include "ui/WindowFrame.h"

#include <QCloseEvent>

CreateBookWindow::CreateBookWindow(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::CreateBookWindow>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera - Creazione book fotografico"));
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);

    ui->txtFile->setMaxLength(250);
    FocusStyles::applyStyleA(ui->txtFile);
    NameFieldFilter::install(ui->txtFile);

    connect(ui->btnApplica, &Picture::clicked, this, &CreateBookWindow::btnApplicaClick);
    connect(ui->btnAnnulla, &Picture::clicked, this, &QWidget::close);
    connect(ui->imgGuida, &Picture::clicked, this, &CreateBookWindow::imgGuidaClick);
    // Return in the name field creates the book, Escape leaves as "Annulla" does, F1 shows the help.
    DialogKeys::install(this, {ui->btnApplica}, {ui->btnAnnulla});
    DialogKeys::bindKey(this, Qt::Key_F1, ui->imgGuida);
}

CreateBookWindow::~CreateBookWindow() = default;

QString CreateBookWindow::noNameMessage() {
    return QStringLiteral(
        "Attenzione: per creare il nuovo archivio è necessario indicare il nome del nuovo book "
        "fotografico.");
}

QString CreateBookWindow::nameTakenMessage() {
    return QStringLiteral("Attenzione: il nome del book fotografico indicato è già stato utilizzato in "
                          "precedenza.\r\n\r\nInserire un nome diverso oppure, se si desidera aprire un book "
                          "fotografico già creato, premere il pulsante Apri book fotografico esistente.");
}

QString CreateBookWindow::unsafeNameMessage() {
    return QStringLiteral("Attenzione: il nome del book fotografico non può contenere i caratteri / e \\ né "
                          "caratteri di controllo, e non può essere formato soltanto da punti (. o ..)."
                          "\r\n\r\nCorreggere il nome e premere di nuovo il pulsante Applica e chiudi.");
}

QString CreateBookWindow::unusableNameMessage(const QString& reason) {
    return QStringLiteral(
               "Attenzione: il nome indicato non può essere usato per un book fotografico.\r\n\r\n") +
           reason +
           QStringLiteral("\r\n\r\nCorreggere il nome e premere di nuovo il pulsante Applica e chiudi.");
}

QString CreateBookWindow::createdMessage() {
    return QStringLiteral("Il file di archivio relativo al nuovo book fotografico è stato creato con "
                          "successo.\r\n\r\nE' ora possibile visualizzarlo nell'elenco dei book fotografici "
                          "esistenti.");
}

// Emptied when the launcher shows the window, not when it is restored after being minimised.
void CreateBookWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    ui->txtFile->clear();
    ui->txtFile->setFocus();
}

void CreateBookWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Q_EMIT closed();
}

void CreateBookWindow::btnApplicaClick() {
    m_path.clear();
    const QString name = TextRules::trim(ui->txtFile->text());
    if (name.isEmpty()) {
        MessageBox(noNameMessage(), MsgKind::Warning, MsgButtons::OkCancel);
        ui->txtFile->setFocus();
        return;
    }
    // A pasted name could otherwise reach a file outside the program folder.
    if (BookShelf::isUnsafeName(name)) {
        MessageBox(unsafeNameMessage(), MsgKind::Warning, MsgButtons::OkCancel);
        ui->txtFile->setFocus();
        return;
    }
    // Every save of a book whose files the disk cannot name would fail, and the program folder is meant
    // to be copied to a USB key.
    const QString problem = BookShelf::nameProblem(name);
    if (!problem.isEmpty()) {
        MessageBox(unusableNameMessage(problem), MsgKind::Warning, MsgButtons::OkCancel);
        ui->txtFile->setFocus();
        return;
    }
    m_path = ProgramFolder::archiveOf(name);
    if (BookShelf::exists(m_path)) {
        MessageBox(nameTakenMessage(), MsgKind::Warning, MsgButtons::OkCancel);
        return;
    }
    try {
        BookShelf::createEmpty(m_path);
    } catch (const ArchiveError& error) {
        reportUnexpectedError(error.text());
        return;
    }
    MessageBox(createdMessage(), MsgKind::Information, MsgButtons::OkCancel);
    close();
}

void CreateBookWindow::imgGuidaClick() {
    showHelp(this, HelpTopics::createBook());
}
