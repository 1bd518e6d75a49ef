#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

#include "tests/host-check/checks.h"

namespace hostcheck {

namespace {

// The WM class of a window, read on a connection of our own.
std::string windowClass(xcb_connection_t* c, xcb_window_t window) {
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64), nullptr);
  std::string text;
  if (reply)
    text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                static_cast<size_t>(xcb_get_property_value_length(reply)));
  free(reply);
  return text;
}

// A viewable window of the plug-in's editor anywhere below the given one.
bool pluginWindowBelow(xcb_connection_t* c, xcb_window_t window, int depth = 0) {
  if (depth > 8) return false;
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
  if (!tree) return false;
  bool found = false;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr);
    const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    free(a);
    found = (viewable && windowClass(c, children[i]).rfind("IGraphicsLinux_v", 0) == 0) ||
            pluginWindowBelow(c, children[i], depth + 1);
  }
  free(tree);
  return found;
}

bool pluginWindowShown(juce::Component& editor) {
  juce::ComponentPeer* peer = editor.getPeer();
  if (peer == nullptr) return false;
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  const bool shown =
      !xcb_connection_has_error(c) &&
      pluginWindowBelow(
          c, static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(peer->getNativeHandle())));
  xcb_disconnect(c);
  return shown;
}

// The host's windows look up some window-manager atoms only if they exist,
// and end the process with an X error when one does not: a bare virtual
// server has no window manager to make them. Making them, on a connection
// kept open so the server does not reset, stands in for one.
class WindowManagerAtoms {
public:
  WindowManagerAtoms() : mConn(xcb_connect(nullptr, nullptr)) {
    static const char* const kNames[] = {"WM_PROTOCOLS",
                                         "WM_DELETE_WINDOW",
                                         "WM_TAKE_FOCUS",
                                         "WM_STATE",
                                         "WM_CHANGE_STATE",
                                         "_NET_SUPPORTED",
                                         "_NET_WM_NAME",
                                         "_NET_WM_ICON_NAME",
                                         "_NET_WM_PID",
                                         "_NET_WM_PING",
                                         "_NET_WM_STATE",
                                         "_NET_WM_STATE_SKIP_TASKBAR",
                                         "_NET_WM_STATE_HIDDEN",
                                         "_NET_WM_STATE_FULLSCREEN",
                                         "_NET_WM_STATE_MAXIMIZED_VERT",
                                         "_NET_WM_STATE_MAXIMIZED_HORZ",
                                         "_NET_WM_STATE_ABOVE",
                                         "_NET_WM_WINDOW_TYPE",
                                         "_NET_WM_WINDOW_TYPE_NORMAL",
                                         "_NET_WM_WINDOW_TYPE_DIALOG",
                                         "_NET_WM_WINDOW_TYPE_COMBO",
                                         "_NET_WM_WINDOW_TYPE_MENU",
                                         "_NET_WM_WINDOW_TYPE_TOOLTIP",
                                         "_NET_WM_ICON",
                                         "_NET_WM_USER_TIME",
                                         "_NET_WM_ALLOWED_ACTIONS",
                                         "_NET_WM_ACTION_MOVE",
                                         "_NET_WM_ACTION_RESIZE",
                                         "_NET_WM_ACTION_CLOSE",
                                         "_NET_WM_ACTION_MINIMIZE",
                                         "_NET_WM_ACTION_MAXIMIZE_HORZ",
                                         "_NET_WM_ACTION_MAXIMIZE_VERT",
                                         "_NET_FRAME_EXTENTS",
                                         "_NET_ACTIVE_WINDOW",
                                         "_NET_WM_WINDOW_OPACITY",
                                         "_MOTIF_WM_HINTS",
                                         "_XEMBED",
                                         "_XEMBED_INFO",
                                         "UTF8_STRING",
                                         "CLIPBOARD",
                                         "TARGETS",
                                         "XdndAware",
                                         "XdndEnter",
                                         "XdndLeave",
                                         "XdndPosition",
                                         "XdndStatus",
                                         "XdndDrop",
                                         "XdndFinished",
                                         "XdndSelection",
                                         "XdndTypeList",
                                         "XdndActionList",
                                         "XdndActionDescription",
                                         "XdndActionCopy",
                                         "XdndActionPrivate",
                                         "text/uri-list",
                                         "text/plain;charset=utf-8",
                                         "_NET_WM_BYPASS_COMPOSITOR",
                                         "_NET_WM_CM_S0",
                                         "_NET_WM_FULL_PLACEMENT",
                                         "_NET_REQUEST_FRAME_EXTENTS",
                                         "_GTK_FRAME_EXTENTS",
                                         "_NET_WM_SYNC_REQUEST",
                                         "_NET_WM_SYNC_REQUEST_COUNTER"};
    if (xcb_connection_has_error(mConn)) return;
    for (const char* name : kNames)
      free(xcb_intern_atom_reply(
          mConn, xcb_intern_atom(mConn, 0, static_cast<uint16_t>(strlen(name)), name), nullptr));
  }
  ~WindowManagerAtoms() { xcb_disconnect(mConn); }

private:
  xcb_connection_t* mConn;
};

} // namespace

void checkEditor(PluginHost& host, CheckReport& report) {
  if (getenv("DISPLAY") == nullptr || *getenv("DISPLAY") == 0) {
    std::fprintf(stderr, "editor checks skipped: no X display (run under xvfb-run)\n");
    return;
  }
  const WindowManagerAtoms atoms;
  std::unique_ptr<juce::AudioPluginInstance> instance = createInstance(host, report, "the editor");
  if (instance == nullptr) return;
  if (!report.expect(instance->hasEditor(), "the effect has an editor")) return;
  for (int round = 1; round <= 2; ++round) {
    const std::string name = "editor opening " + std::to_string(round);
    std::unique_ptr<juce::AudioProcessorEditor> editor(instance->createEditorIfNeeded());
    if (!report.expect(editor != nullptr, name + ": the host creates the editor")) return;
    report.expect(editor->getWidth() == 350 && editor->getHeight() == 288,
                  name + ": the editor is 350 x 288",
                  std::to_string(editor->getWidth()) + " x " + std::to_string(editor->getHeight()));
    editor->addToDesktop(0);
    editor->setVisible(true);
    bool shown = false;
    for (int waited = 0; waited < 3000 && !shown; waited += 50) {
      juce::MessageManager::getInstance()->runDispatchLoopUntil(50);
      shown = pluginWindowShown(*editor);
    }
    report.expect(shown, name + ": the plug-in's window shows inside the host's");
    editor.reset();
    juce::MessageManager::getInstance()->runDispatchLoopUntil(100);
  }
  instance.reset();
}

} // namespace hostcheck
