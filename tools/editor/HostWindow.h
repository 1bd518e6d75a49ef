#pragma once
// The stand-alone editor's own top-level window: the parent the plug-in's
// view embeds in, on a connection of its own, with a title and the window
// manager's close button. It can also read back what the server shows.
#include <memory>
#include <string>
#include <xcb/xcb.h>

#include "lice/lice.h"

class XcbSession;

class HostWindow {
public:
  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // False, with nothing left open, when there is no display.
  bool Open(int w, int h, const std::string& title);
  void Close();
  bool Resize(int w, int h);

  xcb_window_t Id() const { return mWindow; }
  int Fd() const;
  // Handles what the server sent; true once the user asked to close the window.
  bool CloseRequested();
  // The first child window (the plug-in's) once it is viewable, else 0.
  xcb_window_t ViewableChild();
  // What the server shows of a window, as our pixel words (opaque).
  bool ReadPixels(xcb_window_t window, LICE_MemBitmap* out);

private:
  std::unique_ptr<XcbSession> mX;
  xcb_window_t mWindow = 0;
  xcb_atom_t mDeleteAtom = 0;
  bool mCloseRequested = false;
};
