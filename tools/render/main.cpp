// grittlebox-render: renders an audio file, or a built-in demo, through the
// Grittlebox VST 3 bundle.
#include <cstdio>
#include <string>

#include "tools/render/Render.h"
#include "tools/render/RenderOptions.h"

int main(int argc, char** argv) {
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(argc, argv, &options, &error)) {
    fprintf(stderr, "grittlebox-render: %s\n(run with --help for usage)\n", error.c_str());
    return 2;
  }
  if (options.help) {
    fputs(RenderUsage(), stdout);
    return 0;
  }
  std::string written;
  if (!RunRender(options, &written, &error)) {
    fprintf(stderr, "grittlebox-render: %s\n", error.c_str());
    return 1;
  }
  printf("wrote %s\n", written.c_str());
  return 0;
}
