// grittlebox-editor: the effect's editor in a window of its own.
#include <csignal>
#include <cstdio>

#include "tools/editor/EditorOptions.h"
#include "tools/editor/EditorSession.h"

namespace {

volatile int sStop = 0;

void RequestStop(int) {
  sStop = 1;
}

} // namespace

int main(int argc, char** argv) {
  EditorOptions options;
  std::string error;
  if (!ParseEditorOptions(argc, argv, &options, &error)) {
    fprintf(stderr, "grittlebox-editor: %s\n", error.c_str());
    return 2;
  }
  if (options.help) {
    fputs(EditorUsage(), stdout);
    return 0;
  }
  // Ctrl-C and a plain kill close the editor as the window's close button does.
  signal(SIGINT, RequestStop);
  signal(SIGTERM, RequestStop);
  return RunEditorSession(options, &sStop);
}
