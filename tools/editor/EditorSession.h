#pragma once
// One run of grittlebox-editor: the bundle loaded as a host loads it, the
// editor view open in our own window on our own run loop, every edit and
// host-menu request printed, and the state saved on the way out.
#include <string>

#include "tools/editor/EditorOptions.h"

// Returns the process exit code; messages for the user go to stderr, the
// edit trail to stdout. stopRequested is polled between rounds of the loop.
int RunEditorSession(const EditorOptions& options, const volatile int* stopRequested);
