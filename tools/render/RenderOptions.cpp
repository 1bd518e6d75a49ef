#include "tools/render/RenderOptions.h"

#include <sndfile.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "effect/GrittleboxIdentity.h"

using grittlebox::kParamSpecs;

namespace {

// A number that is the whole argument, finite and within [lo, hi].
bool ParseValue(const char* name, const char* text, double lo, double hi, double* value,
                std::string* error) {
  if (!text) {
    *error = std::string("missing value after ") + name;
    return false;
  }
  char* end = nullptr;
  errno = 0;
  const double v = strtod(text, &end);
  if (end == text || *end != 0 || errno == ERANGE || !std::isfinite(v)) {
    *error = std::string("malformed value for ") + name + ": '" + text + "'";
    return false;
  }
  if (v < lo || v > hi) {
    char range[96];
    snprintf(range, sizeof range, " is outside %g .. %g", lo, hi);
    *error = std::string(name) + " " + text + range;
    return false;
  }
  *value = v;
  return true;
}

// A value for one of the effect's parameters, within its range.
bool ParseParamValue(const char* name, const char* text, grittlebox::EParamIndex param,
                     double* value, std::string* error) {
  return ParseValue(name, text, kParamSpecs[param].minValue, kParamSpecs[param].maxValue, value,
                    error);
}

// One gain or amount option's line of the usage text, from the parameter's range.
std::string ParamUsage(const char* option, grittlebox::EParamIndex param, const char* what) {
  const grittlebox::ParamSpec& spec = kParamSpecs[param];
  char line[160];
  snprintf(line, sizeof line, "  %-17s%s, %g .. %g %s (default %g)\n", option, what, spec.minValue,
           spec.maxValue, spec.label, spec.defaultValue);
  return line;
}

// The field an option that takes a path fills, or null for other arguments.
std::string* PathOption(const char* arg, RenderOptions* options) {
  if (!strcmp(arg, "--bundle")) return &options->bundle;
  if (!strcmp(arg, "--state")) return &options->state;
  if (!strcmp(arg, "--save-state")) return &options->saveState;
  if (!strcmp(arg, "--preset")) return &options->preset;
  if (!strcmp(arg, "--save-preset")) return &options->savePreset;
  return nullptr;
}

} // namespace

int SubformatFromName(const std::string& name) {
  if (name == "pcm16") return SF_FORMAT_PCM_16;
  if (name == "pcm24") return SF_FORMAT_PCM_24;
  if (name == "pcm32") return SF_FORMAT_PCM_32;
  if (name == "float") return SF_FORMAT_FLOAT;
  if (name == "double") return SF_FORMAT_DOUBLE;
  return 0;
}

const char* RenderUsage() {
  static const std::string usage =
      std::string("usage: grittlebox-render [options] [INPUT] [-o OUTPUT]\n"
                  "Renders an audio file (mono or stereo) through the Grittlebox clipper.\n"
                  "Without INPUT a short built-in demo signal is rendered.\n") +
      ParamUsage("--in DB", grittlebox::kParamIn, "input gain") +
      ParamUsage("--out DB", grittlebox::kParamOut, "output gain") +
      ParamUsage("--distort PCT", grittlebox::kParamDistort, "clipping amount") +
      "  --bypass         pass the signal through unchanged\n"
      "  --param NAME=V   set a parameter by the name the host sees (In, Out,\n"
      "                   Distort, Bypass) to a plain value or a value text\n"
      "  --block N        frames per processing call, 1 .. 65536 (default 4096)\n"
      "  --precision B    32 or 64-bit processing (default 64)\n"
      "  --bundle PATH    the Grittlebox.vst3 bundle to load (default: $GRITTLEBOX_BUNDLE,\n"
      "                   the built bundle, ~/.vst3, /usr/lib/vst3, /usr/local/lib/vst3)\n"
      "  --state FILE     restore a saved state before the parameters apply\n"
      "  --save-state F   write the effect's state after the render\n"
      "  --preset FILE    restore a VST 3 preset file (.vstpreset) before the parameters\n"
      "  --save-preset F  write the effect's state as a .vstpreset after the render\n"
      "  --format NAME    pcm16, pcm24, pcm32, float or double (default: as the input;\n"
      "                   double keeps the effect's output exactly)\n"
      "  -o, --output F   output file (default: INPUT-grittlebox.wav, or\n"
      "                   grittlebox-demo.wav for the demo)\n"
      "  -q, --quiet      no progress bar\n"
      "  -h, --help       this text\n";
  return usage.c_str();
}

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options,
                        std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = true;
    if (!strcmp(arg, "--in")) {
      ok = ParseParamValue("--in", next, grittlebox::kParamIn, &options->inDB, error);
      if (ok) options->params.emplace_back("In", next);
      ++i;
    } else if (!strcmp(arg, "--out")) {
      ok = ParseParamValue("--out", next, grittlebox::kParamOut, &options->outDB, error);
      if (ok) options->params.emplace_back("Out", next);
      ++i;
    } else if (!strcmp(arg, "--distort")) {
      ok = ParseParamValue("--distort", next, grittlebox::kParamDistort, &options->distort, error);
      if (ok) options->params.emplace_back("Distort", next);
      ++i;
    } else if (!strcmp(arg, "--bypass")) {
      options->bypass = true;
      options->params.emplace_back("Bypass", "on");
    } else if (!strcmp(arg, "--param")) {
      const char* eq = next ? strchr(next, '=') : nullptr;
      if (!eq || eq == next || !eq[1]) {
        *error = std::string("--param needs NAME=VALUE, got '") + (next ? next : "") + "'";
        return false;
      }
      options->params.emplace_back(std::string(next, eq), eq + 1);
      ++i;
    } else if (!strcmp(arg, "--block")) {
      double frames = 0;
      ok = ParseValue("--block", next, 1, 65536, &frames, error);
      if (ok && frames != std::floor(frames)) {
        *error = std::string("--block needs a whole number, got '") + next + "'";
        return false;
      }
      options->blockSize = static_cast<int>(frames);
      ++i;
    } else if (!strcmp(arg, "--precision")) {
      if (!next || (strcmp(next, "32") && strcmp(next, "64"))) {
        *error = std::string("--precision is 32 or 64, got '") + (next ? next : "") + "'";
        return false;
      }
      options->use64 = !strcmp(next, "64");
      ++i;
    } else if (std::string* target = PathOption(arg, options)) {
      if (!next || !*next) {
        *error = std::string("missing path after ") + arg;
        return false;
      }
      *target = next;
      ++i;
    } else if (!strcmp(arg, "--format")) {
      if (!next || !SubformatFromName(next)) {
        *error = std::string("unknown --format '") + (next ? next : "") +
                 "' (pcm16, pcm24, pcm32, float, double)";
        return false;
      }
      options->format = next;
      ++i;
    } else if (!strcmp(arg, "-o") || !strcmp(arg, "--output")) {
      if (!next || !*next) {
        *error = "missing file name after -o";
        return false;
      }
      options->output = next;
      ++i;
    } else if (!strcmp(arg, "-q") || !strcmp(arg, "--quiet")) {
      options->quiet = true;
    } else if (!strcmp(arg, "-h") || !strcmp(arg, "--help")) {
      options->help = true;
    } else if (arg[0] == '-' && arg[1] != 0) {
      *error = std::string("unknown option '") + arg + "'";
      return false;
    } else if (options->input.empty() && *arg) {
      options->input = arg;
    } else {
      *error = std::string("unexpected argument '") + arg + "'";
      return false;
    }
    if (!ok) return false;
  }
  return true;
}
