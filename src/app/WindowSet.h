// The seventeen windows that start-up makes, in their fixed order, and the way from one to the next.
// Six of them live for the whole run and are shown and hidden, never destroyed before the program
// ends: login, launcher, change-password, create-book, open-book and the record editor. The other
// eleven are made anew at every opening by the window that opens them; the instances made here are
// never shown.
#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class LoginWindow;
class LauncherWindow;
class ChangePasswordWindow;
class CreateBookWindow;
class OpenBookWindow;
class EditorWindow;

class WindowSet {
public:
    // Makes the seventeen windows in order, the first, the login window, being the main window, and
    // wires which window follows which.
    WindowSet();
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    // Shows the first window of the run.
    void start();

    // The windows in the order they were made.
    const std::vector<QWidget*>& windows() const { return m_order; }

    // The six windows of the whole run.
    LoginWindow* login() const { return m_login; }
    LauncherWindow* launcher() const { return m_launcher; }
    ChangePasswordWindow* changePassword() const { return m_changePassword; }
    CreateBookWindow* createBook() const { return m_createBook; }
    OpenBookWindow* openBook() const { return m_openBook; }
    EditorWindow* editor() const { return m_editor; }

private:
    void wire();

    std::vector<std::unique_ptr<QWidget>> m_owned;
    std::vector<QWidget*> m_order;
    LoginWindow* m_login = nullptr;
    LauncherWindow* m_launcher = nullptr;
    ChangePasswordWindow* m_changePassword = nullptr;
    CreateBookWindow* m_createBook = nullptr;
    OpenBookWindow* m_openBook = nullptr;
    EditorWindow* m_editor = nullptr;
};
