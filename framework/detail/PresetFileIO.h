#pragma once
// Program and bank files on disk: read whole within a size bound, written so
// that a failure never leaves a half-written file or loses the old one.
#include "framework/ByteChunk.h"

// Larger files are refused before any of them is read.
const int kMaxPresetFileSize = 64 * 1024 * 1024;

// The whole of a regular file of at most kMaxPresetFileSize bytes into
// `bytes`; false when it cannot be read or is too large.
bool ReadPresetFile(const char* path, ByteChunk* bytes);

// Writes a temporary file beside `path`, then renames it over `path`. False
// when any step fails; the temporary file is removed and `path` untouched.
bool WritePresetFile(const char* path, const ByteChunk& bytes);
