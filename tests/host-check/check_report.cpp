#include "tests/host-check/check_report.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace hostcheck {

bool CheckReport::expect(bool ok, const std::string& what, const std::string& detail) {
  if (ok) {
    ++mPassed;
    return true;
  }
  ++mFailed;
  std::fprintf(stderr, "FAILED: %s%s%s\n", what.c_str(), detail.empty() ? "" : ": ",
               detail.c_str());
  return false;
}

bool CheckReport::expectText(const std::string& what, const std::string& actual,
                             const std::string& expected) {
  return expect(actual == expected, what, "got \"" + actual + "\", expected \"" + expected + "\"");
}

bool CheckReport::expectNumber(const std::string& what, double actual, double expected,
                               double tolerance) {
  std::ostringstream detail;
  detail.precision(17);
  detail << "got " << actual << ", expected " << expected << " (tolerance " << tolerance << ")";
  return expect(std::fabs(actual - expected) <= tolerance, what, detail.str());
}

std::string CheckReport::summary() const {
  return std::to_string(mPassed) + " passed, " + std::to_string(mFailed) + " failed";
}

} // namespace hostcheck
