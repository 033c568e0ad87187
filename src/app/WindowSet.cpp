#include "app/WindowSet.h"

#include "access/windows/ChangePasswordWindow.h"
#include "access/windows/LoginWindow.h"
#include "app/LauncherWindow.h"
#include "app/InfoWindow.h"
#include "app/CopyrightWindow.h"
#include "archive/core/BookArchive.h"
#include "archive/windows/OpenBookWindow.h"
#include "archive/windows/CreateBookWindow.h"
#include "base/ProcessFormats.h"
#include "editor/windows/AttachmentsWindow.h"
#include "editor/windows/EditorWindow.h"
#include "editor/windows/CalendarWindow.h"
#include "editor/windows/ZoomWindow.h"
#include "output/windows/CardPreviewWindow.h"
#include "output/windows/ExportWindow.h"
#include "output/windows/SlideShowWindow.h"
#include "output/windows/CardPrintWindow.h"
#include "search/windows/SearchWindow.h"
#include "ui/GuideWindow.h"
#include "ui/Messages.h"

namespace {

template <class W> W* make(std::vector<std::unique_ptr<QWidget>>& owned, std::vector<QWidget*>& order) {
    auto window = std::make_unique<W>();
    W* made = window.get();
    order.push_back(made);
    owned.push_back(std::move(window));
    return made;
}

} // namespace

WindowSet::WindowSet() {
    // The date settings hold from start-up on, before any window shows a date.
    ProcessFormats::startUp();
    // What an opening of a book does by itself (a journal of another copy of the archive set aside)
    // is told in a message box, once.
    BookArchive::setNoticeHandler(
        [](const QString& text) { MessageBox(text, MsgKind::Warning, MsgButtons::Ok); });
    m_login = make<LoginWindow>(m_owned, m_order);
    m_launcher = make<LauncherWindow>(m_owned, m_order);
    m_changePassword = make<ChangePasswordWindow>(m_owned, m_order);
    make<GuideWindow>(m_owned, m_order);
    make<InfoWindow>(m_owned, m_order);
    make<CopyrightWindow>(m_owned, m_order);
    m_createBook = make<CreateBookWindow>(m_owned, m_order);
    m_openBook = make<OpenBookWindow>(m_owned, m_order);
    m_editor = make<EditorWindow>(m_owned, m_order);
    make<ZoomWindow>(m_owned, m_order);
    make<AttachmentsWindow>(m_owned, m_order);
    make<CalendarWindow>(m_owned, m_order);
    make<SearchWindow>(m_owned, m_order);
    make<ExportWindow>(m_owned, m_order);
    make<CardPreviewWindow>(m_owned, m_order);
    make<CardPrintWindow>(m_owned, m_order);
    make<SlideShowWindow>(m_owned, m_order);
    wire();
}

WindowSet::~WindowSet() {
    BookArchive::setNoticeHandler({});
    // Destroyed in reverse order of making.
    while (!m_owned.empty())
        m_owned.pop_back();
}

// Each window that leads elsewhere shows the next window before it hides, so one of the program's
// windows is always visible.
void WindowSet::wire() {
    QObject::connect(m_login, &LoginWindow::loggedIn, m_launcher, &QWidget::show);
    QObject::connect(m_login, &LoginWindow::changePasswordRequested, m_changePassword, &QWidget::show);
    QObject::connect(m_changePassword, &ChangePasswordWindow::closed, m_login,
                     &LoginWindow::showWithEmptyField);
    QObject::connect(m_launcher, &LauncherWindow::createRequested, m_createBook, &QWidget::show);
    QObject::connect(m_launcher, &LauncherWindow::openRequested, m_openBook, &QWidget::show);
    QObject::connect(m_createBook, &CreateBookWindow::closed, m_launcher, &QWidget::show);
    QObject::connect(m_openBook, &OpenBookWindow::closed, m_launcher, &QWidget::show);
    QObject::connect(m_openBook, &OpenBookWindow::bookChosen, m_editor,
                     [editor = m_editor](const QString& bookName, const QString& archivePath) {
                         editor->openBook(bookName, archivePath);
                         editor->show();
                     });
    QObject::connect(m_editor, &EditorWindow::closed, m_launcher, &QWidget::show);
}

// The run opens on the login window, the main window; the launcher follows a correct password.
void WindowSet::start() {
    m_login->show();
}
