// The binding's editor views without a display: a test plug-in whose editor
// is headless, driven through IPlugView as a host drives it. What happens in
// real windows is the end-to-end tests' part (tests/e2e).
#include <gtest/gtest.h>

#include <vector>

#include "editor/IGraphics.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "vst3/IPlugVST3.h"
#include "vst3/host/EditRecorder.h"
#include "vst3/host/HostContext.h"
#include "vst3/host/HostFrame.h"
#include "vst3/host/HostRunLoop.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vst3host;

namespace {

void* const kParent = reinterpret_cast<void*>(uintptr_t{0x400001});

class EditorPlug : public IPlugVST3 {
public:
  explicit EditorPlug(bool withEditor)
      : IPlugVST3(IPlugInstanceInfo(), 2, "2-2", 0, "Test", "", "Maker", 0x10000, 1, 2, 0, false,
                  false, false) {
    GetParam(0)->InitDouble("Gain", 0, -10, 10, 0.1, "dB");
    GetParam(1)->InitDouble("Mix", 50, 0, 100, 1, "%");
    if (withEditor) AttachGraphics(new IGraphicsHeadless(this, 200, 100));
  }
  void OnGUIOpen() override { log += "open "; }
  void OnGUIClose() override { log += "close "; }
  void OnWindowResize() override { log += "resized "; }
  std::string log;
};

// A host context that also offers the run loop, as some hosts do instead of the frame.
class ContextWithLoop : public HostContext {
public:
  explicit ContextWithLoop(HostRunLoop* loop) : HostContext("Test Host"), mLoop(loop) {}
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    if (obj && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
      return mLoop->queryInterface(iid, obj);
    return HostContext::queryInterface(iid, obj);
  }

private:
  HostRunLoop* mLoop;
};

struct EditorViewTest : ::testing::Test {
  void Start(bool withEditor, FUnknown* context = nullptr) {
    plug = new EditorPlug(withEditor);
    ASSERT_EQ(kResultOk, plug->initialize(context));
  }
  IPlugView* NewView(HostFrame* frame) {
    IPlugView* view = plug->createView("editor");
    if (view && frame) view->setFrame(frame);
    return view;
  }
  void TearDown() override {
    if (plug) {
      plug->terminate();
      plug->release();
    }
    loop->release();
  }
  HostRunLoop* loop = new HostRunLoop();
  EditorPlug* plug = nullptr;
};

uint32 RefCount(IPlugVST3* plug) {
  plug->addRef();
  return plug->release();
}

TEST_F(EditorViewTest, ViewsComeForTheEditorNameOnlyAndKeepTheControllerUntilReleased) {
  Start(true);
  for (const char* name : {"Editor", "", "editor2"}) EXPECT_EQ(plug->createView(name), nullptr);
  EXPECT_EQ(plug->createView(nullptr), nullptr);
  const uint32 before = RefCount(plug);
  IPlugView* view = NewView(nullptr);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(RefCount(plug), before + 1);
  EXPECT_EQ(view->release(), 0u);
  EXPECT_EQ(RefCount(plug), before);
  // Views released after terminate find nothing to remove; the controller
  // they hold outlives them.
  IPlugView* late = NewView(nullptr);
  plug->terminate();
  EXPECT_EQ(late->release(), 0u);
  EXPECT_EQ(RefCount(plug), before);
}

TEST_F(EditorViewTest, ResizesGoToTheFirstViewAndOnlyTheRequestedOneReachesThePlugIn) {
  Start(true);
  auto* firstFrame = new HostFrame(loop);
  auto* secondFrame = new HostFrame(loop);
  IPlugView* first = NewView(firstFrame);
  IPlugView* second = NewView(secondFrame);
  plug->ResizeGraphics(400, 300);
  EXPECT_EQ(firstFrame->ResizeRequests(), 1);
  EXPECT_EQ(secondFrame->ResizeRequests(), 0);
  EXPECT_EQ(firstFrame->LastSize().getWidth(), 400);
  EXPECT_EQ(plug->log, "resized ");
  ViewRect hostSize(0, 0, 500, 400);
  EXPECT_EQ(first->onSize(&hostSize), kResultOk); // the host's own resize: not told
  EXPECT_EQ(first->onSize(nullptr), kResultOk);
  EXPECT_EQ(plug->log, "resized ");
  // With the first view gone, the second takes the requests.
  first->release();
  plug->ResizeGraphics(410, 310);
  EXPECT_EQ(secondFrame->ResizeRequests(), 1);
  second->release();
  plug->ResizeGraphics(420, 320); // no view: dropped
  EXPECT_EQ(secondFrame->ResizeRequests(), 1);
  firstFrame->release();
  secondFrame->release();
}

TEST_F(EditorViewTest, AttachRefusesWhatItCannotShowAndOpensOnceOtherwise) {
  Start(true);
  auto* frame = new HostFrame(loop);
  auto* noLoop = new HostFrame(nullptr);
  IPlugView* view = NewView(noLoop);
  const struct {
    void* parent;
    FIDString type;
  } refused[] = {{kParent, kPlatformTypeNSView},
                 {kParent, kPlatformTypeHIView},
                 {kParent, nullptr},
                 {nullptr, kPlatformTypeX11EmbedWindowID}};
  for (const auto& c : refused) EXPECT_EQ(view->attached(c.parent, c.type), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeNSView), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultOk);
  // No run loop from the frame or the host context: refused, nothing opened.
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_FALSE(plug->GetGUI()->WindowIsOpen());
  EXPECT_EQ(plug->log, "");
  view->setFrame(frame);
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_TRUE(plug->GetGUI()->WindowIsOpen());
  // One editor per plug-in: a second view cannot show it at the same time.
  IPlugView* other = NewView(frame);
  EXPECT_EQ(other->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_FALSE(plug->GetGUI()->WindowIsOpen());
  EXPECT_EQ(other->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
  // Released while open: the window closes as if removed.
  other->release();
  EXPECT_FALSE(plug->GetGUI()->WindowIsOpen());
  EXPECT_EQ(plug->log, "open close open close ");
  EXPECT_EQ(loop->Registered(), 0);
  view->release();
  frame->release();
  noLoop->release();
}

TEST_F(EditorViewTest, TheRunLoopMayComeFromTheHostContext) {
  auto* context = new ContextWithLoop(loop);
  Start(true, context);
  IPlugView* view = NewView(nullptr);
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(plug->log, "open ");
  view->release();
  plug->terminate();
  context->release();
}

TEST_F(EditorViewTest, APlugInWithoutAnEditorStillGivesAViewThatShowsNothing) {
  Start(false);
  auto* frame = new HostFrame(loop);
  IPlugView* view = NewView(frame);
  ASSERT_NE(view, nullptr);
  ViewRect r;
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->getSize(&r), kResultFalse);
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(plug->log, "");
  view->release();
  frame->release();
}

TEST_F(EditorViewTest, TheHostMenuOpensAtTheFirstViewInItsPixelsWhenTheHostOffersMenus) {
  Start(true);
  plug->PopupHostContextMenuForParam(1, 10, 20); // no handler, no view: nothing
  auto* plain = new EditRecorder(false);
  auto* menus = new EditRecorder(true);
  auto* frame = new HostFrame(loop);
  IPlugView* view = NewView(frame);
  IPlugViewContentScaleSupport* scaling = nullptr;
  view->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&scaling));
  scaling->setContentScaleFactor(2.0f);
  scaling->release();
  plug->setComponentHandler(plain);
  plug->PopupHostContextMenuForParam(1, 10, 20);
  EXPECT_TRUE(plain->Records().empty());
  plug->setComponentHandler(menus);
  plug->PopupHostContextMenuForParam(-1, 10, 20); // no parameter: no menu
  plug->PopupHostContextMenuForParam(1, 10, 20);
  ASSERT_EQ(menus->Records().size(), 1u);
  EXPECT_EQ(menus->Records()[0].kind, 'm');
  EXPECT_EQ(menus->Records()[0].id, 1u);
  EXPECT_EQ(menus->Records()[0].x, 20);
  EXPECT_EQ(menus->Records()[0].y, 40);
  EXPECT_EQ(menus->MenusAlive(), 0);
  plug->setComponentHandler(nullptr);
  view->release();
  frame->release();
  plain->release();
  menus->release();
}

} // namespace
