#pragma once
// A named plug-in state in the same format as the state chunk.
#include "framework/ByteChunk.h"

struct IPreset {
  static const int kNameLength = 256;

  IPreset() { strcpy(mName, "empty"); }

  bool mInitialized = false;
  char mName[kNameLength];
  ByteChunk mChunk;
};
