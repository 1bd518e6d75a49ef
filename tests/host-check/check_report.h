#pragma once

#include <string>

namespace hostcheck {

// Counts the outcome of every check. A failure is described on stderr at once;
// stdout carries only the final summary line, so CI logs stay readable.
class CheckReport {
public:
  // Returns ok so that callers can skip dependent checks after a failure.
  bool expect(bool ok, const std::string& what, const std::string& detail = std::string());
  bool expectText(const std::string& what, const std::string& actual, const std::string& expected);
  bool expectNumber(const std::string& what, double actual, double expected, double tolerance);

  int passed() const { return mPassed; }
  int failed() const { return mFailed; }
  std::string summary() const;

private:
  int mPassed = 0;
  int mFailed = 0;
};

} // namespace hostcheck
