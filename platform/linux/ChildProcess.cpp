#include "detail/ChildProcess.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "wdl/mutex.h"

extern char** environ;

namespace {

WDL_Mutex& ReaperMutex() {
  static WDL_Mutex mutex;
  return mutex;
}

std::vector<pid_t>& Unreaped() {
  static std::vector<pid_t> pids;
  return pids;
}

} // namespace

bool SpawnProgram(const std::vector<std::string>& argv, pid_t* pid, int* stdoutFd) {
  if (argv.empty() || !pid) return false;
  int pipeFds[2] = {-1, -1};
  if (stdoutFd && pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (stdoutFd) posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  // The host's own descriptors (sockets, audio devices) stay the host's.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int rc = posix_spawnp(pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (stdoutFd) {
    close(pipeFds[1]);
    if (rc != 0) {
      close(pipeFds[0]);
    } else {
      fcntl(pipeFds[0], F_SETFL, fcntl(pipeFds[0], F_GETFL) | O_NONBLOCK);
      *stdoutFd = pipeFds[0];
    }
  }
  return rc == 0;
}

void ReapLater(pid_t pid) {
  if (pid <= 0) return;
  WDL_MutexLock lock(&ReaperMutex());
  Unreaped().push_back(pid);
}

void ReapFinishedChildren() {
  WDL_MutexLock lock(&ReaperMutex());
  std::vector<pid_t>& pids = Unreaped();
  for (size_t i = 0; i < pids.size();) {
    const pid_t done = waitpid(pids[i], nullptr, WNOHANG);
    // Ended, or no longer ours to wait for (the host reaped it).
    if (done == pids[i] || (done < 0 && errno == ECHILD)) {
      pids.erase(pids.begin() + static_cast<long>(i));
    } else {
      ++i;
    }
  }
}

int ChildrenAwaitingReap() {
  WDL_MutexLock lock(&ReaperMutex());
  return static_cast<int>(Unreaped().size());
}

std::string FindOnPath(const char* program) {
  const char* path = getenv("PATH");
  if (!program || !*program || !path) return "";
  const char* start = path;
  while (true) {
    const char* end = strchr(start, ':');
    std::string dir(start, end ? static_cast<size_t>(end - start) : strlen(start));
    if (!dir.empty()) {
      const std::string candidate = dir + "/" + program;
      struct stat st {};
      if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
          access(candidate.c_str(), X_OK) == 0)
        return candidate;
    }
    if (!end) return "";
    start = end + 1;
  }
}
