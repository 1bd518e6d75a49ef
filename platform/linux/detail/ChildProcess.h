#pragma once
// Programs we start (the URL opener, dialog programs): found on PATH and
// started with posix_spawnp and an argument array, never through a shell.
// Children nobody waits for are reaped without blocking, so none is left a
// zombie in the host.
#include <string>
#include <sys/types.h>
#include <vector>

// Starts argv[0] with standard input from /dev/null and no descriptors but
// 0..2 inherited. With stdoutFd, the child's standard output is a pipe whose
// reading end (non-blocking, close-on-exec) is stored there. False, with
// nothing left open, when the program cannot be started.
bool SpawnProgram(const std::vector<std::string>& argv, pid_t* pid, int* stdoutFd = nullptr);

// Hands a child to the module's reaper; ReapFinishedChildren collects those
// that have ended (every editor timer tick calls it).
void ReapLater(pid_t pid);
void ReapFinishedChildren();
int ChildrenAwaitingReap();

// The full path of a program on PATH, or "" when there is none.
std::string FindOnPath(const char* program);
