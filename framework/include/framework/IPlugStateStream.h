#pragma once
// The saved state as a host keeps it in its projects: the plug-in's state
// chunk (SerializeState), then the bypass flag as a little-endian 32-bit
// integer, 1 or 0. No header, size or version: the reader takes the chunk to
// be as long as the current state's. A binding adapts its host's stream to
// the two interfaces below and moves bytes, nothing more.
#include "framework/IPlugBase.h"

class IStateWriter {
public:
  // True when all size bytes were taken.
  virtual bool Write(const void* bytes, int size) = 0;

protected:
  ~IStateWriter() = default;
};

class IStateReader {
public:
  // Reads up to size bytes; returns how many arrived, or -1 when the stream refused.
  virtual int Read(void* bytes, int size) = 0;

protected:
  ~IStateReader() = default;
};

// Under the plug-in lock. False when the state could not be serialized or
// the stream did not take it.
bool SaveStateStream(IPlugBase* plug, IStateWriter* stream);

// Under the plug-in lock. A complete stream restores the state and the
// bypass flag; one that ends right after the chunk (older saves) restores
// the state and keeps the bypass flag; anything shorter, or a parameter value
// that is not finite, is refused with false and changes nothing. On success
// the editor's controls are redrawn. Reads no further than the state.
bool RestoreStateStream(IPlugBase* plug, IStateReader* stream);
