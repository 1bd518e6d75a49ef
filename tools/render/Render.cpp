#include "tools/render/Render.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "effect/GrittleboxIdentity.h"
#include "tools/common/ToolFiles.h"
#include "tools/render/DemoSignal.h"
#include "vst3/host/HostedPlugin.h"

using vst3host::HostedPlugin;

namespace {

// The name the effect learns from its host.
const char* const kHostName = "grittlebox-render";

// Files longer than this get a progress bar.
const double kProgressSeconds = 10.0;

struct SndFileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

// Where the samples come from: an opened file or the demo buffer.
struct Source {
  SndFilePtr file;
  std::vector<double> demo;
  size_t demoPos = 0;
  SF_INFO info = {};

  // Reads up to frames interleaved frames; returns how many were read.
  sf_count_t Read(double* interleaved, sf_count_t frames) {
    if (file) return sf_readf_double(file.get(), interleaved, frames);
    const size_t available = (demo.size() - demoPos) / 2;
    const size_t n = static_cast<size_t>(frames) < available ? frames : available;
    std::copy(demo.begin() + demoPos, demo.begin() + demoPos + 2 * n, interleaved);
    demoPos += 2 * n;
    return static_cast<sf_count_t>(n);
  }
};

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool OpenSource(const RenderOptions& options, Source* source, std::string* error) {
  if (options.input.empty()) {
    source->demo = MakeDemoSignal();
    source->info.channels = 2;
    source->info.samplerate = kDemoSampleRate;
    source->info.frames = static_cast<sf_count_t>(source->demo.size() / 2);
    source->info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    return true;
  }
  struct stat st;
  if (stat(options.input.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = "cannot read '" + options.input + "': not a readable file";
    return false;
  }
  source->file.reset(sf_open(options.input.c_str(), SFM_READ, &source->info));
  if (!source->file) {
    *error = "cannot read '" + options.input + "' as audio: " + sf_strerror(nullptr);
    return false;
  }
  if (source->info.channels < 1 || source->info.channels > 2) {
    *error = "'" + options.input + "' has " + std::to_string(source->info.channels) +
             " channels; only mono and stereo are supported";
    return false;
  }
  if (source->info.samplerate <= 0) {
    *error = "'" + options.input + "' has no valid sample rate";
    return false;
  }
  return true;
}

std::string DefaultOutput(const RenderOptions& options) {
  if (!options.output.empty()) return options.output;
  if (options.input.empty()) return "grittlebox-demo.wav";
  std::string stem = options.input;
  const size_t slash = stem.find_last_of('/');
  const size_t dot = stem.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) stem.erase(dot);
  return stem + "-grittlebox.wav";
}

// Restores the saved state, then the preset, as a host loading a project and
// then a preset would.
bool RestoreSaved(const RenderOptions& options, HostedPlugin* plugin, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!options.state.empty()) {
    if (!tools::ReadFile(options.state, &bytes)) {
      *error = "cannot read the state file '" + options.state + "'";
      return false;
    }
    if (!plugin->RestoreState(bytes)) {
      *error = plugin->Error();
      return false;
    }
  }
  if (!options.preset.empty()) {
    if (!tools::ReadFile(options.preset, &bytes)) {
      *error = "cannot read the preset file '" + options.preset + "'";
      return false;
    }
    if (!plugin->LoadPreset(bytes)) {
      *error = "cannot use the preset '" + options.preset + "': " + plugin->Error();
      return false;
    }
  }
  return true;
}

// Writes the state and the preset the options ask for, after the render.
bool SaveAfterRender(const RenderOptions& options, HostedPlugin* plugin, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!options.saveState.empty() &&
      !(plugin->SaveState(&bytes) && tools::WriteFile(options.saveState, bytes))) {
    *error = "cannot save the state to '" + options.saveState + "'";
    return false;
  }
  if (!options.savePreset.empty() &&
      !(plugin->SavePreset(&bytes) && tools::WriteFile(options.savePreset, bytes))) {
    *error = "cannot save the preset to '" + options.savePreset + "'";
    return false;
  }
  return true;
}

// Loads the bundle and hands it the state and the parameters, which arrive
// with a parameter-only block as a host sends them.
bool StartEffect(const RenderOptions& options, const SF_INFO& info, HostedPlugin* plugin,
                 std::string* error) {
  const std::string bundle = tools::FindBundle(options.bundle);
  if (bundle.empty()) {
    *error = std::string("no ") + grittlebox::kEffectName +
             ".vst3 bundle found (build it, install it, or give --bundle)";
    return false;
  }
  if (!plugin->Load(bundle) ||
      !plugin->Start(info.channels, info.samplerate, options.blockSize, options.use64)) {
    *error = plugin->Error();
    return false;
  }
  if (!RestoreSaved(options, plugin, error)) return false;
  bool ok = true;
  for (size_t i = 0; ok && i < options.params.size(); ++i)
    ok = plugin->SetParameter(options.params[i].first, options.params[i].second);
  if (ok) ok = plugin->Process(nullptr, nullptr, 0);
  if (!ok) *error = plugin->Error();
  return ok;
}

