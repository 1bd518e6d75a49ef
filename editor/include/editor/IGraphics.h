#pragma once
// The platform-independent heart of the editor: the control list, the two-way
// parameter link, dirty tracking and the drawing pass into one off-screen
// bitmap, event routing, and the drawing operations controls call. A platform
// host derives from it and supplies the window, the timer and the system
// services (message boxes, menus, text fields, file and colour prompts, URLs).
//
// Everything runs on the user-interface thread except SetParameterFromPlug,
// which also runs on the processing thread: it only stores control values and
// dirty flags (atomics), which the next poll picks up.
#include "editor/IBitmap.h"
#include "editor/IChannelBlend.h"
#include "editor/IColor.h"
#include "editor/IMouseMod.h"
#include "editor/IRECT.h"
#include "editor/IText.h"
#include "wdl/ptr_list.h"
#include "wdl/wdl_string.h"

class IControl;
class IEventLoop;
class IParam;
class IPlugBase;
class IPopupMenu;
class LICE_IBitmap;
class LICE_IFont;

enum EFileAction { kFileOpen = 0, kFileSave };

class IGraphics {
public:
  IGraphics(IPlugBase* plug, int w, int h, int fps = 0);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // Platform operations, in the order of the virtual table.
  virtual bool DrawScreen(IRECT* region) = 0;
  virtual bool MeasureIText(IText* text, char* str, IRECT* rect);
  virtual void ForceEndUserEdit() = 0;
  virtual void Resize(int w, int h);
  virtual bool WindowIsOpen() { return GetWindow() != nullptr; }
  virtual const char* GetGUIAPI() { return ""; }
  virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
  // Shows the menu modally; returns the menu that holds the chosen item (its
  // chosen index set), or null when nothing was chosen.
  virtual IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) = 0;
  virtual void CreateTextEntry(IControl* control, IText* text, IRECT* area, const char* str,
                               IParam* param) = 0;
  virtual void HostPath(WDL_String* path) = 0;
  virtual void PluginPath(WDL_String* path) = 0;
  virtual void DesktopPath(WDL_String* path) = 0;
  virtual void AppSupportPath(WDL_String* path) = 0;
  virtual void PromptForFile(WDL_String* file, EFileAction action = kFileOpen,
                             WDL_String* dir = nullptr, char* extensions = nullptr) = 0;
  virtual bool PromptForColor(IColor* color, char* prompt = nullptr) = 0;
  virtual bool OpenURL(const char* url, const char* windowTitle = nullptr,
                       const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) = 0;
  virtual void* OpenWindow(void* parentView) = 0;
  virtual void* OpenWindow(void* window, void* control, short, short) {
    (void)window;
    (void)control;
    return nullptr;
  }
  virtual void AttachSubWindow(void*) {}
  virtual void RemoveSubWindow() {}
  virtual void CloseWindow() = 0;
  virtual void* GetWindow() = 0;
  virtual ~IGraphics();
  virtual void HideMouseCursor() {}
  virtual void ShowMouseCursor() {}
  virtual void UpdateTooltips() = 0;
  // A decoded bitmap for the resource, owned by the caller, or null.
  virtual LICE_IBitmap* OSLoadBitmap(int ID, const char* name) = 0;

  // Hooks the format binding calls on whatever platform host it was given;
  // hosts that need none keep these bodies.
  // The host's event loop (platform/IEventLoop.h), given before OpenWindow by
  // hosts whose windows are driven by it; null takes it back.
  virtual void SetEventLoop(IEventLoop* loop) { (void)loop; }
  // Window pixels per editor pixel (at least 1): the window becomes
  // round(w * scale) x round(h * scale). False when the host cannot scale.
  virtual bool SetScaleFactor(double scale) {
    (void)scale;
    return false;
  }
  virtual double GetScaleFactor() const { return 1.0; }
  // A key the format's host passes on: its character, its virtual key code
  // and modifier bits in the VST 3 numbering. True when the editor used it;
  // false hands it back to the host.
  virtual bool OnHostKeyDown(char16_t character, int virtualKey, int modifiers) {
    (void)character, (void)virtualKey, (void)modifiers;
    return false;
  }

  // Construction of an editor.
  void AttachBackground(int ID, const char* name);
  void AttachPanelBackground(const IColor* color);
  // Takes ownership; returns the control's index, or -1 (and deletes it) when
  // the list cannot grow.
  int AttachControl(IControl* control);
  void AttachKeyCatcher(IControl* control);
  void PrepDraw();

  // Plug-in to editor. SetParameterFromPlug may run on the processing thread.
  void SetParameterFromPlug(int paramIdx, double value, bool normalized);
  void SetControlFromPlug(int controlIdx, double normalizedValue);
  void SetAllControlsDirty();
  void HideControl(int paramIdx, bool hide);
  void GrayOutControl(int paramIdx, bool gray);
  void ClampControl(int paramIdx, double lo, double hi, bool normalized);
  // Editor side of a value change: every control bound to the parameter.
  void SetParameterFromGUI(int paramIdx, double normalizedValue);

  // Drawing.
  bool IsDirty(IRECT* region);
  bool Draw(IRECT* region);
  void SetStrictDrawing(bool strict);

  // Events, in editor pixels with the origin top-left.
  void OnMouseDown(int x, int y, IMouseMod* mod);
  void OnMouseUp(int x, int y, IMouseMod* mod);
  void OnMouseDrag(int x, int y, IMouseMod* mod);
  // True when the click went to the control as a mouse down.
  bool OnMouseDblClick(int x, int y, IMouseMod* mod);
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d);
  bool OnMouseOver(int x, int y, IMouseMod* mod);
  void OnMouseOut();
  bool OnKeyDown(int x, int y, int key);
  void OnGUIIdle();
  void ReleaseMouseCapture();
  // Releases the capture and ends the host gesture of the captured control's
  // parameter, as its mouse-up would have: for a press that comes while one
  // is held, and for a window that closes under the user's hand.
  void EndMouseCapture();
  int GetMouseControlIdx(int x, int y, bool mouseOver = false);
  int GetParamIdxForPTAutomation(int x, int y);
  int GetLastClickedParamForPTAutomation();

  // Direct entry of a parameter value (menu or text field).
  void PromptUserInput(IControl* control, IParam* param, IRECT* area);
  void SetFromStringAfterPrompt(IControl* control, IParam* param, char* text);

  // Bitmaps; the module-wide cache owns what they return.
  IBitmap LoadIBitmap(int ID, const char* name, int nStates = 1, bool framesAreHoriz = false);
  void RetainBitmap(IBitmap* bitmap);
  void ReleaseBitmap(IBitmap* bitmap);
  IBitmap ScaleBitmap(IBitmap* bitmap, int w, int h);
  IBitmap CropBitmap(IBitmap* bitmap, IRECT* rect);
  // The font for the style from the module-wide cache (created on first use);
  // stored in the style. Null when the GDI layer gives no font.
  LICE_IFont* CacheFont(IText* text);

  // Drawing operations for controls. All accept null arguments and missing
  // bitmaps by drawing nothing.
  bool DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY,
                  const IChannelBlend* blend = nullptr);
  bool DrawBitmap(IBitmap* bitmap, IRECT* dest, int bmpState = 1,
                  const IChannelBlend* blend = nullptr);
  bool DrawRotatedBitmap(IBitmap* bitmap, int destCtrX, int destCtrY, double angle,
                         int yOffsetZeroDeg = 0, const IChannelBlend* blend = nullptr);
  bool DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y, double angle,
                       const IChannelBlend* blend = nullptr);
  bool DrawPoint(const IColor* color, float x, float y, const IChannelBlend* blend = nullptr,
                 bool antiAlias = false);
  // Outside the draw bitmap nothing is written.
  bool ForcePixel(const IColor* color, int x, int y);
  bool DrawLine(const IColor* color, float x1, float y1, float x2, float y2,
                const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawArc(const IColor* color, float cx, float cy, float r, float minAngle, float maxAngle,
               const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawCircle(const IColor* color, float cx, float cy, float r,
                  const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool RoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend, int cornerRadius,
                 bool antiAlias);
  bool FillRoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend, int cornerRadius,
                     bool antiAlias);
  bool FillIRect(const IColor* color, IRECT* rect, const IChannelBlend* blend = nullptr);
  bool FillCircle(const IColor* color, int cx, int cy, float r,
                  const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                    IChannelBlend* blend);
  bool FillIConvexPolygon(const IColor* color, int* x, int* y, int npoints,
                          const IChannelBlend* blend);
  // Transparent black outside the draw bitmap.
  IColor GetPoint(int x, int y);
  bool DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi);
  bool DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi);
  bool DrawVerticalLine(const IColor* color, IRECT* rect, float x);
  bool DrawHorizontalLine(const IColor* color, IRECT* rect, float y);
  bool DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin, float rMax,
                      const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawRect(const IColor* color, IRECT* rect);
  // With measure set, nothing is drawn and rect is fitted to the text.
  bool DrawIText(IText* text, char* str, IRECT* rect, bool measure = false);
  // One line of text from a glyph strip: character c is frame c - 31 (space is
  // frame 1; characters the strip lacks draw as space), each in a cell of
  // charWidth x charHeight, cells charWidth + charOffset apart, the line
  // centred vertically in rect and starting one cell in from the left (centred
  // with a centred style). At most (rect width - 2 x charWidth) / charWidth
  // characters are drawn.
  bool DrawBitmapedText(IBitmap* bitmap, IRECT* rect, IText* text, const IChannelBlend* blend,
                        const char* str, int charWidth, int charHeight, int charOffset = 0);

  // Accessors.
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  IPlugBase* GetPlug() const { return mPlug; }
  LICE_IBitmap* GetDrawBitmap() const { return mDrawBitmap; }
  // The draw bitmap's pixels (rows top-down, GetDrawBitmap()->getRowSpan()
  // pixels apart), or null before PrepDraw.
  LICE_Pixel32* GetBits();
  IControl* GetControl(int idx) const { return mControls.Get(idx); }
  int GetNControls() const { return mControls.GetSize(); }
  IControl* GetKeyCatcher() const { return mKeyCatcher; }
  const IRECT& GetDrawRect() const { return mDrawRECT; }
  bool GetStrictDrawing() const { return mStrict; }
  void HandleMouseOver(bool canHandle) { mHandleMouseOver = canHandle; }
  bool CanHandleMouseOver() const { return mHandleMouseOver; }
  void EnableTooltips(bool enable) { mEnableTooltips = enable; }
  bool TooltipsEnabled() const { return mEnableTooltips; }
  int GetCaptureIdx() const { return mMouseCapture; }
  int GetMouseOverIdx() const { return mMouseOver; }
  void GetMouseLocation(int* x, int* y) const {
    *x = mMouseX;
    *y = mMouseY;
  }

