#include "detail/ExternalDialog.h"

#include <sstream>

#include "detail/ChildProcess.h"

namespace {

// A text that starts with '-' would read as an option to the program.
std::string Plain(const char* text) {
  const std::string s = text ? text : "";
  return !s.empty() && s[0] == '-' ? " " + s : s;
}

std::string Patterns(const char* extensions) {
  std::istringstream in(extensions ? extensions : "");
  std::string ext, out;
  while (in >> ext) out += (out.empty() ? "*." : " *.") + ext;
  return out;
}

std::string FirstLine(const std::string& output) {
  const size_t end = output.find('\n');
  return end == std::string::npos ? output : output.substr(0, end);
}

} // namespace

DialogProgram FindDialogProgram() {
  DialogProgram program;
  if (!(program.path = FindOnPath("zenity")).empty()) {
    program.tool = DialogTool::kZenity;
  } else if (!(program.path = FindOnPath("kdialog")).empty()) {
    program.tool = DialogTool::kKDialog;
  }
  return program;
}

std::vector<const char*> MessageBoxButtons(int type) {
  switch (type) {
  case 3:
    return {"Yes", "No", "Cancel"};
  case 4:
    return {"Yes", "No"};
  case 1:
    return {"OK", "Cancel"};
  default:
    return {"OK"};
  }
}

int MessageBoxAnswerForButton(int button) {
  static const int answers[] = {1, 7, 2};
  return button >= 0 && button < 3 ? answers[button] : 0;
}

std::vector<std::string> MessageBoxArgv(const DialogProgram& program, const char* text,
                                        const char* caption, int type) {
  const std::vector<const char*> buttons = MessageBoxButtons(type);
  const std::string body = Plain(text), title = Plain(caption);
  if (program.tool == DialogTool::kZenity) {
    std::vector<std::string> argv = {program.path, "--no-markup", "--title=" + title,
                                     "--text=" + body};
    if (buttons.size() == 1) {
      argv.insert(argv.begin() + 1, "--info");
      return argv;
    }
    argv.insert(argv.begin() + 1, "--question");
    argv.push_back(std::string("--ok-label=") + buttons[0]);
    argv.push_back(std::string("--cancel-label=") + buttons[1]);
    if (buttons.size() == 3) argv.push_back(std::string("--extra-button=") + buttons[2]);
    return argv;
  }
  if (program.tool == DialogTool::kKDialog) {
    if (buttons.size() == 3) return {program.path, "--title", title, "--yesnocancel", body};
    if (buttons.size() == 1) return {program.path, "--title", title, "--msgbox", body};
    return {program.path,  "--title",  title,        "--yesno", body,
            "--yes-label", buttons[0], "--no-label", buttons[1]};
  }
  return {};
}

int MessageBoxAnswer(DialogTool tool, int type, bool exited, int exitCode,
                     const std::string& output) {
  if (!exited) return 0;
  const size_t nButtons = MessageBoxButtons(type).size();
  if (exitCode == 0) return MessageBoxAnswerForButton(0);
  if (nButtons == 1) return 0;
  if (tool == DialogTool::kZenity && exitCode == 1) {
    // The extra button prints its label; the second button prints nothing.
    if (nButtons == 3 && FirstLine(output) == MessageBoxButtons(type)[2])
      return MessageBoxAnswerForButton(2);
    return MessageBoxAnswerForButton(1);
  }
  if (tool == DialogTool::kKDialog && exitCode >= 1 && static_cast<size_t>(exitCode) < nButtons)
    return MessageBoxAnswerForButton(exitCode);
  return 0;
}

std::vector<std::string> FilePromptArgv(const DialogProgram& program, EFileAction action,
                                        const std::string& startPath, const char* extensions) {
  const std::string patterns = Patterns(extensions);
  if (program.tool == DialogTool::kZenity) {
    std::vector<std::string> argv = {program.path, "--file-selection"};
    if (action == kFileSave) {
      argv.push_back("--save");
      argv.push_back("--confirm-overwrite");
    }
    if (!startPath.empty()) argv.push_back("--filename=" + startPath);
    if (!patterns.empty()) argv.push_back("--file-filter=" + patterns);
    return argv;
  }
  if (program.tool == DialogTool::kKDialog) {
    std::vector<std::string> argv = {
        program.path, action == kFileSave ? "--getsavefilename" : "--getopenfilename",
        startPath.empty() ? "." : Plain(startPath.c_str())};
    if (!patterns.empty()) argv.push_back(patterns);
    return argv;
  }
  return {};
}

std::string FilePromptAnswer(bool exited, int exitCode, const std::string& output) {
  if (!exited || exitCode != 0) return "";
  const std::string path = FirstLine(output);
  // Only a full path is an answer.
  return !path.empty() && path[0] == '/' ? path : "";
}
