#pragma once
// A short text one thread replaces while another reads it, without locks,
// allocation or torn reads: a sequence counter that is odd while a write is
// in progress, around characters held in atomic words. Writers never wait on
// readers (only on another writer's few stores); a reader that meets a write
// reads again.
//
// The characters are stored with release and loaded with acquire order, so a
// reader that sees any character of a newer write also sees that write's
// counter change when it checks the counter again: ThreadSanitizer can verify
// this (no fences).
#include <atomic>
#include <cstdint>

class SharedText {
public:
  // Bytes of text kept; longer texts are cut on a UTF-8 character boundary.
  static const int kCapacity = 63;

  SharedText() = default;
  explicit SharedText(const char* text) { Set(text); }
  SharedText(const SharedText&) = delete;
  SharedText& operator=(const SharedText&) = delete;

  // Returns false, changing nothing, when the (cut) text equals the current one.
  bool Set(const char* text);
  // Copies the current text into out, which holds kCapacity + 1 bytes;
  // returns its length.
  int Get(char* out) const;
  bool Empty() const;
  bool Equals(const char* text) const;

  // Length of the longest prefix of text of at most kCapacity bytes that ends
  // on a character boundary.
  static int CutLength(const char* text);

private:
  static const int kWords = (kCapacity + 1 + 7) / 8;

  uint32_t BeginWrite();
  bool TryRead(uint64_t* words) const;

  std::atomic<uint32_t> mSequence{0};
  std::atomic<uint64_t> mWords[kWords] = {};
};
