#pragma once
// Something the user must finish before the editor goes on (a menu, a
// message box, a dialog program): it runs inside IGraphicsLinux::RunModal,
// which keeps the editor repainting and drops the editor's own input.
#include <xcb/xcb.h>

class ModalClient {
public:
  virtual ~ModalClient() {}
  // An event of our connection; true when it was the client's. Events the
  // client leaves go to the editor window's repainting only.
  virtual bool OnModalEvent(xcb_generic_event_t* event) = 0;
  // The extra descriptor given to RunModal is readable (or hung up).
  virtual void OnModalFdReady() {}
  // Checked before every wait; also asked after each batch of events.
  virtual bool ModalDone() = 0;
};
