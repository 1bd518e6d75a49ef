#pragma once
// Command-line options of grittlebox-editor.
#include <string>

struct EditorOptions {
  std::string bundle;    // empty: found as grittlebox-render finds it
  double scale = 1.0;    // the host's content scale, 1 to 8
  std::string snapshot;  // write what the window shows after the first paint, then exit
  std::string state;     // a saved state to restore before the editor opens
  std::string saveState; // where to write the state on exit
  bool help = false;
};

// Fills options from argv; on a refusal returns false with a message in error.
bool ParseEditorOptions(int argc, const char* const* argv, EditorOptions* options,
                        std::string* error);

const char* EditorUsage();
