#pragma once
// Trace points mark interesting moments of the framework (construction, I/O
// checks, host identification, editor changes, state transfers). A release
// build discards them without formatting anything; a build that defines
// PLUG_TRACE_RECORDS keeps the most recent ones in a ring of records that a test
// or a debugger can read back.
#include <cstdarg>

struct TraceRecord {
  char location[64];
  int line;
  char text[256];
};

// How many records the ring keeps; older ones are overwritten.
constexpr int kTraceCapacity = 256;

// The recording sink. It exists in every configuration so that it can be tested;
// only Trace decides whether it is used. Safe to call from several threads: each
// call claims its own slot without locking.
void RecordTraceV(const char* location, int line, const char* format, va_list args);
void RecordTrace(const char* location, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Number of records held (at most kTraceCapacity).
int TraceRecordCount();
// Copies record `index` (0 = oldest held) into `out`; false outside 0 .. count - 1.
bool GetTraceRecord(int index, TraceRecord* out);
void ClearTraceRecords();

#ifdef PLUG_TRACE_RECORDS
void Trace(const char* location, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
#else
// Arguments are still evaluated at the call site; nothing is formatted or kept.
__attribute__((format(printf, 3, 4))) inline void Trace(const char*, int, const char*, ...) {}
#endif

// A trace point named after the enclosing function.
#define TRACE_POINT(...) Trace(__func__, __LINE__, __VA_ARGS__)
