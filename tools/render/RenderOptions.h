#pragma once
// Command-line options of grittlebox-render.
#include <string>
#include <utility>
#include <vector>

struct RenderOptions {
  std::string input;  // empty: render the built-in demo signal
  std::string output; // empty: derived from the input, or the demo's default name
  double inDB = 0.0;
  double outDB = 0.0;
  double distort = 50.0;
  bool bypass = false;
  std::string format; // empty: the input's sample format
  bool quiet = false;
  bool help = false;
  // Parameter values by the names the host sees, in the order given (--in,
  // --out, --distort and --bypass add theirs here too).
  std::vector<std::pair<std::string, std::string>> params;
  int blockSize = 4096;
  bool use64 = true;
  std::string bundle;     // empty: GRITTLEBOX_BUNDLE, the built bundle, then the install folders
  std::string state;      // a saved state to restore before the parameters
  std::string saveState;  // where to write the state after the render
  std::string preset;     // a .vstpreset to restore after the state, before the parameters
  std::string savePreset; // where to write a .vstpreset after the render
};

// Fills options from argv; on a refusal returns false with a message in error.
bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options,
                        std::string* error);

// libsndfile sub-format for a --format name (pcm16, pcm24, pcm32, float, double); 0 if unknown.
int SubformatFromName(const std::string& name);

const char* RenderUsage();
