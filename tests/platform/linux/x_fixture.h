#pragma once
// What the X tests share: a driver with its own connection that plays the
// user (XTEST pointer and keys), the host (parent windows) and the camera
// (read-back of what the server shows), and a fixture that opens an
// effect-like editor through IGraphicsLinux on a PollEventLoop.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include "editor/IControl.h"
#include "lice/lice.h"
#include "platform/linux/IGraphicsLinux.h"
#include "platform/linux/PollEventLoop.h"
#include "tests/editor/editor_fixture.h"

class XDriver {
public:
  XDriver() = default;
  ~XDriver();
  // False when there is no display or no XTEST.
  bool Connect();

  xcb_window_t MakeWindow(int x, int y, int w, int h);
  void Destroy(xcb_window_t window);
  void Move(int rootX, int rootY);
  void Button(int button, bool down);
  void Click(int button);
  // Presses and releases the key that types the keysym, with Shift when the
  // keysym sits in the shifted column.
  void Key(uint32_t keysym);
  void Type(const char* text);
  // Every request and fake event so far has been handled by the server.
  void Sync();
  static void Pause(int ms);

  // The window's pixels as the server shows them, as our pixel words.
  bool Screenshot(xcb_window_t window, LICE_MemBitmap* out);
  // A viewable override-redirect window of that WM class, waited for up to
  // timeoutMs; 0 when none. rootRect receives its place on the screen.
  xcb_window_t WaitForPopup(const std::string& wmClass, int timeoutMs, IRECT* rootRect = nullptr);
  bool PopupGone(const std::string& wmClass, int timeoutMs);
  // Whether the server shows the window (it and every ancestor mapped).
  bool Viewable(xcb_window_t window);
  // The first child of the window, waited for; 0 when none.
  xcb_window_t WaitForChild(xcb_window_t parent, int timeoutMs);
  std::string Property(xcb_window_t window, const char* name, int* format = nullptr);
  bool Geometry(xcb_window_t window, IRECT* rect);

  xcb_connection_t* Conn() const { return mConn; }

private:
  xcb_window_t FindPopup(const std::string& wmClass, IRECT* rootRect);
  xcb_atom_t Atom(const char* name);

  xcb_connection_t* mConn = nullptr;
  xcb_screen_t* mScreen = nullptr;
  xcb_key_symbols_t* mKeysyms = nullptr;
};

// Receives keys over the background.
class KeyRecorder : public IControl {
public:
  explicit KeyRecorder(IPlugBase* plug) : IControl(plug, IRECT()) {}
  bool Draw(IGraphics*) override { return true; }
  bool OnKeyDown(int, int, int key) override {
    mKeys.push_back(key);
    return true;
  }
  std::vector<int> mKeys;
};

// Editor layout (350 x 288): background, knobs In (29, 207), Out (254, 207)
// and Distort (112, 68), the link area, three readouts and a mode box
// (20, 20, 100, 44) for the enumerated parameter that opens a menu.
class XEditorTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Opens a new editor in mParent; api kAPIVST3 sends right-clicks on
  // parameters to the host, any other lets them open the prompts.
  void OpenEditor(EAPI api = kAPIVST2, double scale = 1.0);
  IGraphicsLinux* MakeEditor(RecordingPlug* plug, double scale);
  // The root position of an editor point.
  void ToRoot(int x, int y, int* rootX, int* rootY) const;
  // Runs the script on a thread of its own (with its own driver) while this
  // thread runs the loop; a modal menu or prompt runs inside the loop.
  void Drive(const std::function<void(XDriver&)>& script, int timeoutMs = 10000);
  // Shows what the server shows of the editor window.
  bool ShowsDrawBitmap(IGraphicsLinux* gui, const char* savePng = nullptr);
  void SavePng(LICE_IBitmap* bitmap, const char* name);
  static int OpenDescriptors();

  XDriver mX;
  xcb_window_t mParent = 0;
  PollEventLoop mLoop;
  std::unique_ptr<RecordingPlug> mPlug;
  IGraphicsLinux* mGui = nullptr;
  KeyRecorder* mKeys = nullptr;
  double mScale = 1.0;
  static constexpr int kParentX = 40, kParentY = 40;
};
