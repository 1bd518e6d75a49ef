#include "detail/PresetFileCheck.h"

#include <cctype>
#include <cstring>

#include "public.sdk/source/vst/vstpresetfile.h"
#include "vst3/host/ByteStream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace vst3host {

namespace {

// Header id, version, class id as 32 characters, offset of the chunk list.
const int64_t kHeaderSize = 4 + 4 + 32 + 8;
const int64_t kListHeaderSize = 4 + 4;
const int64_t kListEntrySize = 4 + 8 + 8;

template <class T> T ReadLittleEndian(const std::vector<uint8_t>& bytes, size_t at) {
  T value = 0;
  for (size_t b = 0; b < sizeof(T); ++b) value |= static_cast<T>(bytes[at + b]) << (8 * b);
  return value;
}

bool Inside(int64_t offset, int64_t length, int64_t size) {
  return offset >= 0 && length >= 0 && offset <= size && length <= size - offset;
}

std::string ChunkName(const ChunkID id) {
  std::string name;
  for (int i = 0; i < 4; ++i) name += isprint(static_cast<unsigned char>(id[i])) ? id[i] : '?';
  return "'" + name + "'";
}

// The chunk list as the file declares it: where it starts and how many
// entries it promises, all inside the file.
std::string CheckChunkList(const std::vector<uint8_t>& bytes) {
  const int64_t size = static_cast<int64_t>(bytes.size());
  const int64_t listOffset = ReadLittleEndian<int64_t>(bytes, 40);
  if (listOffset < kHeaderSize || !Inside(listOffset, kListHeaderSize, size))
    return "its chunk list lies outside the file (truncated or damaged)";
  if (memcmp(&bytes[static_cast<size_t>(listOffset)], "List", 4) != 0)
    return "its chunk list is damaged";
  const int32_t count = ReadLittleEndian<int32_t>(bytes, static_cast<size_t>(listOffset) + 4);
  if (count <= 0) return "its chunk list is empty";
  if (!Inside(listOffset + kListHeaderSize, count * kListEntrySize, size))
    return "its chunk list is cut short (truncated)";
  return "";
}

} // namespace

std::string CheckPresetFile(const std::vector<uint8_t>& bytes, const FUID& classId) {
  if (bytes.size() < 4 || memcmp(bytes.data(), "VST3", 4) != 0) return "not a VST 3 preset file";
  if (static_cast<int64_t>(bytes.size()) < kHeaderSize) return "cut short inside its header";
  const std::string listProblem = CheckChunkList(bytes);
  if (!listProblem.empty()) return listProblem;

  ByteStream* stream = new ByteStream(bytes);
  PresetFile file(stream);
  stream->release();
  if (!file.readChunkList()) return "its chunk list cannot be read";
  for (int32 i = 0; i < file.getEntryCount(); ++i) {
    const PresetFile::Entry& entry = file.at(i);
    if (entry.offset < kHeaderSize ||
        !Inside(entry.offset, entry.size, static_cast<int64_t>(bytes.size())))
      return "its " + ChunkName(entry.id) +
             " chunk runs past the end of the file (truncated or damaged)";
  }
  if (file.getClassID() != classId) {
    char8 text[33] = {};
    file.getClassID().toString(text);
    return std::string("it is a preset of another plug-in (class ") + text + ")";
  }
  if (!file.getEntry(kComponentState)) return "it holds no component state";
  return "";
}

} // namespace vst3host
