#include "tools/common/ToolFiles.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

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

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

} // namespace tools
