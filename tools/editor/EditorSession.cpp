#include "tools/editor/EditorSession.h"

#include <cstdio>

#include "lice/lice_png.h"
#include "tools/common/ToolFiles.h"
#include "tools/editor/HostWindow.h"
#include "vst3/HostText.h"
#include "vst3/host/EditRecorder.h"
#include "vst3/host/HostRunLoop.h"
#include "vst3/host/HostedEditor.h"
#include "vst3/host/HostedPlugin.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vst3host;

namespace {

int Fail(const std::string& what) {
  fprintf(stderr, "grittlebox-editor: %s\n", what.c_str());
  return 1;
}

std::string Narrow(const TChar* text) {
  char out[3 * 128 + 1];
  NarrowUtf16(text, 128, out, sizeof out);
  return out;
}

ParameterInfo InfoOf(IEditController* controller, ParamID id) {
  for (int32 i = 0; i < controller->getParameterCount(); ++i) {
    ParameterInfo info{};
    if (controller->getParameterInfo(i, info) == kResultOk && info.id == id) return info;
  }
  return ParameterInfo{};
}

// One line per record: "begin 2 Distort", "perform 2 Distort 0.750000 75.00 %",
// "end 2 Distort", "menu 2 Distort 150 120" (where, in view pixels).
void Print(IEditController* controller, const EditRecorder::Record& r) {
  const ParameterInfo info = InfoOf(controller, r.id);
  const std::string title = info.title[0] ? Narrow(info.title) : "?";
  switch (r.kind) {
  case 'b':
    printf("begin %u %s\n", r.id, title.c_str());
    break;
  case 'p': {
    String128 text = {};
    controller->getParamStringByValue(r.id, r.value, text);
    printf("perform %u %s %.6f %s %s\n", r.id, title.c_str(), r.value, Narrow(text).c_str(),
           Narrow(info.units).c_str());
    break;
  }
  case 'e':
    printf("end %u %s\n", r.id, title.c_str());
    break;
  case 'm':
    printf("menu %u %s %d %d\n", r.id, title.c_str(), r.x, r.y);
    break;
  default:
    printf("restart %d\n", static_cast<int>(r.value));
    break;
  }
  fflush(stdout);
}

// Our window's events come through the same loop as the plug-in's.
class WindowWatch : public IEventLoopFdHandler {
public:
  explicit WindowWatch(HostWindow* window) : mWindow(window) {}
  void OnFdReady(int) override { mClosed = mWindow->CloseRequested(); }
  bool Closed() const { return mClosed; }

private:
  HostWindow* mWindow;
  bool mClosed = false;
};

bool WriteSnapshot(HostRunLoop* loop, HostWindow* window, const std::string& file,
                   std::string* error) {
  xcb_window_t child = 0;
  if (!loop->RunUntil([&] { return (child = window->ViewableChild()) != 0; }, 5000)) {
    *error = "the editor window did not appear";
    return false;
  }
  loop->RunFor(200); // its first exposure answered
  LICE_MemBitmap shot;
  if (!window->ReadPixels(child, &shot) || !LICE_WritePNG(file.c_str(), &shot, false)) {
    *error = "cannot write the snapshot to '" + file + "'";
    return false;
  }
  return true;
}

} // namespace

int RunEditorSession(const EditorOptions& options, const volatile int* stopRequested) {
  const std::string bundle = tools::FindBundle(options.bundle);
  if (bundle.empty()) return Fail("no bundle found (build it, or give --bundle)");
  HostedPlugin plugin("grittlebox-editor");
  if (!plugin.Load(bundle) || !plugin.Start(2, 44100.0, 512, true)) return Fail(plugin.Error());
  if (!options.state.empty()) {
    std::vector<uint8_t> bytes;
    if (!tools::ReadFile(options.state, &bytes) || !plugin.RestoreState(bytes))
      return Fail("cannot restore the state in '" + options.state + "'");
  }
  IEditController* controller = plugin.Controller();
  auto* recorder = new EditRecorder();
  recorder->SetListener([controller](const EditRecorder::Record& r) { Print(controller, r); });
  controller->setComponentHandler(recorder);
  auto* runLoop = new HostRunLoop();
  HostWindow window;
  int status = 0;
  {
    HostedEditor editor(controller, runLoop,
                        [&window](int w, int h) { return window.Resize(w, h); });
    int w = 0, h = 0;
    WindowWatch watch(&window);
    std::string error;
    if (!editor.Create(options.scale) || !editor.Size(&w, &h)) {
      status = Fail(editor.Error());
    } else if (!window.Open(w, h, "Grittlebox editor")) {
      status = Fail("no X display (run it under xvfb-run to try it without one)");
    } else if (!runLoop->Loop().AddFdWatch(window.Fd(), &watch) || !editor.Attach(window.Id())) {
      status = Fail(editor.Error().empty() ? "cannot watch the window" : editor.Error());
    } else if (!options.snapshot.empty()) {
      if (!WriteSnapshot(runLoop, &window, options.snapshot, &error)) status = Fail(error);
    } else {
      runLoop->RunUntil([&] { return watch.Closed() || *stopRequested; }, 1 << 30);
    }
    editor.Release();
    runLoop->Loop().RemoveFdWatch(&watch);
  }
  window.Close();
  controller->setComponentHandler(nullptr);
  recorder->release();
  runLoop->release();
  if (status == 0 && !options.saveState.empty()) {
    std::vector<uint8_t> state;
    if (!plugin.SaveState(&state) || !tools::WriteFile(options.saveState, state))
      status = Fail("cannot save the state to '" + options.saveState + "'");
  }
  plugin.Stop();
  return status;
}
