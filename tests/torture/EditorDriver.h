#pragma once
// The user-interface thread's editor steps, as a Linux host drives a view:
// opened in a parent window of our own at a content scale that may be odd
// (then refused, and the view goes on at its own), its run loop pumped so
// that the editor draws what the processing thread keeps changing, asked its
// size, given odd sizes, keys, wheel and focus, its frame taken away and
// given back, attached twice, removed twice, released without removal, and
// pointer events sent to its window (never the X server's pointer). One
// editor at most is open; without an X server the steps are off.
#include <memory>
#include <xcb/xcb.h>

#include "Driver.h"
#include "Target.h"
#include "vst3/host/HostRunLoop.h"
#include "vst3/host/HostedEditor.h"

class EditorDriver {
public:
  // Connects to the X server of DISPLAY; says once when there is none. The
  // editor's choices come from a sequence of their own, so that a run without
  // an X server makes the same calls as before the editor steps were added.
  EditorDriver(Target* target, Driver* driver, uint64_t seed);
  ~EditorDriver();
  EditorDriver(const EditorDriver&) = delete;
  EditorDriver& operator=(const EditorDriver&) = delete;

  bool On() const { return mConn != nullptr; }
  // Whether the round starting now opens the editor: a few in a hundred, since
  // an opening costs a window and a few dozen a run are enough.
  bool StartRound();
  // Opens the editor when none is open, else one step on the open one.
  void Step();
  // Lets go of the open editor, if any, and checks that it left nothing behind.
  void Close();
  int Opens() const { return mOpens; }

private:
  using StepFunction = void (EditorDriver::*)();
  struct Kind {
    const char* name;
    int weight;
    StepFunction run;
  };
  static const Kind kKinds[];

  // Opening and closing (EditorDriver.cpp).
  void Open();
  void CloseAs(int how);
  bool ConnectX();
  bool ResizeParent(int w, int h);
  int ChildWindows();
  void DrainOwnEvents();
  // Steps on the open editor (EditorSteps.cpp).
  void Pump();
  void AskSize();
  void OddSizes();
  void Keys();
  void WheelAndFocus();
  void Scale();
  void Frame();
  void AttachTwice();
  void Reattach();
  void SecondView();
  void Pointer();
  void CloseStep();

  // The view's size must be the editor's times the scale it took.
  void CheckSize(const char* after);
  bool Attach(const char* call);
  // A closed editor leaves no gesture open with the host.
  void CheckGestures(const char* after);
  // The editor's window inside our parent; 0 when none.
  xcb_window_t EditorWindow();
  // A pointer event sent to the window alone: the pointer itself stays put.
  void SendPointer(xcb_window_t window, uint8_t type, uint8_t button, int x, int y, uint16_t state);

  Target* mTarget;
  Driver* mDriver;
  Rng mRng;
  xcb_connection_t* mConn = nullptr;
  xcb_window_t mRoot = 0;
  xcb_window_t mParent = 0;
  vst3host::HostRunLoop* mLoop = nullptr;
  std::unique_ptr<vst3host::HostedEditor> mEditor;
  double mScale = 1.0;  // the content scale the open view took
  bool mFramed = false; // the open view holds its frame
  int mBaseW = 0;       // the view's size at scale 1, once seen
  int mBaseH = 0;
  int mOpens = 0;
};
