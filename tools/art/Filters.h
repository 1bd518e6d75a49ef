#pragma once
// Whole-bitmap operations the raster library has no exact form of.
#include "lice/lice.h"

namespace art {

// Averages each factor x factor block of src into one pixel of dest at
// (dstx, dsty), rounding to nearest. The library's halving truncates each
// quarter, which darkens white to 252 and would read as a trace of alpha.
void Downsample(LICE_IBitmap* dest, int dstx, int dsty, LICE_IBitmap* src, int factor);

// Three box passes each way approximate a Gaussian of about radius / 1.7
// standard deviation; edges repeat their last pixel.
void SoftBlur(LICE_IBitmap* bm, int radius);

// Recovers a transparent image from the same drawing made over opaque black
// and over opaque white, both factor times finer than dest: what shows of the
// white is what the drawing lets through, and the black rendering is the
// drawing times its alpha. Working from the block sums keeps the colour of
// faint pixels (a glow's edge) steady.
void UnmatteDownsample(LICE_IBitmap* onBlack, LICE_IBitmap* onWhite, int factor, LICE_IBitmap* dest,
                       int dstx, int dsty);

} // namespace art
