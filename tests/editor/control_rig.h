#pragma once
// A small headless editor over a black panel for one control under test, and
// film strips whose frame f is filled with red 4 x f, so a pixel read back
// tells which frame was drawn there (0: none).
#include "editor/IPanelControl.h"
#include "lice/lice.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"

// Stacked frames of w x h; the module cache keeps them.
inline IBitmap FrameStrip(IGraphics* gui, int w, int h, int frames) {
  LICE_MemBitmap* bm = new LICE_MemBitmap(w, h * frames);
  for (int f = 0; f < frames; ++f)
    LICE_FillRect(bm, 0, f * h, w, h, LICE_RGBA(4 * (f + 1), 200, 0, 255), 1.0f, 0);
  IBitmap handle(bm, w, h * frames, frames);
  gui->RetainBitmap(&handle);
  return handle;
}

struct ControlRig {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 64, 64);

  ControlRig() { gui.AttachPanelBackground(&COLOR_BLACK); }
  IBitmap Strip(int w, int h, int frames) { return FrameStrip(&gui, w, h, frames); }

  // Attaches the control and hands the editor to the plug-in, which pushes
  // every parameter's value (and so each control's default) into it.
  template <class C> C* Attach(C* control) {
    gui.AttachControl(control);
    plug.AttachGraphics(&gui);
    return control;
  }
  // The frame shown at (x, y) after the next poll.
  int FrameAt(int x, int y) {
    gui.Poll();
    return gui.GetPoint(x, y).R / 4;
  }
};
