#pragma once
// What the plug-in base and the VST 3 processor need from the editor's
// graphics object, and nothing more: AttachGraphics pushes every value and
// prepares drawing, RedrawParamControls and incoming host changes push values,
// and the program and bank file operations ask for a file.
// The editor's graphics class implements it; the base owns the object once
// attached.
#include "wdl/wdl_string.h"

enum EFileAction { kFileOpen = 0, kFileSave };

class IGraphicsLink {
public:
  virtual ~IGraphicsLink() {}
  // Stores a control value and marks it dirty; safe on the audio thread.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;
  // Prepares the off-screen bitmap the editor draws into.
  virtual void PrepDraw() = 0;
  // Asks the user for a file: `file` holds the proposed name and receives the
  // chosen path, empty when nothing was chosen; `dir` is the start folder.
  // Without a way to ask, the prompt is a cancel.
  virtual void PromptForFile(WDL_String* file, EFileAction action = kFileOpen,
                             WDL_String* dir = nullptr, char* extensions = nullptr) {
    (void)action;
    (void)dir;
    (void)extensions;
    if (file) file->Set("");
  }
};
