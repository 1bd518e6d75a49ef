#pragma once
// Colours and editor geometry of the art. Positions are editor pixels, origin
// top-left; the editor layout fixes the rectangles, the art is drawn to fit.
#include "lice/lice.h"

namespace art {

constexpr int kEditorWidth = 350;
constexpr int kEditorHeight = 288;
// Nothing but the readout slots comes closer to the edges than this.
constexpr int kMargin = 6;

struct Box {
  int l, t, r, b;
  int w() const { return r - l; }
  int h() const { return b - t; }
  float centreX() const { return 0.5f * float(l + r); }
};

constexpr Box kInReadout{11, 270, 111, 290};
constexpr Box kOutReadout{236, 270, 336, 290};
constexpr Box kDistortReadout{128, 210, 228, 230};
constexpr Box kLinkArea{254, 61, 336, 139};
// The logotype's top-left letter cell.
constexpr float kLogoX = 16, kLogoY = 11;

// Knob pointers sweep from -135 to +135 degrees; 0 points up, angles grow
// clockwise (the raster library's convention for arcs).
constexpr float kSweep = 2.35619449f;
inline float KnobAngle(double value) {
  return float(-kSweep + 2.0 * kSweep * value);
}

// What a knob looks like, in frame pixels.
struct KnobShape {
  int frameSize; // frames are square
  int frameCount;
  float centreX, centreY; // the knob's centre inside a frame
  float bodyRadius;       // the turning part, rim included
  float capRadius;        // the dished top inside the rim
  float trackRadius;      // centre line of the value arc
  float trackWidth;
  float glow; // how much the value arc lights its surroundings at maximum
  // The scale printed on the panel around the knob: where its ticks start,
  // where the short ones end and where the long ones (ends, middle) end.
  float tickInner, tickOuter, tickLong;
};

// The small knobs sit 2 px right of their frame's middle so that they line up
// with the readout slots beneath them.
constexpr KnobShape kSmallKnob = {
    60,    41,           // frame size, frame count
    32.0f, 30.0f,        // centre
    18.5f, 14.0f,        // body and cap radius
    24.0f, 3.0f,         // value arc radius and width
    0.0f,                // glow
    27.5f, 30.5f, 32.0f, // scale ticks
};
// 128 frames of 128 px make a strip 16384 px high, the tallest image the PNG
// loader accepts; the knob sits 2 px right of the frame's middle to centre on
// the editor.
constexpr KnobShape kHeroKnob = {
    128,   128,          // frame size, frame count
    66.0f, 64.0f,        // centre
    40.0f, 31.0f,        // body and cap radius
    50.0f, 5.0f,         // value arc radius and width
    1.0f,                // glow
    57.0f, 61.0f, 63.0f, // scale ticks
};

// A knob's strip file and where the editor places it.
struct KnobSpec : KnobShape {
  const char* fileName;
  int originX, originY; // the frame's top-left in the editor
  const char* label;
  const char* minLabel;
  const char* maxLabel;

  constexpr float editorCentreX() const { return float(originX) + centreX; }
  constexpr float editorCentreY() const { return float(originY) + centreY; }
};

constexpr KnobSpec kInKnob{{kSmallKnob}, "Knob_In_Frames.png", 29, 207, "IN", "-20", "+20"};
constexpr KnobSpec kOutKnob{{kSmallKnob}, "Knob_Out_Frames.png", 254, 207, "OUT", "-20", "+20"};
constexpr KnobSpec kDistortKnob{{kHeroKnob}, "Knob_Distort_Frames.png", 112, 68, "DISTORT", "0",
                                "100"};

namespace colour {
constexpr LICE_Pixel32 kPanelTop = LICE_RGB(58, 47, 43);
constexpr LICE_Pixel32 kPanelBottom = LICE_RGB(34, 28, 26);
constexpr LICE_Pixel32 kBezelLight = LICE_RGB(96, 82, 74);
constexpr LICE_Pixel32 kBezelDark = LICE_RGB(14, 11, 10);
constexpr LICE_Pixel32 kSlot = LICE_RGB(9, 8, 8);
constexpr LICE_Pixel32 kEmber = LICE_RGB(84, 34, 10);
constexpr LICE_Pixel32 kAccent = LICE_RGB(255, 138, 28);
constexpr LICE_Pixel32 kAccentHot = LICE_RGB(255, 214, 140);
constexpr LICE_Pixel32 kAccentDeep = LICE_RGB(196, 74, 12);
constexpr LICE_Pixel32 kLabel = LICE_RGB(206, 200, 192);
constexpr LICE_Pixel32 kLabelDim = LICE_RGB(150, 140, 130);
constexpr LICE_Pixel32 kTick = LICE_RGB(170, 160, 150);
constexpr LICE_Pixel32 kReadoutText = LICE_RGB(200, 200, 200);
constexpr LICE_Pixel32 kTrack = LICE_RGB(16, 13, 12);
constexpr LICE_Pixel32 kRimLight = LICE_RGB(128, 120, 114);
constexpr LICE_Pixel32 kRimDark = LICE_RGB(22, 20, 19);
constexpr LICE_Pixel32 kCapLit = LICE_RGB(74, 69, 66);
constexpr LICE_Pixel32 kCapShaded = LICE_RGB(36, 33, 32);
constexpr LICE_Pixel32 kPointer = LICE_RGB(242, 236, 228);
constexpr LICE_Pixel32 kBlack = LICE_RGB(0, 0, 0);
constexpr LICE_Pixel32 kWhite = LICE_RGB(255, 255, 255);
} // namespace colour

} // namespace art
