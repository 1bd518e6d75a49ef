#pragma once
// What the torture host found: every failed check, from either thread. The
// first few of each kind are printed in full as they happen; the summary
// counts each kind.
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

class Findings {
public:
  // kind: a short fixed phrase that groups like failures ("output out of bound");
  // detail: what exactly was seen, with the call and its arguments.
  void Fail(const char* thread, uint64_t step, const std::string& kind, const std::string& detail);
  bool Any() const;
  uint64_t Count() const;
  // One line per kind with its count; nothing when all went well.
  void PrintSummary() const;

private:
  static const uint64_t kPrintedPerKind = 3;

  mutable std::mutex mLock;
  std::map<std::string, uint64_t> mByKind;
  uint64_t mCount = 0;
};
