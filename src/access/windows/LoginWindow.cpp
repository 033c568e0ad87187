#include "access/windows/LoginWindow.h"
#include "ui_LoginWindow.h"

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

LoginWindow::LoginWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::LoginWindow>()) {
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

    connect(ui->txtPassword, &QLineEdit::textChanged, this, &LoginWindow::txtPasswordChange);
    connect(ui->cmdOK, &QPushButton::clicked, this, &LoginWindow::cmdOKClick);
    connect(ui->cmdEsci, &QPushButton::clicked, this, &LoginWindow::cmdEsciClick);
    connect(ui->btnCambiaPassword, &QPushButton::clicked, this, &LoginWindow::btnCambiaPasswordClick);
}

LoginWindow::~LoginWindow() = default;

QString LoginWindow::wrongPasswordMessage() {
    return u"Attenzione: password errata."_s;
}

QString LoginWindow::readErrorMessage() {
    return u"Attenzione: si è verificato un errore durante la procedura di lettura della password. "
           u"Si consiglia di reinstallare il software."_s;
}

void LoginWindow::showWithEmptyField() {
    ui->txtPassword->clear();
    show();
    raise();
    activateWindow();
    ui->txtPassword->setFocus(Qt::OtherFocusReason);
}

// The line over the foot of the logo names the initial password, and only while the store holds it:
// once the user has chosen another (here or in another copy of the program), it would mislead.
void LoginWindow::showEvent(QShowEvent* event) {
    ui->imgPrimoAccesso->setVisible(PasswordStore(ProgramFolder::passwordStore()).holdsInitialPassword());
    QDialog::showEvent(event);
    ui->txtPassword->setFocus(Qt::OtherFocusReason);
}

// Leaving the login window, by its button or by the system's close command, ends the program.
void LoginWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

bool LoginWindow::hasPassword() const {
    return !TextRules::trim(ui->txtPassword->text()).isEmpty();
}

// Every change of the text, typed, pasted or cleared, goes through here, so OK is never out of step.
void LoginWindow::txtPasswordChange() {
    ui->cmdOK->setEnabled(hasPassword());
}

void LoginWindow::cmdOKClick() {
    try {
        // The store is read anew at every attempt: it may have been changed or restored meanwhile.
        const QString stored = PasswordStore(ProgramFolder::passwordStore()).readPassword();
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

void LoginWindow::cmdEsciClick() {
    close();
}

// The next window is shown first, so one of the program's windows is always visible.
void LoginWindow::btnCambiaPasswordClick() {
    Q_EMIT changePasswordRequested();
    hide();
}
