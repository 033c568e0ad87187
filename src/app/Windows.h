// The program-wide references to the six windows that live for the whole run: login, launcher,
// change-password, create-book, open-book and the record editor. They are shown and hidden, never
// destroyed before the program ends; every window that shows, hides or fills one goes through these.
#pragma once

class TfrmPassword;
class TfrmAvvio;
class TfrmCambiaPassword;
class TfrmCreaZudid;
class TfrmApriZudid;
class TfrmBookZudid;

namespace Windows {

extern TfrmPassword* frmPassword;
extern TfrmAvvio* frmAvvio;
extern TfrmCambiaPassword* frmCambiaPassword;
extern TfrmCreaZudid* frmCreaZudid;
extern TfrmApriZudid* frmApriZudid;
extern TfrmBookZudid* frmBookZudid;

} // namespace Windows
