#include "tools/render/Render.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "effect/Grittlebox.h"
#include "framework/IPlugOffline.h"
#include "tools/render/DemoSignal.h"

namespace {

const int kBlockFrames = 4096;
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

void ApplyParameters(const RenderOptions& options, Grittlebox* fx) {
  fx->GetParam(Grittlebox::kIn)->Set(options.inDB);
  fx->GetParam(Grittlebox::kOut)->Set(options.outDB);
  fx->GetParam(Grittlebox::kDistort)->Set(options.distort);
  fx->OnParamReset();
  fx->SetBypassed(options.bypass);
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
bool Process(Source* source, SNDFILE* out, Grittlebox* fx, bool progress, std::string* error) {
  const int channels = source->info.channels;
  std::vector<double> interleaved(static_cast<size_t>(kBlockFrames) * channels);
  std::vector<double> inL(kBlockFrames), inR(kBlockFrames), outL(kBlockFrames), outR(kBlockFrames),
      result(static_cast<size_t>(kBlockFrames) * channels);
  double* ins[2] = {inL.data(), inR.data()};
  double* outs[2] = {outL.data(), outR.data()};
  sf_count_t done = 0;
  int shown = -1;
  for (;;) {
    const sf_count_t n = source->Read(interleaved.data(), kBlockFrames);
    if (n <= 0) break;
    for (sf_count_t i = 0; i < n; ++i) {
      inL[i] = interleaved[i * channels];
      inR[i] = interleaved[i * channels + channels - 1]; // mono feeds both sides
    }
    ProcessOffline(fx, ins, outs, static_cast<int>(n));
    for (sf_count_t i = 0; i < n; ++i) {
      result[i * channels] = outL[i];
      if (channels == 2) result[i * channels + 1] = outR[i];
    }
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

  // Written beside the output and renamed at the end: a failure leaves nothing half-written.
  std::string temp = output + ".XXXXXX";
  const int fd = mkstemp(&temp[0]);
  if (fd < 0) {
    *error = "cannot create a file beside '" + output + "'";
    return false;
  }
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask); // an ordinary file, not mkstemp's private one
  SndFilePtr out(sf_open_fd(fd, SFM_WRITE, &outInfo, SF_TRUE));
  if (!out) {
    close(fd);
    unlink(temp.c_str());
    *error = std::string("cannot write the output: ") + sf_strerror(nullptr);
    return false;
  }
  sf_command(out.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE); // gains above 0 dB exceed full scale

  std::unique_ptr<Grittlebox> fx(MakePlug());
  bool ok = fx != nullptr;
  if (!ok) *error = "cannot create the effect";
  if (ok) {
    PrepareOffline(fx.get(), source.info.samplerate, kBlockFrames);
    ApplyParameters(options, fx.get());
    const bool progress =
        !options.quiet && source.info.frames > kProgressSeconds * source.info.samplerate;
    ok = Process(&source, out.get(), fx.get(), progress, error);
  }
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
