#pragma once
// What a headless editor answers when it is asked something a user would
// answer (menus, text entries, file and colour prompts, message boxes, web
// addresses), and the record of every such request and every screen update.
// Tests queue answers before they act; unqueued requests get the default
// answer: dismissed menus, cancelled prompts, text entries left open, message
// boxes answered 0 and addresses that open.
#include <deque>
#include <string>
#include <vector>

#include "editor/IColor.h"
#include "editor/IRECT.h"

struct HeadlessCall {
  enum EKind {
    kMenu,
    kTextEntry,
    kTextEntryEnded,
    kFilePrompt,
    kColorPrompt,
    kMessageBox,
    kOpenURL,
    kTooltips
  };
  EKind kind;
  // Menu: one line per item ("[x] " when checked, "(-) " disabled, "--" a
  // separator, "> " a submenu), titles numbered as the prefix says. Text
  // entry: the text it opened with. Message box: the text. URL: the address.
  // File prompt: the starting directory.
  std::string text;
  // Text entries, menus, message boxes: the parameter index, caption length
  // or type; URLs: 1 when an error message was given.
  int value = 0;
  IRECT area;
  // Message box caption, text-entry's parameter name, URL error message.
  std::string detail;
};

class HeadlessScript {
public:
  // Menus: the item to choose by position, into submenus for longer paths;
  // an empty path dismisses the menu.
  void ChooseMenuItem(std::vector<int> path) { mMenus.push_back(std::move(path)); }
  void DismissMenu() { mMenus.push_back({}); }
  // Text entries: finish the next one with this text.
  void TypeText(const std::string& text) { mTexts.push_back(text); }
  // File prompts: the path chosen; empty cancels.
  void ChooseFile(const std::string& path) { mFiles.push_back(path); }
  void ChooseColor(const IColor& color) { mColors.push_back({true, color}); }
  void CancelColor() { mColors.push_back({false, IColor()}); }
  void AnswerMessageBox(int answer) { mAnswers.push_back(answer); }
  // URL openings: whether the next one succeeds.
  void OpenURLSucceeds(bool ok) { mURLResults.push_back(ok); }

  const std::vector<HeadlessCall>& Calls() const { return mCalls; }
  int Count(HeadlessCall::EKind kind) const;
  // The last call of a kind, or null.
  const HeadlessCall* Last(HeadlessCall::EKind kind) const;
  void ClearCalls() { mCalls.clear(); }

  // For the host: take the next answer of a kind (the default when none is queued).
  bool NextMenu(std::vector<int>* path);
  bool NextText(std::string* text);
  std::string NextFile();
  bool NextColor(IColor* color);
  int NextMessageBoxAnswer();
  bool NextURLResult();
  void Record(HeadlessCall call) { mCalls.push_back(std::move(call)); }

private:
  struct ColorAnswer {
    bool ok;
    IColor color;
  };
  std::deque<std::vector<int>> mMenus;
  std::deque<std::string> mTexts;
  std::deque<std::string> mFiles;
  std::deque<ColorAnswer> mColors;
  std::deque<int> mAnswers;
  std::deque<bool> mURLResults;
  std::vector<HeadlessCall> mCalls;
};
