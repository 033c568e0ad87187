// The login window, the first window of the run and the application's main window: it asks for the
// access password, checks it against the password store and, when it is right, gives way to the
// launcher. From here the user can also change the password or end the program.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class LoginWindow;
}

class LoginWindow final : public QDialog {
    Q_OBJECT

public:
    explicit LoginWindow(QWidget* parent = nullptr);
    ~LoginWindow() override;

    // Brings the window back after the change-password window, with an empty field that has the focus.
    void showWithEmptyField();

    // The messages of the OK action.
    static QString wrongPasswordMessage();
    static QString readErrorMessage();

Q_SIGNALS:
    // The password typed is the stored one: the launcher follows.
    void loggedIn();
    // The user asked to change the password.
    void changePasswordRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool hasPassword() const;
    void txtPasswordChange();
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

    std::unique_ptr<Ui::LoginWindow> ui;
};
