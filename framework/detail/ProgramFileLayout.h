#pragma once
// The byte layouts of program ("fxp") and bank ("fxb") files: 32-bit
// big-endian integers, four-character codes most significant character first,
// parameter values as big-endian IEEE 754 floats holding normalized values.
// Pure functions over byte buffers: the plug-in base decides what to write and
// what a loaded file changes (IPlugBaseProgramFiles.cpp), PresetFileIO.h moves
// the bytes to and from disk.
//
// A decoder never reads outside the bytes it is given: every count, length and
// offset taken from a file is checked against the file's size first. It
// answers with null on success or a short reason for the refusal.
#include <cstdint>

#include "framework/ByteChunk.h"

namespace programfile {

constexpr int32_t FourCC(const char (&code)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
                              static_cast<uint32_t>(static_cast<unsigned char>(code[3])));
}

const int32_t kFileMagic = FourCC("CcnK");
const int32_t kParamProgramMagic = FourCC("FxCk");
const int32_t kChunkProgramMagic = FourCC("FPCh");
const int32_t kParamBankMagic = FourCC("FxBk");
const int32_t kChunkBankMagic = FourCC("FBCh");
const int32_t kProgramVersion = 1;
const int32_t kBankVersion = 2;

// A program: 56 header bytes, then the floats or the chunk length and chunk.
const int kProgramHeaderSize = 56;
// A bank: 32 header bytes and 124 zero bytes, then the programs or the chunk.
const int kBankHeaderSize = 156;
// The name field holds 27 characters and a NUL when we write it; a stored one
// may fill all 28 bytes.
const int kNameFieldSize = 28;

struct ProgramHeader {
  int32_t fxMagic = kParamProgramMagic; // FxCk or FPCh
  int32_t byteSize = 0;
  int32_t version = kProgramVersion;
  int32_t pluginId = 0;
  int32_t pluginVersion = 0; // decimal form
  int32_t numParams = 0;
  char name[kNameFieldSize + 1] = {};
};

struct BankHeader {
  int32_t fxMagic = kParamBankMagic; // FxBk or FBCh
  int32_t byteSize = 0;
  int32_t version = kBankVersion;
  int32_t pluginId = 0;
  int32_t pluginVersion = 0;
  int32_t numPrograms = 0;
  int32_t currentProgram = 0;
};

// What a loader expects of a file: the plug-in's identity and shape.
struct Expected {
  int32_t pluginId;
  int numParams;
  int numPresets;
  bool doesChunks;
};

// Where a chunk lies inside the file's bytes.
struct ChunkExtent {
  int offset = 0;
  int length = 0;
};

void PutBigEndian32(ByteChunk* out, int32_t value);
void PutBigEndianFloat(ByteChunk* out, float value);
int32_t GetBigEndian32(const unsigned char* bytes);
float GetBigEndianFloat(const unsigned char* bytes);

// Copies a name into the 28-byte field: cut to 27 bytes, NUL-padded.
void SetNameField(char (&field)[kNameFieldSize + 1], const char* name);

// The 56 bytes of a program header.
void PutProgramHeader(ByteChunk* out, const ProgramHeader& header);
// The 156 bytes of a bank header.
void PutBankHeader(ByteChunk* out, const BankHeader& header);
// A chunk's length, then its bytes.
void PutSizedChunk(ByteChunk* out, const ByteChunk& chunk);

// A whole program or bank record at `offset`: its header, checked against
// what the plug-in expects, and for parameter programs its floats, which must
// all be finite (values are left in `values`, numParams of them). A chunk
// program's extent goes to `chunk`.
const char* DecodeProgram(const unsigned char* bytes, int size, int offset,
                          const Expected& expected, bool inBank, ProgramHeader* header,
                          float* values, ChunkExtent* chunk);

// A bank header, checked against the plug-in: for parameter banks every
// program record must fit in the file, for chunk banks the chunk.
const char* DecodeBank(const unsigned char* bytes, int size, const Expected& expected,
                       BankHeader* header, ChunkExtent* chunk);

// Offset of program record k in a parameter bank.
int64_t BankProgramOffset(int k, int numParams);

} // namespace programfile
