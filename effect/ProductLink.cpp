#include "detail/ProductLink.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/ModulePath.h"

#ifndef GRITTLEBOX_URL
#define GRITTLEBOX_URL ""
#endif

namespace grittlebox {
namespace {

// <bundle>/Contents/x86_64-linux/<module>.so → <bundle>/Contents/Resources/manual/index.html
std::string BundledManualPath() {
  char module[PATH_MAX];
  if (!platform::ModuleFileOf(reinterpret_cast<const void*>(&BundledManualPath), module,
                              sizeof module))
    return {};
  std::string path = module;
  for (int i = 0; i < 2; ++i) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    path.resize(slash);
  }
  path += "/Resources/manual/index.html";
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool Unreserved(unsigned char c) {
  if (!c) return false; // strchr would find the terminator
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         strchr("-._~/", c) != nullptr;
}

} // namespace

std::string FileAddress(const std::string& absolutePath) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string address = "file://";
  for (unsigned char c : absolutePath) {
    if (Unreserved(c)) {
      address += static_cast<char>(c);
    } else {
      address += '%';
      address += kHex[c >> 4];
      address += kHex[c & 15];
    }
  }
  return address;
}

std::string ProductLinkAddress() {
  if (*GRITTLEBOX_URL) return GRITTLEBOX_URL;
  const std::string manual = BundledManualPath();
  return manual.empty() ? std::string() : FileAddress(manual);
}

} // namespace grittlebox
