#include "tools/editor/EditorOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool ParseScale(const char* text, double* scale, std::string* error) {
  char* end = nullptr;
  errno = 0;
  const double v = text ? strtod(text, &end) : 0.0;
  if (!text || end == text || *end || errno == ERANGE || !std::isfinite(v) || v < 1.0 || v > 8.0) {
    *error = std::string("--scale takes a number from 1 to 8, not '") + (text ? text : "") + "'";
    return false;
  }
  *scale = v;
  return true;
}

} // namespace

bool ParseEditorOptions(int argc, const char* const* argv, EditorOptions* options,
                        std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    std::string* text = nullptr;
    if (!strcmp(arg, "--help") || !strcmp(arg, "-h")) {
      options->help = true;
      continue;
    }
    if (!strcmp(arg, "--scale")) {
      if (!ParseScale(next, &options->scale, error)) return false;
      ++i;
      continue;
    }
    if (!strcmp(arg, "--bundle")) text = &options->bundle;
    if (!strcmp(arg, "--snapshot")) text = &options->snapshot;
    if (!strcmp(arg, "--state")) text = &options->state;
    if (!strcmp(arg, "--save-state")) text = &options->saveState;
    if (!text) {
      *error = std::string("unknown option '") + arg + "' (--help lists them)";
      return false;
    }
    if (!next || !*next) {
      *error = std::string("missing value after ") + arg;
      return false;
    }
    *text = next;
    ++i;
  }
  return true;
}

const char* EditorUsage() {
  return "usage: grittlebox-editor [options]\n"
         "Opens the effect's editor in a window of its own, as a host shows it, and prints\n"
         "every parameter change and host menu the editor asks for.\n"
         "  --bundle PATH      the .vst3 bundle (default: $GRITTLEBOX_BUNDLE, the built one,\n"
         "                     ~/.vst3, /usr/lib/vst3, /usr/local/lib/vst3)\n"
         "  --scale S          the host's content scale, 1 to 8 (default 1)\n"
         "  --snapshot FILE    write what the window shows after the first paint as PNG, exit\n"
         "  --state FILE       restore a saved state before opening\n"
         "  --save-state FILE  write the state on exit\n";
}
