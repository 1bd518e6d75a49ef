#include "tools/common/ToolFiles.h"

#include <sys/stat.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "effect/GrittleboxIdentity.h"
#include "vst3/host/HostModule.h"

using vst3host::HostModule;

namespace tools {

namespace {

bool IsBundle(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(HostModule::ModuleFileOfBundle(path).c_str(), &st) == 0;
}

} // namespace

std::string FindBundle(const std::string& explicitBundle) {
  if (!explicitBundle.empty()) return explicitBundle;
  std::vector<std::string> candidates;
  if (const char* env = getenv("GRITTLEBOX_BUNDLE")) candidates.push_back(env);
#ifdef GRITTLEBOX_BUILT_BUNDLE
  candidates.push_back(GRITTLEBOX_BUILT_BUNDLE);
#endif
  const std::string folder = std::string(grittlebox::kEffectName) + ".vst3";
  if (const char* home = getenv("HOME"))
    candidates.push_back(std::string(home) + "/.vst3/" + folder);
  candidates.push_back("/usr/lib/vst3/" + folder);
  candidates.push_back("/usr/local/lib/vst3/" + folder);
  for (const std::string& path : candidates)
    if (IsBundle(path)) return path;
  return "";
}

// Saved states and presets are small; anything larger is not one of them.
const std::streamoff kMaxStateFileSize = 64 << 20;

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxStateFileSize) return false;
  bytes->resize(static_cast<size_t>(size));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes->data()), size);
  return in.gcount() == size;
}

int CreateBeside(const std::string& path, std::string* temp) {
  *temp = path + ".XXXXXX";
  const int fd = mkstemp(&(*temp)[0]);
  if (fd < 0) return -1;
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask); // not mkstemp's private mode
  return fd;
}

// Written whole beside path and renamed: a failure leaves nothing half-written.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string temp;
  const int fd = CreateBeside(path, &temp);
  if (fd < 0) return false;
  FILE* out = fdopen(fd, "wb");
  bool ok = out && fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  ok = (out ? fclose(out) == 0 : close(fd) == 0) && ok;
  ok = ok && rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

} // namespace tools