protected:
  // For platform hosts that hide the cursor while a control is dragged.
  void SetCursorHidden(bool hidden, int x = -1, int y = -1) {
    mCursorHidden = hidden;
    mHiddenMousePointX = x;
    mHiddenMousePointY = y;
  }
  bool CursorHidden() const { return mCursorHidden; }

  WDL_PtrList<IControl> mControls;
  IPlugBase* mPlug;
  IRECT mDrawRECT;
  bool mCursorHidden = false;
  int mHiddenMousePointX = -1, mHiddenMousePointY = -1;

private:
  // The topmost control under the point that is neither hidden nor greyed
  // (greyed ones too when mouseOver and the control allows it); -1 for none.
  int FindTopmost(int x, int y, bool mouseOver) const;
  void DrawControl(IControl* control);
  void DrawStrict(IRECT* region);
  void DrawLoose();
  void DeleteControlsAndBitmaps();
  // Clips dest to the draw region and the draw bitmap, then blits.
  bool BlitClipped(LICE_IBitmap* src, const IRECT& dest, int srcX, int srcY,
                   const IChannelBlend* blend);

  LICE_IBitmap* mDrawBitmap = nullptr;
  LICE_IBitmap* mTmpBitmap = nullptr;
  int mWidth, mHeight, mFPS;
  int mMouseCapture = -1;
  int mMouseOver = -1;
  int mMouseX = 0, mMouseY = 0;
  int mLastClickedParam = -1;
  bool mHandleMouseOver = false;
  bool mStrict = true;
  bool mEnableTooltips = false;
  IControl* mKeyCatcher = nullptr;
};
