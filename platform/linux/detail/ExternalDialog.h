#pragma once
// Message boxes and file prompts through the desktop's dialog program:
// which one, the argument array for each question, and what its exit code
// and output answer. Starting and waiting are the caller's.
#include <string>
#include <vector>

#include "editor/IGraphics.h" // EFileAction

enum class DialogTool { kNone, kZenity, kKDialog };

struct DialogProgram {
  DialogTool tool = DialogTool::kNone;
  std::string path;
};

// zenity when on PATH, else kdialog, else none.
DialogProgram FindDialogProgram();

// The buttons of a message box type: 3 Yes, No, Cancel; 4 Yes, No; 1 OK,
// Cancel; any other OK alone. The answer of button i is {1, 7, 2}[i].
std::vector<const char*> MessageBoxButtons(int type);
int MessageBoxAnswerForButton(int button);

std::vector<std::string> MessageBoxArgv(const DialogProgram& program, const char* text,
                                        const char* caption, int type);
// exited is false when the program was killed or did not run: no answer (0).
int MessageBoxAnswer(DialogTool tool, int type, bool exited, int exitCode,
                     const std::string& output);

// extensions are split at spaces ("fxp fxb" allows *.fxp and *.fxb).
std::vector<std::string> FilePromptArgv(const DialogProgram& program, EFileAction action,
                                        const std::string& startPath, const char* extensions);
// The chosen path, or "" for a cancel.
std::string FilePromptAnswer(bool exited, int exitCode, const std::string& output);
