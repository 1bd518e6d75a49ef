#include "Findings.h"

#include <cstdio>

void Findings::Fail(const char* thread, uint64_t step, const std::string& kind,
                    const std::string& detail) {
  std::lock_guard<std::mutex> hold(mLock);
  ++mCount;
  if (++mByKind[kind] <= kPrintedPerKind)
    fprintf(stderr, "torture: %s thread, step %llu: %s: %s\n", thread,
            static_cast<unsigned long long>(step), kind.c_str(), detail.c_str());
}

bool Findings::Any() const {
  return Count() > 0;
}

uint64_t Findings::Count() const {
  std::lock_guard<std::mutex> hold(mLock);
  return mCount;
}

void Findings::PrintSummary() const {
  std::lock_guard<std::mutex> hold(mLock);
  for (const auto& kind : mByKind)
    fprintf(stderr, "torture: %8llu x %s\n", static_cast<unsigned long long>(kind.second),
            kind.first.c_str());
}
