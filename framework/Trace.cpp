#include "framework/Trace.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

TraceRecord gRing[kTraceCapacity];
// Total number of records ever claimed since the last clear; slot = count % capacity.
std::atomic<unsigned> gClaimed{0};

} // namespace

void RecordTraceV(const char* location, int line, const char* format, va_list args) {
  const unsigned ticket = gClaimed.fetch_add(1, std::memory_order_relaxed);
  TraceRecord& record = gRing[ticket % kTraceCapacity];
  snprintf(record.location, sizeof record.location, "%s", location ? location : "");
  record.line = line;
  if (format)
    vsnprintf(record.text, sizeof record.text, format, args);
  else
    record.text[0] = 0;
}

void RecordTrace(const char* location, int line, const char* format, ...) {
  va_list args;
  va_start(args, format);
  RecordTraceV(location, line, format, args);
  va_end(args);
}

int TraceRecordCount() {
  const unsigned claimed = gClaimed.load(std::memory_order_relaxed);
  return claimed < static_cast<unsigned>(kTraceCapacity) ? static_cast<int>(claimed)
                                                         : kTraceCapacity;
}

bool GetTraceRecord(int index, TraceRecord* out) {
  const int count = TraceRecordCount();
  if (!out || index < 0 || index >= count) return false;
  const unsigned oldest = gClaimed.load(std::memory_order_relaxed) - static_cast<unsigned>(count);
  *out = gRing[(oldest + static_cast<unsigned>(index)) % kTraceCapacity];
  return true;
}

void ClearTraceRecords() {
  gClaimed.store(0, std::memory_order_relaxed);
}

#ifdef PLUG_TRACE_RECORDS
void Trace(const char* location, int line, const char* format, ...) {
  va_list args;
  va_start(args, format);
  RecordTraceV(location, line, format, args);
  va_end(args);
}
#endif
