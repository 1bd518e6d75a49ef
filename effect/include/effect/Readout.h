#pragma once
// Where the effect writes its value texts. The editor's text control takes
// this role; until it is attached, the effect keeps SafeTextReadouts.
#include <atomic>
#include <cstdint>

class Readout {
public:
  virtual ~Readout() {}
  // Called on whichever thread notifies a parameter, the audio thread included:
  // implementations must neither block nor allocate.
  virtual void SetTextFromPlug(const char* text) = 0;
};

// A readout whose text can be written on one thread and read on another
// without a lock: the writer never waits, a reader retries while a write is
// in flight (a sequence lock). Writers are serialised by the plug-in lock.
class SafeTextReadout : public Readout {
public:
  static const int kMaxText = 64;

  SafeTextReadout() { mText[0].store(0, std::memory_order_relaxed); }
  explicit SafeTextReadout(const char* initial) : SafeTextReadout() { SetTextFromPlug(initial); }

  // Unchanged text is ignored; longer texts are cut to kMaxText - 1 characters.
  void SetTextFromPlug(const char* text) override;
  // Copies the text (at most size - 1 characters and a terminator) into out.
  void GetText(char* out, int size) const;
  // Goes up by one with every change; the editor redraws when it moves.
  uint32_t Version() const { return mSequence.load(std::memory_order_acquire) / 2; }

private:
  bool Equals(const char* text) const;
  // False when a write overlapped the copy.
  bool TryRead(char* out, int limit) const;

  std::atomic<uint32_t> mSequence{0};
  std::atomic<char> mText[kMaxText];
};
