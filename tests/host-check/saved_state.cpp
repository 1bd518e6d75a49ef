#include "tests/host-check/saved_state.h"

#include <cstring>

namespace hostcheck {

namespace {
const char* const kControllerTag = "IEditController";
}

bool ControllerState::readDouble(size_t offset, double& value) const {
  if (offset + sizeof value > bytes.size()) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof value); // little-endian, as on x86
  return true;
}

bool ControllerState::readInt32(size_t offset, int& value) const {
  if (offset + sizeof value > bytes.size()) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return true;
}

ControllerState controllerStateOf(const juce::MemoryBlock& hostState) {
  ControllerState state;
  std::unique_ptr<juce::XmlElement> xml = juce::AudioProcessor::getXmlFromBinary(
      hostState.getData(), static_cast<int>(hostState.getSize()));
  juce::XmlElement* controller = xml != nullptr ? xml->getChildByName(kControllerTag) : nullptr;
  juce::MemoryBlock decoded;
  if (controller == nullptr || !decoded.fromBase64Encoding(controller->getAllSubText()))
    return state;
  state.found = true;
  const auto* data = static_cast<const unsigned char*>(decoded.getData());
  state.bytes.assign(data, data + decoded.getSize());
  return state;
}

juce::MemoryBlock withControllerState(const juce::MemoryBlock& hostState,
                                      const std::vector<unsigned char>& bytes) {
  std::unique_ptr<juce::XmlElement> xml = juce::AudioProcessor::getXmlFromBinary(
      hostState.getData(), static_cast<int>(hostState.getSize()));
  if (xml == nullptr) xml = std::make_unique<juce::XmlElement>("VST3PluginState");
  xml->deleteAllChildElementsWithTagName(kControllerTag);
  juce::MemoryBlock raw(bytes.data(), bytes.size());
  xml->createNewChildElement(kControllerTag)->addTextElement(raw.toBase64Encoding());
  juce::MemoryBlock result;
  juce::AudioProcessor::copyXmlToBinary(*xml, result);
  return result;
}

} // namespace hostcheck
