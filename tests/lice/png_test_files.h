#pragma once
// Builds small PNG files in memory with libpng so the loader tests can cover
// every colour type, depth and chunk combination without binary fixtures.
#include <cstdint>
#include <string>
#include <vector>

struct TestPngImage {
  int width = 1;
  int height = 1;
  int bitDepth = 8;
  int colorType = 2; // libpng colour type numbers
  bool interlaced = false;
  // Samples row by row, channels interleaved as the colour type stores them
  // (palette: indexes). Packed and byte-swapped by the encoder.
  std::vector<uint16_t> samples;
  std::vector<uint8_t> palette; // r, g, b triples
  std::vector<uint8_t> paletteAlpha;
  bool hasColorKey = false; // tRNS for grey / RGB
  uint16_t keyGray = 0, keyRed = 0, keyGreen = 0, keyBlue = 0;
};

std::vector<uint8_t> EncodeTestPng(const TestPngImage& image);

// Offset of the first chunk of that type (its length field), or -1.
long FindPngChunk(const std::vector<uint8_t>& png, const char type[4]);
// Recomputes the CRC of the chunk whose length field starts at offset.
void FixPngChunkCrc(std::vector<uint8_t>& png, long offset);
void PutBigEndian32(std::vector<uint8_t>& png, long offset, uint32_t value);

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes);
