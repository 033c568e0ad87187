#include "archive/windows/OpenBookWindow.h"
#include "ui_OpenBookWindow.h"

#include "archive/core/BookShelf.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"
#include "base/TextRules.h"
#include "ui/DialogKeys.h"
#include "ui/GuideWindow.h"
#include "ui/Messages.h"
#include "ui/WindowFrame.h"

#include <QCloseEvent>
#include <QDir>

OpenBookWindow::OpenBookWindow(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::OpenBookWindow>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera - Apertura book fotografico"));
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);

    connect(ui->btnApri, &Picture::clicked, this, &OpenBookWindow::btnApriClick);
    connect(ui->btnElimina, &Picture::clicked, this, &OpenBookWindow::btnEliminaClick);
    connect(ui->btnAnnulla, &Picture::clicked, this, &QWidget::close);
    connect(ui->imgGuida, &Picture::clicked, this, &OpenBookWindow::imgGuidaClick);
    // A book is opened by Return in the list and by a double-click on it, as by "Apri archivio", and
    // deleted by Delete in the list, as by the waste bin; Escape leaves as "Annulla" does, F1 shows the
    // help.
    connect(ui->lstFiles, &QListWidget::itemDoubleClicked, this, &OpenBookWindow::btnApriClick);
    DialogKeys::install(this, {ui->btnApri}, {ui->btnAnnulla});
    DialogKeys::bindKey(ui->lstFiles, Qt::Key_Delete, ui->btnElimina);
    DialogKeys::bindKey(this, Qt::Key_F1, ui->imgGuida);
}

OpenBookWindow::~OpenBookWindow() = default;

QString OpenBookWindow::emptyListMessage() {
    return QStringLiteral("Attenzione: l'elenco non contiene nessun book fotografico.");
}

QString OpenBookWindow::selectToOpenMessage() {
    return QStringLiteral(
        "Attenzione: selezionare dall'elenco il book fotografico prima di premere il pulsante "
        "Apri archivio.");
}

QString OpenBookWindow::selectToDeleteMessage() {
    return QStringLiteral(
        "Attenzione: selezionare dall'elenco il book fotografico da eliminare prima di premere "
        "il pulsante del cestino.");
}

// The usual question first, then the book it is about, so that the user knows which one goes.
QString OpenBookWindow::deleteQuestion(const QString& bookName, std::optional<int> cards) {
    const QString question = QStringLiteral(
        "Si sta per eliminare il book fotografico selezionato. Si ricorda che il file eliminato "
        "non potrà essere recuperato.\r\n\r\nSi conferma l'eliminazione dell'archivio?");
    QString book = QStringLiteral("Book fotografico: \"%1\"").arg(bookName);
    if (cards == 0)
        book += QStringLiteral(" (nessuna scheda)");
    else if (cards == 1)
        book += QStringLiteral(" (1 scheda)");
    else if (cards)
        book += QStringLiteral(" (%1 schede)").arg(*cards);
    return question + QStringLiteral("\r\n\r\n") + book + u'.';
}

QString OpenBookWindow::deletedMessage() {
    return QStringLiteral("Il book fotografico è stato eliminato con successo.");
}

// The system's reason, in Italian with its own words in brackets, follows the usual text.
QString OpenBookWindow::notDeletedMessage(const QString& why) {
    const QString text = QStringLiteral(
        "Attenzione: non è stato possibile eliminare il book fotografico selezionato."
        "\r\n\r\nIl file potrebbe essere in uso da parte di un altro programma oppure protetto "
        "da scrittura.");
    return why.isEmpty() ? text : text + QStringLiteral("\r\n\r\nMotivo: ") + why + u'.';
}

QString OpenBookWindow::countLine(int books) {
    return QStringLiteral("Sono stati creati %1 book fotografici.").arg(books);
}

// Listed anew when the launcher shows the window, not when it is restored after being minimised.
void OpenBookWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    m_closeReason = CloseReason::BackToLauncher;
    listBooks();
}

// The count line always tells the books listed now, none included, so it never shows a stale number.
void OpenBookWindow::listBooks() {
    ui->lstFiles->clear();
    const QStringList books = BookShelf::list(ProgramFolder::path());
    ui->lstFiles->addItems(books);
    // No book is chosen until the user picks one: without this the list makes its first row current
    // as soon as it takes the focus, and draws it as if it were chosen.
    ui->lstFiles->setCurrentIndex(QModelIndex());
    ui->lblCreati->setText(countLine(int(books.size())));
}

QString OpenBookWindow::selectedEntry(const QString& noSelectionMessage) {
    if (ui->lstFiles->count() == 0) {
        MessageBox(emptyListMessage(), MsgKind::Warning, MsgButtons::OkCancel);
        return {};
    }
    const QList<QListWidgetItem*> selected = ui->lstFiles->selectedItems();
    if (selected.isEmpty()) {
        MessageBox(noSelectionMessage, MsgKind::Warning, MsgButtons::OkCancel);
        return {};
    }
    return selected.first()->text();
}

void OpenBookWindow::btnApriClick() {
    const QString entry = selectedEntry(selectToOpenMessage());
    if (entry.isEmpty())
        return;
    m_path = TextRules::trim(ProgramFolder::file(entry));
    // The book's name enters the program here: trimmed once, used as it is from here on.
    m_bookName = TextRules::trim(BookShelf::bookNameOf(entry));
    m_closeReason = CloseReason::OpenEditor;
    close();
}

void OpenBookWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_closeReason == CloseReason::OpenEditor)
        Q_EMIT bookChosen(m_bookName, m_path);
    else
        Q_EMIT closed();
}

void OpenBookWindow::btnEliminaClick() {
    const QString entry = selectedEntry(selectToDeleteMessage());
    if (entry.isEmpty())
        return;
    const QString path = TextRules::trim(ProgramFolder::file(entry));
    // Return answers No: a book is deleted only by a deliberate Yes.
    if (!consents(MessageBox(deleteQuestion(BookShelf::bookNameOf(entry), BookShelf::cardCount(path)),
                             MsgKind::Confirmation, MsgButtons::YesNo, MsgDefault::No)))
        return;
    m_path = path;
    QString why;
    if (BookShelf::remove(m_path, &why))
        MessageBox(deletedMessage(), MsgKind::Information, MsgButtons::OkCancel);
    else
        MessageBox(notDeletedMessage(why), MsgKind::Warning, MsgButtons::OkCancel);
    m_closeReason = CloseReason::BackToLauncher;
    m_path.clear();
    listBooks();
}

void OpenBookWindow::imgGuidaClick() {
    showHelp(this, HelpTopics::editor());
}
