#pragma once
// The address the editor's link area opens: the product page the build was
// given (GRITTLEBOX_URL), or else the manual the bundle carries, as a file://
// address found from where the module lies.
#include <string>

namespace grittlebox {

std::string ProductLinkAddress();

// "file://" and the absolute path with every byte outside the unreserved set
// and '/' written as %XX, so spaces and non-ASCII folder names survive.
std::string FileAddress(const std::string& absolutePath);

} // namespace grittlebox
