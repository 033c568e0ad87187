// The program's seventeen windows, in their fixed order, and the way from one to the next. Six of them
// live for the whole run and are shown and hidden, never destroyed before the program ends: login,
// launcher, change-password, create-book, open-book and the record editor. Only the login window is
// made at start-up; each of the others is made the first time the way leads to it, and keeps living
// from then on. The other eleven are made anew at every opening by the window that opens them; the
// instances kept here are made only when the whole set is asked for, and are never shown.
#pragma once

#include <QWidget>

#include <array>
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
    // Puts the run's settings in force and makes the first window, the login window, which is the
    // main window.
    WindowSet();
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    // Shows the first window of the run.
    void start();

    // The seventeen windows in their fixed order; those not made yet are made now.
    const std::vector<QWidget*>& windows();

    // The six windows of the whole run, each made (and wired to the windows it leads to) on its
    // first request.
    LoginWindow* login();
    LauncherWindow* launcher();
    ChangePasswordWindow* changePassword();
    CreateBookWindow* createBook();
    OpenBookWindow* openBook();
    EditorWindow* editor();

private:
    // The windows' places in the fixed order.
    enum Place {
        Login,
        Launcher,
        ChangePassword,
        Guide,
        Info,
        Copyright,
        CreateBook,
        OpenBook,
        Editor,
        Zoom,
        Attachments,
        Calendar,
        Search,
        Export,
        CardPreview,
        CardPrint,
        SlideShow,
        Places
    };

    // The window at that place, made now if it was not made yet.
    template <class W> W* made(Place place);

    // Where a window just made leads: its signals show the windows that follow it, each made when the
    // way first leads there. A window that leads nowhere has nothing to wire.
    void wire(LoginWindow* login);
    void wire(LauncherWindow* launcher);
    void wire(ChangePasswordWindow* changePassword);
    void wire(CreateBookWindow* createBook);
    void wire(OpenBookWindow* openBook);
    void wire(EditorWindow* editor);
    void wire(QWidget*) {}

    std::array<std::unique_ptr<QWidget>, Places> m_made;
    std::vector<QWidget*> m_order;
};
