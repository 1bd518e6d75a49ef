#include "editor/SharedText.h"

#include <cstring>
#include <thread>

int SharedText::CutLength(const char* text) {
  if (!text) return 0;
  int len = static_cast<int>(strnlen(text, kCapacity + 1));
  if (len <= kCapacity) return len;
  len = kCapacity;
  // Back up over continuation bytes so the cut never splits a character.
  while (len > 0 && (static_cast<unsigned char>(text[len]) & 0xC0) == 0x80) --len;
  return len;
}

uint32_t SharedText::BeginWrite() {
  for (;;) {
    uint32_t s = mSequence.load(std::memory_order_relaxed);
    if (!(s & 1) && mSequence.compare_exchange_weak(s, s + 1, std::memory_order_acquire,
                                                    std::memory_order_relaxed))
      return s;
  }
}

bool SharedText::Set(const char* text) {
  uint64_t words[kWords] = {};
  memcpy(words, text ? text : "", static_cast<size_t>(CutLength(text)));
  const uint32_t s = BeginWrite();
  bool same = true;
  for (int i = 0; i < kWords && same; ++i)
    same = mWords[i].load(std::memory_order_relaxed) == words[i];
  if (same) {
    mSequence.store(s, std::memory_order_release);
    return false;
  }
  for (int i = 0; i < kWords; ++i) mWords[i].store(words[i], std::memory_order_release);
  mSequence.store(s + 2, std::memory_order_release);
  return true;
}

bool SharedText::TryRead(uint64_t* words) const {
  const uint32_t before = mSequence.load(std::memory_order_acquire);
  if (before & 1) return false;
  for (int i = 0; i < kWords; ++i) words[i] = mWords[i].load(std::memory_order_acquire);
  return mSequence.load(std::memory_order_relaxed) == before;
}

int SharedText::Get(char* out) const {
  uint64_t words[kWords];
  for (int tries = 0; !TryRead(words); ++tries)
    if (tries > 64) std::this_thread::yield();
  memcpy(out, words, kCapacity);
  out[kCapacity] = 0;
  return static_cast<int>(strlen(out));
}

bool SharedText::Empty() const {
  char text[kCapacity + 1];
  return Get(text) == 0;
}

bool SharedText::Equals(const char* str) const {
  char text[kCapacity + 1];
  Get(text);
  const int len = CutLength(str);
  return len == static_cast<int>(strlen(text)) && (len == 0 || memcmp(text, str, len) == 0);
}
