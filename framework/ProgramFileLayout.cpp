#include "detail/ProgramFileLayout.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace programfile {

namespace {

const int kChunkLengthSize = 4;

// True when [offset, offset + length) lies inside size bytes; no sum overflows.
bool Inside(int64_t offset, int64_t length, int64_t size) {
  return offset >= 0 && length >= 0 && offset <= size && length <= size - offset;
}

// The chunk length at `offset` and the chunk after it, inside the file.
const char* DecodeSizedChunk(const unsigned char* bytes, int size, int offset, ChunkExtent* chunk) {
  if (!Inside(offset, kChunkLengthSize, size)) return "the chunk length is missing";
  const int32_t length = GetBigEndian32(bytes + offset);
  const int start = offset + kChunkLengthSize;
  if (!Inside(start, length, size)) return "the chunk runs past the end of the file";
  chunk->offset = start;
  chunk->length = length;
  return nullptr;
}

void GetProgramHeader(const unsigned char* p, ProgramHeader* header) {
  header->byteSize = GetBigEndian32(p + 4);
  header->fxMagic = GetBigEndian32(p + 8);
  header->version = GetBigEndian32(p + 12);
  header->pluginId = GetBigEndian32(p + 16);
  header->pluginVersion = GetBigEndian32(p + 20);
  header->numParams = GetBigEndian32(p + 24);
  // A stored name without a terminator is taken as all of its 28 bytes.
  memcpy(header->name, p + 28, kNameFieldSize);
  header->name[kNameFieldSize] = 0;
}

// The header rules: a bank's records are parameter programs whose id and
// version are not examined; a program file must be this plug-in's.
const char* CheckProgramHeader(const ProgramHeader& header, const Expected& expected, bool inBank) {
  if (header.version != kProgramVersion) return "unknown program version";
  if (!inBank && header.pluginId != expected.pluginId) return "a program of another plug-in";
  if (header.numParams != expected.numParams) return "the parameter count differs";
  if (header.fxMagic == kParamProgramMagic) return nullptr;
  if (header.fxMagic == kChunkProgramMagic && !inBank)
    return expected.doesChunks ? nullptr : "a chunk program for a plug-in without chunks";
  return "unknown program format";
}

const char* DecodeValues(const unsigned char* bytes, int size, int offset, int n, float* values) {
  if (!Inside(offset, 4 * static_cast<int64_t>(n), size))
    return "the parameter values run past the end of the file";
  for (int i = 0; i < n; ++i) {
    const float value = GetBigEndianFloat(bytes + offset + 4 * i);
    if (!std::isfinite(value)) return "a parameter value is not a number";
    values[i] = value;
  }
  return nullptr;
}

void PutWords(ByteChunk* out, std::initializer_list<int32_t> words) {
  for (int32_t word : words) PutBigEndian32(out, word);
}

} // namespace

void PutBigEndian32(ByteChunk* out, int32_t value) {
  const uint32_t word = static_cast<uint32_t>(value);
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(word >> 24), static_cast<unsigned char>(word >> 16),
      static_cast<unsigned char>(word >> 8), static_cast<unsigned char>(word)};
  out->PutBytes(bytes, 4);
}

void PutBigEndianFloat(ByteChunk* out, float value) {
  int32_t bits = 0;
  memcpy(&bits, &value, 4);
  PutBigEndian32(out, bits);
}

int32_t GetBigEndian32(const unsigned char* bytes) {
  return static_cast<int32_t>(
      (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
      (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]));
}

float GetBigEndianFloat(const unsigned char* bytes) {
  const int32_t bits = GetBigEndian32(bytes);
  float value = 0.0f;
  memcpy(&value, &bits, 4);
  return value;
}

void SetNameField(char (&field)[kNameFieldSize + 1], const char* name) {
  memset(field, 0, sizeof field);
  if (name) memcpy(field, name, strnlen(name, kNameFieldSize - 1));
}

void PutProgramHeader(ByteChunk* out, const ProgramHeader& header) {
  PutWords(out, {kFileMagic, header.byteSize, header.fxMagic, header.version, header.pluginId,
                 header.pluginVersion, header.numParams});
  // At most 27 characters and a NUL, whatever the header holds.
  char name[kNameFieldSize] = {};
  memcpy(name, header.name, strnlen(header.name, kNameFieldSize - 1));
  out->PutBytes(name, kNameFieldSize);
}

void PutBankHeader(ByteChunk* out, const BankHeader& header) {
  PutWords(out, {kFileMagic, header.byteSize, header.fxMagic, header.version, header.pluginId,
                 header.pluginVersion, header.numPrograms, header.currentProgram});
  const unsigned char zeros[kBankHeaderSize - 32] = {};
  out->PutBytes(zeros, sizeof zeros);
}

void PutSizedChunk(ByteChunk* out, const ByteChunk& chunk) {
  PutBigEndian32(out, chunk.Size());
  out->PutChunk(&chunk);
}

const char* DecodeProgram(const unsigned char* bytes, int size, int offset,
                          const Expected& expected, bool inBank, ProgramHeader* header,
                          float* values, ChunkExtent* chunk) {
  if (!Inside(offset, kProgramHeaderSize, size)) return "the program header is cut short";
  if (GetBigEndian32(bytes + offset) != kFileMagic) return "not a program file";
  GetProgramHeader(bytes + offset, header);
  if (const char* refusal = CheckProgramHeader(*header, expected, inBank)) return refusal;
  const int data = offset + kProgramHeaderSize;
  if (header->fxMagic == kChunkProgramMagic) return DecodeSizedChunk(bytes, size, data, chunk);
  return DecodeValues(bytes, size, data, expected.numParams, values);
}

const char* DecodeBank(const unsigned char* bytes, int size, const Expected& expected,
                       BankHeader* header, ChunkExtent* chunk) {
  if (size < kBankHeaderSize) return "the bank header is cut short";
  if (GetBigEndian32(bytes) != kFileMagic) return "not a bank file";
  header->byteSize = GetBigEndian32(bytes + 4);
  header->fxMagic = GetBigEndian32(bytes + 8);
  header->version = GetBigEndian32(bytes + 12);
  header->pluginId = GetBigEndian32(bytes + 16);
  header->pluginVersion = GetBigEndian32(bytes + 20);
  header->numPrograms = GetBigEndian32(bytes + 24);
  header->currentProgram = GetBigEndian32(bytes + 28);
  if (header->pluginId != expected.pluginId) return "a bank of another plug-in";
  if (header->fxMagic == kChunkBankMagic) {
    if (!expected.doesChunks) return "a chunk bank for a plug-in without chunks";
    return DecodeSizedChunk(bytes, size, kBankHeaderSize, chunk);
  }
  if (header->fxMagic != kParamBankMagic) return "unknown bank format";
  if (header->numPrograms < 0) return "a negative program count";
  if (header->numPrograms > expected.numPresets) return "more programs than the plug-in has";
  if (BankProgramOffset(header->numPrograms, expected.numParams) > size)
    return "the programs run past the end of the file";
  return nullptr;
}

int64_t BankProgramOffset(int k, int numParams) {
  return kBankHeaderSize +
         static_cast<int64_t>(k) * (kProgramHeaderSize + 4 * static_cast<int64_t>(numParams));
}

} // namespace programfile
