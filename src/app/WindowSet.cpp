#include "app/WindowSet.h"

#include "access/windows/ChangePasswordWindow.h"
#include "access/windows/LoginWindow.h"
#include "app/CopyrightWindow.h"
#include "app/InfoWindow.h"
#include "app/LauncherWindow.h"
#include "archive/core/BookArchive.h"
#include "archive/windows/CreateBookWindow.h"
#include "archive/windows/OpenBookWindow.h"
#include "base/ProcessFormats.h"
#include "editor/windows/AttachmentsWindow.h"
#include "editor/windows/CalendarWindow.h"
#include "editor/windows/EditorWindow.h"
#include "editor/windows/ZoomWindow.h"
#include "output/windows/CardPreviewWindow.h"
#include "output/windows/CardPrintWindow.h"
#include "output/windows/ExportWindow.h"
#include "output/windows/SlideShowWindow.h"
#include "search/windows/SearchWindow.h"
#include "ui/GuideWindow.h"
#include "ui/Messages.h"

WindowSet::WindowSet() {
    // The date settings hold from start-up on, before any window shows a date.
    ProcessFormats::startUp();
    // What an opening of a book does by itself (a journal of another copy of the archive set aside)
    // is told in a message box, once.
    BookArchive::setNoticeHandler(
        [](const QString& text) { MessageBox(text, MsgKind::Warning, MsgButtons::Ok); });
    login();
}

WindowSet::~WindowSet() {
    BookArchive::setNoticeHandler({});
    // Destroyed from the last place to the first, as they would be had all been made at start-up.
    for (auto window = m_made.rbegin(); window != m_made.rend(); ++window)
        window->reset();
}

template <class W> W* WindowSet::made(Place place) {
    std::unique_ptr<QWidget>& held = m_made[place];
    if (!held) {
        auto window = std::make_unique<W>();
        W* made = window.get();
        held = std::move(window);
        wire(made);
    }
    return static_cast<W*>(held.get());
}

LoginWindow* WindowSet::login() {
    return made<LoginWindow>(Login);
}
LauncherWindow* WindowSet::launcher() {
    return made<LauncherWindow>(Launcher);
}
ChangePasswordWindow* WindowSet::changePassword() {
    return made<ChangePasswordWindow>(ChangePassword);
}
CreateBookWindow* WindowSet::createBook() {
    return made<CreateBookWindow>(CreateBook);
}
OpenBookWindow* WindowSet::openBook() {
    return made<OpenBookWindow>(OpenBook);
}
EditorWindow* WindowSet::editor() {
    return made<EditorWindow>(Editor);
}

const std::vector<QWidget*>& WindowSet::windows() {
    login();
    launcher();
    changePassword();
    made<GuideWindow>(Guide);
    made<InfoWindow>(Info);
    made<CopyrightWindow>(Copyright);
    createBook();
    openBook();
    editor();
    made<ZoomWindow>(Zoom);
    made<AttachmentsWindow>(Attachments);
    made<CalendarWindow>(Calendar);
    made<SearchWindow>(Search);
    made<ExportWindow>(Export);
    made<CardPreviewWindow>(CardPreview);
    made<CardPrintWindow>(CardPrint);
    made<SlideShowWindow>(SlideShow);
    m_order.clear();
    for (const std::unique_ptr<QWidget>& window : m_made)
        m_order.push_back(window.get());
    return m_order;
}

// Which window follows which. Each window that leads elsewhere shows the next window before it
// hides, so one of the program's windows is always visible; the next window is made there and then
// when the way leads to it for the first time.
void WindowSet::wire(LoginWindow* login) {
    QObject::connect(login, &LoginWindow::loggedIn, login, [this] { launcher()->show(); });
    QObject::connect(login, &LoginWindow::changePasswordRequested, login,
                     [this] { changePassword()->show(); });
}

void WindowSet::wire(ChangePasswordWindow* changePassword) {
    QObject::connect(changePassword, &ChangePasswordWindow::closed, changePassword,
                     [this] { login()->showWithEmptyField(); });
}

void WindowSet::wire(LauncherWindow* launcher) {
    QObject::connect(launcher, &LauncherWindow::createRequested, launcher, [this] { createBook()->show(); });
    QObject::connect(launcher, &LauncherWindow::openRequested, launcher, [this] { openBook()->show(); });
}

void WindowSet::wire(CreateBookWindow* createBook) {
    QObject::connect(createBook, &CreateBookWindow::closed, createBook, [this] { launcher()->show(); });
}

void WindowSet::wire(OpenBookWindow* openBook) {
    QObject::connect(openBook, &OpenBookWindow::closed, openBook, [this] { launcher()->show(); });
    QObject::connect(openBook, &OpenBookWindow::bookChosen, openBook,
                     [this](const QString& bookName, const QString& archivePath) {
                         editor()->openBook(bookName, archivePath);
                         editor()->show();
                     });
}

void WindowSet::wire(EditorWindow* editor) {
    QObject::connect(editor, &EditorWindow::closed, editor, [this] { launcher()->show(); });
}

// The run opens on the login window, the main window; the launcher follows a correct password.
void WindowSet::start() {
    login()->show();
}
