#pragma once
// Where things are on a Linux desktop: this module's file, the bundle folder
// around it, and the user's desktop and configuration folders.
#include <string>

// The shared object (or program) this code is linked into, symbolic links
// resolved; "" when it cannot be found.
std::string ModuleFilePath();
// For <folder>/<name>.vst3/Contents/<arch>/<module> the folder holding the
// bundle, with a trailing '/'; for a module outside a bundle its own folder.
// "" for a path without a folder.
std::string FolderHoldingBundle(const std::string& modulePath);

// The user's home: $HOME, else the password database; "" when unknown.
std::string HomeFolder();
// The XDG_DESKTOP_DIR line of a user-dirs.dirs text with $HOME expanded;
// "" when the text names none.
std::string DesktopFromUserDirs(const std::string& userDirsText, const std::string& home);
// $XDG_CONFIG_HOME when it is absolute, else ~/.config; "" when unknown.
std::string ConfigFolder();
// The desktop folder from user-dirs.dirs, else ~/Desktop; "" when unknown.
std::string DesktopFolder();
