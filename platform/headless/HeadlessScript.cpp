#include "platform/headless/HeadlessScript.h"

int HeadlessScript::Count(HeadlessCall::EKind kind) const {
  int n = 0;
  for (const HeadlessCall& call : mCalls) n += call.kind == kind;
  return n;
}

const HeadlessCall* HeadlessScript::Last(HeadlessCall::EKind kind) const {
  for (auto it = mCalls.rbegin(); it != mCalls.rend(); ++it)
    if (it->kind == kind) return &*it;
  return nullptr;
}

bool HeadlessScript::NextMenu(std::vector<int>* path) {
  if (mMenus.empty()) return false;
  *path = std::move(mMenus.front());
  mMenus.pop_front();
  return !path->empty();
}

bool HeadlessScript::NextText(std::string* text) {
  if (mTexts.empty()) return false;
  *text = std::move(mTexts.front());
  mTexts.pop_front();
  return true;
}

std::string HeadlessScript::NextFile() {
  if (mFiles.empty()) return std::string();
  std::string path = std::move(mFiles.front());
  mFiles.pop_front();
  return path;
}

bool HeadlessScript::NextColor(IColor* color) {
  if (mColors.empty()) return false;
  const ColorAnswer answer = mColors.front();
  mColors.pop_front();
  if (answer.ok) *color = answer.color;
  return answer.ok;
}

int HeadlessScript::NextMessageBoxAnswer() {
  if (mAnswers.empty()) return 0;
  const int answer = mAnswers.front();
  mAnswers.pop_front();
  return answer;
}

bool HeadlessScript::NextURLResult() {
  if (mURLResults.empty()) return true;
  const bool ok = mURLResults.front();
  mURLResults.pop_front();
  return ok;
}