void ShowProgress(sf_count_t done, sf_count_t total, int* shown) {
  const int percent = total > 0 ? static_cast<int>(100 * done / total) : 100;
  if (percent == *shown) return;
  *shown = percent;
  char bar[41];
  for (int i = 0; i < 40; ++i) bar[i] = i < percent * 40 / 100 ? '#' : ' ';
  bar[40] = 0;
  fprintf(stderr, "\r[%s] %3d%%", bar, percent);
  if (percent >= 100) fputc('\n', stderr);
  fflush(stderr);
}

// Streams the source through the effect into the open output file.
bool Process(Source* source, SNDFILE* out, HostedPlugin* plugin, int blockFrames, bool progress,
             std::string* error) {
  const int channels = source->info.channels;
  const size_t block = static_cast<size_t>(blockFrames);
  std::vector<double> interleaved(block * channels), result(block * channels);
  std::vector<std::vector<double>> in(channels, std::vector<double>(block)),
      outs(channels, std::vector<double>(block));
  std::vector<double*> inPtrs, outPtrs;
  for (int c = 0; c < channels; ++c) {
    inPtrs.push_back(in[c].data());
    outPtrs.push_back(outs[c].data());
  }
  sf_count_t done = 0;
  int shown = -1;
  for (;;) {
    const sf_count_t n = source->Read(interleaved.data(), blockFrames);
    if (n <= 0) break;
    for (sf_count_t i = 0; i < n; ++i)
      for (int c = 0; c < channels; ++c) in[c][i] = interleaved[i * channels + c];
    if (!plugin->Process(inPtrs.data(), outPtrs.data(), static_cast<int>(n))) {
      *error = plugin->Error();
      return false;
    }
    for (sf_count_t i = 0; i < n; ++i)
      for (int c = 0; c < channels; ++c) result[i * channels + c] = outs[c][i];
    if (sf_writef_double(out, result.data(), n) != n) {
      *error = std::string("writing failed: ") + sf_strerror(out);
      return false;
    }
    done += n;
    if (progress) ShowProgress(done, source->info.frames, &shown);
  }
  if (source->file && sf_error(source->file.get()) != SF_ERR_NO_ERROR) {
    *error = std::string("reading failed: ") + sf_strerror(source->file.get());
    return false;
  }
  return true;
}

} // namespace

bool RunRender(const RenderOptions& options, std::string* writtenPath, std::string* error) {
  Source source;
  if (!OpenSource(options, &source, error)) return false;
  const std::string output = DefaultOutput(options);
  if (!options.input.empty() && SameFile(options.input, output)) {
    *error = "refusing to overwrite the input '" + options.input + "'";
    return false;
  }

  SF_INFO outInfo = {};
  outInfo.channels = source.info.channels;
  outInfo.samplerate = source.info.samplerate;
  outInfo.format = source.info.format;
  if (!options.format.empty())
    outInfo.format = (outInfo.format & SF_FORMAT_TYPEMASK) | SubformatFromName(options.format);
  if (!sf_format_check(&outInfo)) {
    *error = "the input's file type cannot hold --format " + options.format;
    return false;
  }

  HostedPlugin plugin(kHostName);
  if (!StartEffect(options, source.info, &plugin, error)) return false;

  // Written beside the output and renamed at the end: a failure leaves nothing half-written.
  std::string temp;
  const int fd = tools::CreateBeside(output, &temp);
  if (fd < 0) {
    *error = "cannot create a file beside '" + output + "'";
    return false;
  }
  SndFilePtr out(sf_open_fd(fd, SFM_WRITE, &outInfo, SF_TRUE));
  if (!out) {
    close(fd);
    unlink(temp.c_str());
    *error = std::string("cannot write the output: ") + sf_strerror(nullptr);
    return false;
  }
  sf_command(out.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE); // gains above 0 dB exceed full scale

  const bool progress =
      !options.quiet && source.info.frames > kProgressSeconds * source.info.samplerate;
  bool ok = Process(&source, out.get(), &plugin, options.blockSize, progress, error);
  if (ok) ok = SaveAfterRender(options, &plugin, error);
  out.reset();
  if (ok && rename(temp.c_str(), output.c_str()) != 0) {
    *error = "cannot move the result to '" + output + "'";
    ok = false;
  }
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  *writtenPath = output;
  return true;
}
