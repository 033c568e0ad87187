#include "access/windows/ChangePasswordWindow.h"
#include "ui_ChangePasswordWindow.h"

#include "access/core/PasswordStore.h"
#include "access/windows/LoginWindow.h"
#include "base/ProgramFolder.h"
#include "base/TextRules.h"
#include "ui/DialogKeys.h"
#include "ui/FocusStyles.h"
#include "ui/Messages.h"
#include "ui/ReturnChain.h"
#include "ui/WindowFrame.h"

#include <QCloseEvent>
#include <QShowEvent>

#include <exception>

using namespace Qt::StringLiterals;

ChangePasswordWindow::ChangePasswordWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::ChangePasswordWindow>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Cambia password"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
    FocusStyles::applyStyleB(ui->txtPasswordOld, u"effPasswordOld"_s);
    FocusStyles::applyStyleB(ui->txtPasswordNew, u"effPasswordNew"_s);
    FocusStyles::applyStyleB(ui->txtConferma, u"effConferma"_s);
    // Return only moves round the three fields; the change runs from OK alone, which Return presses
    // once the focus is on it. Escape leaves as "Chiudi" does.
    ReturnChain::install({{ui->txtPasswordOld, ui->txtPasswordNew},
                          {ui->txtPasswordNew, ui->txtConferma},
                          {ui->txtConferma, ui->txtPasswordOld}});
    DialogKeys::install(this, {ui->cmdOK}, {ui->cmdEsci});

    for (QLineEdit* field : {ui->txtPasswordOld, ui->txtPasswordNew, ui->txtConferma})
        connect(field, &QLineEdit::textChanged, this, &ChangePasswordWindow::fieldChange);
    connect(ui->cmdOK, &QPushButton::clicked, this, &ChangePasswordWindow::cmdOKClick);
    connect(ui->cmdEsci, &QPushButton::clicked, this, &QWidget::close);
}

ChangePasswordWindow::~ChangePasswordWindow() = default;

QString ChangePasswordWindow::wrongOldPasswordMessage() {
    return u"Attenzione: vecchia password errata."_s;
}

QString ChangePasswordWindow::notConfirmedMessage() {
    return u"Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
           u"reinserire entrambi i valori."_s;
}

QString ChangePasswordWindow::tooLongMessage() {
    return u"Attenzione: la nuova password è troppo lunga. Una password può contenere al massimo "
           u"%1 caratteri."_s.arg(PasswordStore::kMaxLength);
}

QString ChangePasswordWindow::wideCharacterMessage() {
    return u"Attenzione: la nuova password contiene caratteri che non possono essere memorizzati, come "
           u"il simbolo dell'euro, le virgolette tipografiche o le lettere di alfabeti non latini. Sono "
           u"ammesse le lettere, anche accentate, le cifre, gli spazi e i segni di punteggiatura più "
           u"comuni."_s;
}

QString ChangePasswordWindow::changeErrorMessage() {
    return u"Attenzione: si è verificato un errore durante la procedura di modifica della password. "
           u"Si consiglia di reinstallare il software."_s;
}

QString ChangePasswordWindow::changedMessage() {
    return u"Modifica della password completata con successo."_s;
}

// Nothing typed survives a close: every showing starts from empty fields. A show the system makes on
// its own (a desktop switch, say) keeps what is being typed.
void ChangePasswordWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        ui->txtPasswordOld->clear();
        ui->txtPasswordNew->clear();
        ui->txtConferma->clear();
    }
    ui->txtPasswordOld->setFocus(Qt::OtherFocusReason);
}

void ChangePasswordWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Q_EMIT closed();
}

void ChangePasswordWindow::fieldChange() {
    const auto filled = [](const QLineEdit* field) { return !TextRules::trim(field->text()).isEmpty(); };
    ui->cmdOK->setEnabled(filled(ui->txtPasswordOld) && filled(ui->txtPasswordNew) &&
                          filled(ui->txtConferma));
}

void ChangePasswordWindow::emptyAndFocus(std::initializer_list<QLineEdit*> fields) {
    for (QLineEdit* field : fields)
        field->clear();
    (*fields.begin())->setFocus(Qt::OtherFocusReason);
}

void ChangePasswordWindow::cmdOKClick() {
    try {
        const PasswordStore store(ProgramFolder::passwordStore());
        if (!PasswordStore::isCorrect(ui->txtPasswordOld->text(), store.readPassword())) {
            ShowMessage(wrongOldPasswordMessage());
            emptyAndFocus({ui->txtPasswordOld});
            return;
        }
        // Typed twice alike, case included: the upper-casing of the normal form does not hide a typo.
        const QString password = TextRules::trim(ui->txtPasswordNew->text());
        if (password != TextRules::trim(ui->txtConferma->text())) {
            ShowMessage(notConfirmedMessage());
            emptyAndFocus({ui->txtPasswordNew, ui->txtConferma});
            return;
        }
        // A password the store cannot give back would lock the user out for good.
        const QString normal = PasswordStore::normalForm(password);
        switch (PasswordStore::storable(normal)) {
        case PasswordStore::Storable::Yes:
            break;
        case PasswordStore::Storable::TooLong:
            ShowMessage(tooLongMessage());
            emptyAndFocus({ui->txtPasswordNew, ui->txtConferma});
            return;
        case PasswordStore::Storable::WideCharacter:
            ShowMessage(wideCharacterMessage());
            emptyAndFocus({ui->txtPasswordNew, ui->txtConferma});
            return;
        }
        store.writePassword(normal);
    } catch (const std::exception&) {
        // The store keeps its earlier password, and the fields what was typed.
        ShowMessage(changeErrorMessage());
        return;
    }
    ShowMessage(changedMessage());
    close();
}
