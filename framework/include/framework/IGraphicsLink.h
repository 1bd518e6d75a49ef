#pragma once
// What the plug-in base and the VST 3 processor need from the editor's
// graphics object, and nothing more: AttachGraphics pushes every value and
// prepares drawing, RedrawParamControls and incoming host changes push values.
// The editor's graphics class implements it; the base owns the object once
// attached.
class IGraphicsLink {
public:
  virtual ~IGraphicsLink() {}
  // Stores a control value and marks it dirty; safe on the audio thread.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;
  // Prepares the off-screen bitmap the editor draws into.
  virtual void PrepDraw() = 0;
};
