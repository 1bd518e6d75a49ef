#pragma once
// Pixel-exact comparison with a PNG under tests/editor/golden/. With
// GRITTLEBOX_UPDATE_GOLDEN=1 in the environment the test writes the PNG
// instead, which is how the files are made again after an intended change.
#include <string>

class LICE_IBitmap;

// Empty when equal (or written); otherwise what differs.
std::string CompareWithGolden(LICE_IBitmap* drawn, const char* name);
