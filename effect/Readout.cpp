#include "effect/Readout.h"

bool SafeTextReadout::Equals(const char* text) const {
  for (int i = 0; i < kMaxText - 1; ++i) {
    const char c = mText[i].load(std::memory_order_relaxed);
    if (c != text[i]) return false;
    if (!c) return true;
  }
  return true; // the stored text is this one cut to length
}

void SafeTextReadout::SetTextFromPlug(const char* text) {
  if (!text) text = "";
  if (Equals(text)) return;
  const uint32_t sequence = mSequence.load(std::memory_order_relaxed);
  mSequence.store(sequence + 1, std::memory_order_relaxed); // odd: write in flight
  std::atomic_thread_fence(std::memory_order_release);
  int i = 0;
  for (; i < kMaxText - 1 && text[i]; ++i) mText[i].store(text[i], std::memory_order_relaxed);
  mText[i].store(0, std::memory_order_relaxed);
  mSequence.store(sequence + 2, std::memory_order_release);
}

void SafeTextReadout::GetText(char* out, int size) const {
  if (!out || size <= 0) return;
  const int limit = size < kMaxText ? size : kMaxText;
  for (;;) {
    const uint32_t before = mSequence.load(std::memory_order_acquire);
    if (before & 1) continue;
    int i = 0;
    for (; i < limit - 1; ++i) {
      out[i] = mText[i].load(std::memory_order_relaxed);
      if (!out[i]) break;
    }
    out[i] = 0;
    std::atomic_thread_fence(std::memory_order_acquire);
    if (mSequence.load(std::memory_order_relaxed) == before) return;
  }
}
