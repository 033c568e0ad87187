#include "access/windows/Password.h"
#include "ui_Password.h"

#include "access/core/PasswordStore.h"
#include "base/ProgramFolder.h"
#include "base/TextRules.h"
#include "ui/DialogKeys.h"
#include "ui/FocusStyles.h"
#include "ui/Messages.h"
#include "ui/ReturnChain.h"
#include "ui/WindowFrame.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include <exception>

using namespace Qt::StringLiterals;

TfrmPassword::TfrmPassword(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmPassword>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera - Accesso"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
    FocusStyles::applyStyleB(ui->txtPassword, u"effPassword"_s);
    // Return is the only key that logs in, and only once something has been typed.
    ReturnChain::install({{ui->txtPassword, [this] {
                               if (hasPassword())
                                   cmdOKClick();
                           }}});
    // On a button, Return presses it; Escape ends the program as "Esci" does.
    DialogKeys::install(this, {ui->cmdOK}, {ui->cmdEsci});

    connect(ui->txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
    connect(ui->cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(ui->cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(ui->btnCambiaPassword, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);
}

TfrmPassword::~TfrmPassword() = default;

QString TfrmPassword::wrongPasswordMessage() {
    return u"Attenzione: password errata."_s;
}

QString TfrmPassword::readErrorMessage() {
    return u"Attenzione: si è verificato un errore durante la procedura di lettura della password. "
           u"Si consiglia di reinstallare il software."_s;
}

void TfrmPassword::showWithEmptyField() {
    ui->txtPassword->clear();
    show();
    raise();
    activateWindow();
    ui->txtPassword->setFocus(Qt::OtherFocusReason);
}

// The line over the foot of the logo names the initial password, and only while the store holds it:
// once the user has chosen another (here or in another copy of the program), it would mislead.
void TfrmPassword::showEvent(QShowEvent* event) {
    ui->imgPrimoAccesso->setVisible(PasswordStore(ProgramFolder::passwordStore()).holdsInitialPassword());
    QDialog::showEvent(event);
    ui->txtPassword->setFocus(Qt::OtherFocusReason);
}

// Leaving the login window, by its button or by the system's close command, ends the program.
void TfrmPassword::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

bool TfrmPassword::hasPassword() const {
    return !TextRules::trim(ui->txtPassword->text()).isEmpty();
}

// Every change of the text, typed, pasted or cleared, goes through here, so OK is never out of step.
void TfrmPassword::txtPasswordChange() {
    ui->cmdOK->setEnabled(hasPassword());
}

void TfrmPassword::cmdOKClick() {
    try {
        // The store is read anew at every attempt: it may have been changed or restored meanwhile.
        const QString stored = PasswordStore(ProgramFolder::passwordStore()).ReadPassword();
        if (PasswordStore::isCorrect(ui->txtPassword->text(), stored)) {
            Q_EMIT loggedIn();
            hide();
            return;
        }
    } catch (const std::exception&) {
        ShowMessage(readErrorMessage());
        return;
    }
    ShowMessage(wrongPasswordMessage());
    ui->txtPassword->clear();
    ui->txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::cmdEsciClick() {
    close();
}

// The next window is shown first, so one of the program's windows is always visible.
void TfrmPassword::btnCambiaPasswordClick() {
    Q_EMIT changePasswordRequested();
    hide();
}
