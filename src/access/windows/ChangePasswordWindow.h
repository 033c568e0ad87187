// The change-password window, opened from the login window before any login: whoever knows the
// current password can replace it. The new password is typed twice and stored in normal form; every
// close, by any path, brings back the login window.
#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;

namespace Ui {
class ChangePasswordWindow;
}

class ChangePasswordWindow final : public QDialog {
    Q_OBJECT

public:
    explicit ChangePasswordWindow(QWidget* parent = nullptr);
    ~ChangePasswordWindow() override;

    // The messages of the change action.
    static QString wrongOldPasswordMessage();
    static QString notConfirmedMessage();
    static QString tooLongMessage();
    static QString wideCharacterMessage();
    static QString changeErrorMessage();
    static QString changedMessage();

Q_SIGNALS:
    // The window was closed: the login window comes back.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fieldChange();
    void cmdOKClick();
    void emptyAndFocus(std::initializer_list<QLineEdit*> fields);

    std::unique_ptr<Ui::ChangePasswordWindow> ui;
};
