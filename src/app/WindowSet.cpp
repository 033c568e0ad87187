#include "app/WindowSet.h"

#include "access/windows/CambiaPassword.h"
#include "access/windows/Password.h"
#include "app/Avvio.h"
#include "app/Info.h"
#include "app/Splash.h"
#include "archive/core/BookArchive.h"
#include "archive/windows/ApriZudid.h"
#include "archive/windows/CreaZudid.h"
#include "base/ProcessFormats.h"
#include "editor/windows/AllegaCartella.h"
#include "editor/windows/BookZudid.h"
#include "editor/windows/Calendario.h"
#include "editor/windows/Zoom.h"
#include "output/windows/AnteprimaBookZudid.h"
#include "output/windows/ExpBookZudid.h"
#include "output/windows/Slideshow_Zudid.h"
#include "output/windows/StampaBookZudid.h"
#include "search/windows/TrovaBookZudid.h"
#include "ui/Guida.h"
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
    m_login = make<TfrmPassword>(m_owned, m_order);
    m_launcher = make<TfrmAvvio>(m_owned, m_order);
    m_changePassword = make<TfrmCambiaPassword>(m_owned, m_order);
    make<TfrmGuida>(m_owned, m_order);
    make<TfrmInfo>(m_owned, m_order);
    make<TfrmSplash>(m_owned, m_order);
    m_createBook = make<TfrmCreaZudid>(m_owned, m_order);
    m_openBook = make<TfrmApriZudid>(m_owned, m_order);
    m_editor = make<TfrmBookZudid>(m_owned, m_order);
    make<TfrmZoom>(m_owned, m_order);
    make<TfrmAllegaCartella>(m_owned, m_order);
    make<TfrmCalendario>(m_owned, m_order);
    make<TfrmTrovaBookZudid>(m_owned, m_order);
    make<TfrmExpBookZudid>(m_owned, m_order);
    make<TfrmAnteprimaBookZudid>(m_owned, m_order);
    make<TfrmStampaBookZudid>(m_owned, m_order);
    make<TfrmSlideshow_Zudid>(m_owned, m_order);
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
    QObject::connect(m_login, &TfrmPassword::loggedIn, m_launcher, &QWidget::show);
    QObject::connect(m_login, &TfrmPassword::changePasswordRequested, m_changePassword, &QWidget::show);
    QObject::connect(m_changePassword, &TfrmCambiaPassword::closed, m_login,
                     &TfrmPassword::showWithEmptyField);
    QObject::connect(m_launcher, &TfrmAvvio::createRequested, m_createBook, &QWidget::show);
    QObject::connect(m_launcher, &TfrmAvvio::openRequested, m_openBook, &QWidget::show);
    QObject::connect(m_createBook, &TfrmCreaZudid::closed, m_launcher, &QWidget::show);
    QObject::connect(m_openBook, &TfrmApriZudid::closed, m_launcher, &QWidget::show);
    QObject::connect(m_openBook, &TfrmApriZudid::bookChosen, m_editor,
                     [editor = m_editor](const QString& bookName, const QString& archivePath) {
                         editor->openBook(bookName, archivePath);
                         editor->show();
                     });
    QObject::connect(m_editor, &TfrmBookZudid::closed, m_launcher, &QWidget::show);
}

// The run opens on the login window, the main window; the launcher follows a correct password.
void WindowSet::start() {
    m_login->show();
}
