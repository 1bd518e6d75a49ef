// Message boxes and file prompts: the desktop's dialog program when there is
// one, waited for while our own window keeps repainting; else our own
// message box, and for files a cancel.
#include <cerrno>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "detail/ChildProcess.h"
#include "detail/ExternalDialog.h"
#include "detail/MessageBoxWindow.h"
#include "detail/ModalClient.h"
#include "platform/linux/IGraphicsLinux.h"

namespace {

// A started dialog program: its output collected until it closes, then its
// end awaited, without ever blocking on it.
class ProgramWait : public ModalClient {
public:
  ProgramWait(pid_t pid, int fd) : mPid(pid), mFd(fd) {}
  ~ProgramWait() override {
    if (mFd >= 0) close(mFd);
    // Still running (our window went): the reaper collects it later.
    if (!mEnded) ReapLater(mPid);
  }

  bool OnModalEvent(xcb_generic_event_t*) override { return false; }
  void OnModalFdReady() override {
    if (mFd < 0) return;
    char buf[4096];
    ssize_t n;
    while ((n = read(mFd, buf, sizeof(buf))) > 0) mOutput.append(buf, static_cast<size_t>(n));
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
      close(mFd);
      mFd = -1;
    }
  }
  bool ModalDone() override {
    if (mFd >= 0) return false;
    if (!mEnded) CheckEnded();
    // A loop that watches the descriptor must stop once it is closed.
    return mEnded || mWatchingFd;
  }
  void CheckEnded() {
    int status = 0;
    const pid_t done = waitpid(mPid, &status, WNOHANG);
    if (done == mPid || (done < 0 && errno != EINTR)) {
      mEnded = true;
      mExited = done == mPid && WIFEXITED(status);
      mExitCode = mExited ? WEXITSTATUS(status) : -1;
    }
  }
  bool mWatchingFd = false;
  bool mExited = false;
  int mExitCode = -1;
  std::string mOutput;

private:
  pid_t mPid;
  int mFd;
  bool mEnded = false;
};

// Runs the program to its end; false when it could not be started or our
// window went first.
bool RunProgram(IGraphicsLinux* host, const std::vector<std::string>& argv, bool* exited,
                int* exitCode, std::string* output) {
  pid_t pid = 0;
  int fd = -1;
  if (argv.empty() || !SpawnProgram(argv, &pid, &fd)) return false;
  ProgramWait wait(pid, fd);
  // First the output to its end, then the exit, which the modal loop
  // checks at every frame.
  wait.mWatchingFd = true;
  if (!host->RunModal(&wait, fd)) return false;
  wait.mWatchingFd = false;
  if (!host->RunModal(&wait) && !wait.ModalDone()) return false;
  *exited = wait.mExited;
  *exitCode = wait.mExitCode;
  *output = wait.mOutput;
  return true;
}

} // namespace

int IGraphicsLinux::ShowMessageBox(const char* text, const char* caption, int type) {
  if (!mWindow || mWindowGone || mModal) return 0;
  HideTooltip();
  const DialogProgram program = FindDialogProgram();
  bool exited = false;
  int exitCode = -1;
  std::string output;
  if (program.tool != DialogTool::kNone &&
      RunProgram(this, MessageBoxArgv(program, text, caption, type), &exited, &exitCode, &output))
    return MessageBoxAnswer(program.tool, type, exited, exitCode, output);
  if (!mWindow || mWindowGone) return 0;
  MessageBoxWindow box(this);
  return box.Run(text, caption, type);
}

void IGraphicsLinux::PromptForFile(WDL_String* file, EFileAction action, WDL_String* dir,
                                   char* extensions) {
  if (!file) return;
  const std::string proposed = file->Get();
  file->Set("");
  if (!mWindow || mWindowGone || mModal) return;
  HideTooltip();
  std::string start = dir && *dir->Get() ? dir->Get() : "";
  if (!start.empty() && start.back() != '/') start += '/';
  start += proposed;
  const DialogProgram program = FindDialogProgram();
  if (program.tool == DialogTool::kNone) return;
  bool exited = false;
  int exitCode = -1;
  std::string output;
  if (!RunProgram(this, FilePromptArgv(program, action, start, extensions), &exited, &exitCode,
                  &output))
    return;
  const std::string chosen = FilePromptAnswer(exited, exitCode, output);
  if (chosen.empty()) return;
  file->Set(chosen.c_str());
  if (dir) dir->Set(chosen.substr(0, chosen.rfind('/') + 1).c_str());
}
