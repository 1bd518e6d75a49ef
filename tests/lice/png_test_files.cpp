#include "png_test_files.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

namespace {

int channelsOf(int colorType) {
  switch (colorType) {
  case PNG_COLOR_TYPE_GRAY:
  case PNG_COLOR_TYPE_PALETTE:
    return 1;
  case PNG_COLOR_TYPE_GRAY_ALPHA:
    return 2;
  case PNG_COLOR_TYPE_RGB:
    return 3;
  default:
    return 4;
  }
}

std::vector<uint8_t> packRow(const TestPngImage& image, int y) {
  const int perRow = image.width * channelsOf(image.colorType);
  const uint16_t* in = image.samples.data() + static_cast<size_t>(y) * perRow;
  std::vector<uint8_t> row;
  if (image.bitDepth == 16) {
    for (int i = 0; i < perRow; ++i) {
      row.push_back(static_cast<uint8_t>(in[i] >> 8));
      row.push_back(static_cast<uint8_t>(in[i]));
    }
  } else if (image.bitDepth == 8) {
    for (int i = 0; i < perRow; ++i) row.push_back(static_cast<uint8_t>(in[i]));
  } else {
    const int perByte = 8 / image.bitDepth;
    row.assign(static_cast<size_t>((perRow + perByte - 1) / perByte), 0);
    for (int i = 0; i < perRow; ++i) {
      const int shift = 8 - image.bitDepth * (i % perByte + 1);
      row[static_cast<size_t>(i / perByte)] |= static_cast<uint8_t>(in[i] << shift);
    }
  }
  return row;
}

void appendBytes(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

void describe(png_structp png, png_infop info, const TestPngImage& image) {
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), image.bitDepth, image.colorType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!image.palette.empty()) {
    std::vector<png_color> colours;
    for (size_t i = 0; i + 2 < image.palette.size(); i += 3) {
      colours.push_back({image.palette[i], image.palette[i + 1], image.palette[i + 2]});
    }
    png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
  }
  if (!image.paletteAlpha.empty()) {
    png_set_tRNS(png, info, image.paletteAlpha.data(), static_cast<int>(image.paletteAlpha.size()),
                 nullptr);
  } else if (image.hasColorKey) {
    png_color_16 key{0, image.keyRed, image.keyGreen, image.keyBlue, image.keyGray};
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
}

} // namespace

std::vector<uint8_t> EncodeTestPng(const TestPngImage& image) {
  std::vector<uint8_t> out;
  std::vector<std::vector<uint8_t>> rows;
  for (int y = 0; y < image.height; ++y) rows.push_back(packRow(image, y));
  std::vector<png_bytep> rowPointers;
  for (auto& row : rows) rowPointers.push_back(row.data());

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, appendBytes, flushNothing);
  png_set_check_for_invalid_index(png, 0); // the malformed corpus wants bad indexes
  describe(png, info, image);
  png_write_info(png, info);
  png_write_image(png, rowPointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

long FindPngChunk(const std::vector<uint8_t>& png, const char type[4]) {
  size_t at = 8;
  while (at + 8 <= png.size()) {
    const uint32_t length = (uint32_t(png[at]) << 24) | (uint32_t(png[at + 1]) << 16) |
                            (uint32_t(png[at + 2]) << 8) | png[at + 3];
    if (std::equal(type, type + 4, png.begin() + static_cast<long>(at) + 4)) {
      return static_cast<long>(at);
    }
    at += 12 + static_cast<size_t>(length);
  }
  return -1;
}

void PutBigEndian32(std::vector<uint8_t>& png, long offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) png[static_cast<size_t>(offset + i)] = uint8_t(value >> (24 - 8 * i));
}

void FixPngChunkCrc(std::vector<uint8_t>& png, long offset) {
  const uint32_t length = (uint32_t(png[offset]) << 24) | (uint32_t(png[offset + 1]) << 16) |
                          (uint32_t(png[offset + 2]) << 8) | png[offset + 3];
  const uLong crc = crc32(0L, png.data() + offset + 4, static_cast<uInt>(length + 4));
  PutBigEndian32(png, offset + 8 + static_cast<long>(length), static_cast<uint32_t>(crc));
}

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  const char* base = getenv("TMPDIR");
  std::string path = std::string(base && *base ? base : "/tmp") + "/grittlebox_png_" +
                     std::to_string(getpid()) + "_" + name;
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return {};
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
  return path;
}
