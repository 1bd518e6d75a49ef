#pragma once
// The effect's editor: a 350 x 288 picture of a background, three film-strip
// knobs, the link area and three value readouts.
class Grittlebox;
class IGraphics;
class IPlugVST3;

namespace grittlebox {

constexpr int kEditorWidth = 350;
constexpr int kEditorHeight = 288;

enum EBitmapID {
  kKnobInID = 101,
  kKnobOutID = 102,
  kKnobDistortID = 103,
  kBackgroundID = 104,
};

// The editor's control list, in drawing order.
enum EControlIndex {
  kBackgroundControl = 0,
  kInKnobControl,
  kOutKnobControl,
  kDistortKnobControl,
  kLinkControl,
  kInReadoutControl,
  kOutReadoutControl,
  kDistortReadoutControl,
  kControlCount
};

} // namespace grittlebox

// The platform's graphics object for the plug-in, with the product's identity
// (window class names, bundle identifier). The caller owns it.
IGraphics* MakeGraphics(IPlugVST3* plug, int w, int h, int fps);

// Attaches the layout's controls to an empty graphics object of the editor's
// size and hands the readouts to the effect; returns graphics. Any platform
// host will do: the effect passes its own, tests a headless one.
IGraphics* BuildEditor(IGraphics* graphics, Grittlebox* fx);
