#include "detail/LinuxPaths.h"

#include "platform/ModulePath.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

std::string ModuleFilePath() {
  // This function's address lies inside whichever module linked the host.
  char path[PATH_MAX];
  return platform::ModuleFileOf(reinterpret_cast<const void*>(&ModuleFilePath), path, sizeof path)
             ? path
             : "";
}

std::string FolderHoldingBundle(const std::string& modulePath) {
  const size_t slash = modulePath.rfind('/');
  if (slash == std::string::npos) return "";
  std::string folder = modulePath.substr(0, slash); // .../Name.vst3/Contents/<arch>
  const size_t archSlash = folder.rfind('/');
  if (archSlash != std::string::npos) {
    const std::string contents = folder.substr(0, archSlash);
    const size_t contentsSlash = contents.rfind('/');
    if (contentsSlash != std::string::npos && contents.substr(contentsSlash) == "/Contents") {
      const std::string bundle = contents.substr(0, contentsSlash);
      const size_t bundleSlash = bundle.rfind('/');
      if (bundleSlash != std::string::npos && bundle.size() > 5 &&
          bundle.compare(bundle.size() - 5, 5, ".vst3") == 0)
        folder = bundle.substr(0, bundleSlash);
    }
  }
  return folder + "/";
}

std::string HomeFolder() {
  const char* home = getenv("HOME");
  if (home && *home == '/') return home;
  const passwd* pw = getpwuid(getuid());
  return pw && pw->pw_dir && *pw->pw_dir == '/' ? pw->pw_dir : "";
}

std::string DesktopFromUserDirs(const std::string& text, const std::string& home) {
  std::istringstream in(text);
  std::string line;
  const std::string key = "XDG_DESKTOP_DIR=";
  while (std::getline(in, line)) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.compare(0, 5, "$HOME") == 0) {
      if (home.empty()) return "";
      value = home + value.substr(5);
    }
    // The format allows only absolute paths or paths under $HOME.
    return !value.empty() && value[0] == '/' ? value : "";
  }
  return "";
}

std::string ConfigFolder() {
  const char* config = getenv("XDG_CONFIG_HOME");
  if (config && *config == '/') return config;
  const std::string home = HomeFolder();
  return home.empty() ? "" : home + "/.config";
}

std::string DesktopFolder() {
  const std::string home = HomeFolder();
  const std::string config = ConfigFolder();
  if (!config.empty()) {
    std::ifstream file(config + "/user-dirs.dirs");
    std::stringstream text;
    text << file.rdbuf();
    const std::string desktop = DesktopFromUserDirs(text.str(), home);
    if (!desktop.empty()) return desktop;
  }
  return home.empty() ? "" : home + "/Desktop";
}
