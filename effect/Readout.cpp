#include "effect/Readout.h"

#include <thread>

bool SafeTextReadout::Equals(const char* text) const {
  for (int i = 0; i < kMaxText - 1; ++i) {
    const char c = mText[i].load(std::memory_order_relaxed);
    if (c != text[i]) return false;
    if (!c) return true;
  }
  return true; // the stored text is this one cut to length
}

// Each character is stored with release order and loaded with acquire: a
// reader that loads any character of a newer write also sees that write's odd
// count when it checks the count again, and reads again. Unlike fences, this
// is something ThreadSanitizer can check.
void SafeTextReadout::SetTextFromPlug(const char* text) {
  if (!text) text = "";
  if (Equals(text)) return;
  const uint32_t sequence = mSequence.load(std::memory_order_relaxed);
  mSequence.store(sequence + 1, std::memory_order_relaxed); // odd: write in flight
  int i = 0;
  for (; i < kMaxText - 1 && text[i]; ++i) mText[i].store(text[i], std::memory_order_release);
  mText[i].store(0, std::memory_order_release);
  mSequence.store(sequence + 2, std::memory_order_release);
}

bool SafeTextReadout::TryRead(char* out, int limit) const {
  const uint32_t before = mSequence.load(std::memory_order_acquire);
  if (before & 1) return false;
  int i = 0;
  for (; i < limit - 1; ++i) {
    out[i] = mText[i].load(std::memory_order_acquire);
    if (!out[i]) break;
  }
  out[i] = 0;
  return mSequence.load(std::memory_order_relaxed) == before;
}

void SafeTextReadout::GetText(char* out, int size) const {
  if (!out || size <= 0) return;
  const int limit = size < kMaxText ? size : kMaxText;
  // A writer preempted mid-write must get the processor back.
  for (int tries = 0; !TryRead(out, limit); ++tries)
    if (tries > 64) std::this_thread::yield();
}
