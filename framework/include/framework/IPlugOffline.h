#pragma once
// Drives any plug-in the way a host's processing thread does, for offline
// rendering and tests: whatever its format binding, the plug-in base's public
// plumbing is enough.
#include "framework/IPlugBase.h"

// Connects every channel, sets sample rate and block size, clears bypass and
// calls Reset, under the plug-in lock.
void PrepareOffline(IPlugBase* plug, double sampleRate, int blockSize);

// Processes one block of 64-bit buffers under the plug-in lock; inputs and
// outputs hold NInChannels() and NOutChannels() pointers. Blocks longer than
// the block size are fine.
void ProcessOffline(IPlugBase* plug, double** inputs, double** outputs, int nFrames);
