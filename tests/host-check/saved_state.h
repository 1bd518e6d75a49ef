#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

namespace hostcheck {

// The plug-in's own bytes inside a state blob saved by the host: the host
// wraps the controller's stream, base64-encoded, in its own XML document.
struct ControllerState {
  bool found = false;
  std::vector<unsigned char> bytes;

  bool readDouble(size_t offset, double& value) const;
  bool readInt32(size_t offset, int& value) const;
};

ControllerState controllerStateOf(const juce::MemoryBlock& hostState);

// The host blob with the controller bytes replaced, for feeding damaged states.
juce::MemoryBlock withControllerState(const juce::MemoryBlock& hostState,
                                      const std::vector<unsigned char>& bytes);

} // namespace hostcheck
