#pragma once
// One popup menu from opening to choice: a window per open level (the menu
// and the submenus opened to the side), drawn with our raster code from the
// editor's menu rules (NativeMenu), with the pointer and keyboard grabbed
// while it runs inside the host's modal loop.
#include <memory>
#include <vector>
#include <xcb/xcb.h>

#include "ModalClient.h"
#include "editor/NativeMenu.h"
#include "platform/linux/OverlayWindow.h"

class IGraphicsLinux;
class IPopupMenu;
class LICE_IFont;

class PopupMenuWindow : public ModalClient {
public:
  explicit PopupMenuWindow(IGraphicsLinux* host);
  ~PopupMenuWindow() override;

  // Shows the menu with its top-left at rootX, rootY (moved to stay on the
  // screen) and runs it. Returns the menu that holds the chosen item, with
  // its chosen index set, or null for no choice.
  IPopupMenu* Run(IPopupMenu* menu, int rootX, int rootY);

  bool OnModalEvent(xcb_generic_event_t* event) override;
  bool ModalDone() override { return mDone; }

private:
  struct Level {
    int menu = 0;            // in mModel
    std::vector<int> rowTop; // canvas y of each entry, plus the bottom
    int highlight = -1;
    OverlayWindow window;
  };

  bool OpenLevel(int menu, int x, int y, int flipRightEdge);
  int Rows(const Level& level) const { return mModel.NEntries(level.menu); }
  void CloseLevelsAbove(size_t depth);
  void Paint(Level& level);
  void PaintRow(Level& level, int row, int w);
  int RowAt(const Level& level, int rootX, int rootY) const;
  void OnPointer(int rootX, int rootY, bool press, bool release);
  void OnKey(uint32_t keysym);
  void SetHighlight(size_t depth, int row);
  void OpenSubmenu(size_t depth, int row, bool highlightFirst);
  int SubmenuOf(const Level& level, int row) const;
  void Choose(size_t depth, int row);
  bool Grab();
  void Ungrab();

  IGraphicsLinux* mHost;
  NativeMenu mModel;
  std::vector<std::unique_ptr<Level>> mLevels;
  IPopupMenu* mResult = nullptr;
  bool mDone = false;
  bool mGrabbed = false;
  bool mPressedInside = false;
  bool mPointerMoved = false;
  LICE_IFont* mFont = nullptr;
  int mRowH, mSeparatorH, mPadV, mCheckW, mArrowW, mIndentW, mPadRight, mMinW;
};
