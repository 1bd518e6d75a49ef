#include "platform/headless/IGraphicsHeadless.h"

#include <atomic>
#include <cstring>

#include "editor/IControl.h"
#include "editor/IPopupMenu.h"
#include "framework/IParam.h"
#include "lice/lice.h"
#include "lice/lice_png.h"

namespace {

std::atomic<int> s_decodedBitmaps{0};

const char* LastComponent(const char* name) {
  const char* slash = strrchr(name, '/');
  return slash ? slash + 1 : name;
}

void DescribeMenu(const IPopupMenu* menu, std::string* out) {
  char title[512];
  for (int i = 0; i < menu->GetNItems(); ++i) {
    const IPopupMenuItem* item = menu->GetItem(i);
    menu->GetItemTitle(i, title, sizeof(title));
    if (item->GetIsSeparator())
      *out += "--";
    else if (item->GetSubmenu())
      *out += std::string("> ") + title;
    else
      *out += std::string(item->GetChecked() ? "[x] " : "") + (item->GetEnabled() ? "" : "(-) ") +
              title;
    *out += '\n';
  }
}

} // namespace

IGraphicsHeadless::IGraphicsHeadless(IPlugBase* plug, int w, int h, int fps,
                                     const char* resourceDir)
    : IGraphics(plug, w, h, fps), mResourceDir(resourceDir ? resourceDir : "") {}

int IGraphicsHeadless::DecodedBitmaps() {
  return s_decodedBitmaps.load();
}

LICE_IBitmap* IGraphicsHeadless::OSLoadBitmap(int, const char* name) {
  if (!name || !*name) return nullptr;
  const char* file = LastComponent(name);
  if (!*file) return nullptr;
  const std::string path = mResourceDir.empty() ? file : mResourceDir + "/" + file;
  LICE_IBitmap* bitmap = LICE_LoadPNG(path.c_str());
  if (bitmap) ++s_decodedBitmaps;
  return bitmap;
}

bool IGraphicsHeadless::DrawScreen(IRECT* region) {
  mScreenUpdates.push_back(region ? *region : IRECT());
  return true;
}

bool IGraphicsHeadless::Poll() {
  IRECT dirty;
  if (!IsDirty(&dirty)) return false;
  Draw(&dirty);
  return true;
}

int IGraphicsHeadless::ShowMessageBox(const char* text, const char* caption, int type) {
  mScript.Record(
      {HeadlessCall::kMessageBox, text ? text : "", type, IRECT(), caption ? caption : ""});
  return mScript.NextMessageBoxAnswer();
}

IPopupMenu* IGraphicsHeadless::CreateIPopupMenu(IPopupMenu* menu, IRECT* area) {
  if (!menu) return nullptr;
  ReleaseMouseCapture();
  HeadlessCall call{HeadlessCall::kMenu, "", menu->GetNItems(), area ? *area : IRECT(), ""};
  DescribeMenu(menu, &call.text);
  mScript.Record(call);
  std::vector<int> path;
  if (!mScript.NextMenu(&path)) return nullptr;
  // Walk into submenus; a path that names no selectable item is no choice.
  IPopupMenu* current = menu;
  for (size_t i = 0; i < path.size(); ++i) {
    const IPopupMenuItem* item = current->GetItem(path[i]);
    if (!item || item->GetIsSeparator() || !item->GetEnabled()) return nullptr;
    if (i + 1 < path.size()) {
      current = item->GetSubmenu();
      if (!current) return nullptr;
    } else if (item->GetSubmenu()) {
      return nullptr;
    }
  }
  current->SetChosenItemIdx(path.back());
  return current;
}

void IGraphicsHeadless::CreateTextEntry(IControl* control, IText*, IRECT* area, const char* str,
                                        IParam* param) {
  if (!control) return;
  ForceEndUserEdit();
  mScript.Record({HeadlessCall::kTextEntry, str ? str : "", control->ParamIdx(),
                  area ? *area : IRECT(), param ? param->GetNameForHost() : ""});
  mEntryControl = control;
  mEntryParam = param;
  std::string typed;
  if (mScript.NextText(&typed)) FinishTextEntry(typed.c_str());
}

void IGraphicsHeadless::FinishTextEntry(const char* text) {
  IControl* control = mEntryControl;
  IParam* param = mEntryParam;
  if (!control) return;
  mEntryControl = nullptr;
  mEntryParam = nullptr;
  // Cut to the control's entry length, as a text field would refuse more.
  std::string typed = text ? text : "";
  const int limit = control->GetTextEntryLength();
  if (limit >= 0 && typed.size() > static_cast<size_t>(limit)) typed.resize(limit);
  mScript.Record({HeadlessCall::kTextEntryEnded, typed, control->ParamIdx(), IRECT(), ""});
  if (param)
    SetFromStringAfterPrompt(control, param, &typed[0]);
  else
    control->TextFromTextEntry(typed.c_str());
}

void IGraphicsHeadless::ForceEndUserEdit() {
  mEntryControl = nullptr;
  mEntryParam = nullptr;
}

void IGraphicsHeadless::HostPath(WDL_String* path) {
  if (path) path->Set("");
}

void IGraphicsHeadless::PluginPath(WDL_String* path) {
  if (path) path->Set(mResourceDir.c_str());
}

void IGraphicsHeadless::DesktopPath(WDL_String* path) {
  if (path) path->Set("");
}

void IGraphicsHeadless::AppSupportPath(WDL_String* path) {
  if (path) path->Set("");
}

void IGraphicsHeadless::PromptForFile(WDL_String* file, EFileAction action, WDL_String* dir,
                                      char* extensions) {
  mScript.Record({HeadlessCall::kFilePrompt, dir ? dir->Get() : "", action, IRECT(),
                  extensions ? extensions : ""});
  const std::string chosen = mScript.NextFile();
  if (file) file->Set(chosen.c_str());
}

bool IGraphicsHeadless::PromptForColor(IColor* color, char* prompt) {
  mScript.Record({HeadlessCall::kColorPrompt, prompt ? prompt : "", 0, IRECT(), ""});
  IColor chosen;
  if (!mScript.NextColor(&chosen)) return false;
  if (color) *color = chosen;
  return true;
}

bool IGraphicsHeadless::OpenURL(const char* url, const char*, const char*,
                                const char* errMsgOnFailure) {
  mScript.Record({HeadlessCall::kOpenURL, url ? url : "", errMsgOnFailure ? 1 : 0, IRECT(),
                  errMsgOnFailure ? errMsgOnFailure : ""});
  return url && *url && mScript.NextURLResult();
}

void* IGraphicsHeadless::OpenWindow(void*) {
  mOpen = true;
  return this;
}

void IGraphicsHeadless::UpdateTooltips() {
  mScript.Record({HeadlessCall::kTooltips, "", TooltipsEnabled() ? 1 : 0, IRECT(), ""});
}
