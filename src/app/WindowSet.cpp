#include "app/WindowSet.h"

#include "access/windows/CambiaPassword.h"
#include "access/windows/Password.h"
#include "app/Avvio.h"
#include "app/Guida.h"
#include "app/Info.h"
#include "app/Splash.h"
#include "app/Windows.h"
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

namespace Windows {
TfrmPassword* frmPassword = nullptr;
TfrmAvvio* frmAvvio = nullptr;
TfrmCambiaPassword* frmCambiaPassword = nullptr;
TfrmCreaZudid* frmCreaZudid = nullptr;
TfrmApriZudid* frmApriZudid = nullptr;
TfrmBookZudid* frmBookZudid = nullptr;
} // namespace Windows

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
    Windows::frmPassword = make<TfrmPassword>(m_owned, m_order);
    Windows::frmAvvio = make<TfrmAvvio>(m_owned, m_order);
    Windows::frmCambiaPassword = make<TfrmCambiaPassword>(m_owned, m_order);
    make<TfrmGuida>(m_owned, m_order);
    make<TfrmInfo>(m_owned, m_order);
    make<TfrmSplash>(m_owned, m_order);
    Windows::frmCreaZudid = make<TfrmCreaZudid>(m_owned, m_order);
    Windows::frmApriZudid = make<TfrmApriZudid>(m_owned, m_order);
    Windows::frmBookZudid = make<TfrmBookZudid>(m_owned, m_order);
    make<TfrmZoom>(m_owned, m_order);
    make<TfrmAllegaCartella>(m_owned, m_order);
    make<TfrmCalendario>(m_owned, m_order);
    make<TfrmTrovaBookZudid>(m_owned, m_order);
    make<TfrmExpBookZudid>(m_owned, m_order);
    make<TfrmAnteprimaBookZudid>(m_owned, m_order);
    make<TfrmStampaBookZudid>(m_owned, m_order);
    make<TfrmSlideshow_Zudid>(m_owned, m_order);
}

WindowSet::~WindowSet() {
    // Destroyed in reverse order of making; the references go with their windows.
    while (!m_owned.empty())
        m_owned.pop_back();
    Windows::frmPassword = nullptr;
    Windows::frmAvvio = nullptr;
    Windows::frmCambiaPassword = nullptr;
    Windows::frmCreaZudid = nullptr;
    Windows::frmApriZudid = nullptr;
    Windows::frmBookZudid = nullptr;
}

// The run opens on the login window, the main window; the launcher follows a correct password.
void WindowSet::start() {
    Windows::frmPassword->show();
}
