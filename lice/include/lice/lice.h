#pragma once
// Raster graphics: 32-bit software bitmaps and the free functions that draw
// into them. Every function accepts null bitmaps, bitmaps without pixels and
// rectangles that miss the bitmap by doing nothing.
#include <cstdint>

#include "swell/swell.h" // HDC and RECT

// One pixel, not premultiplied. Bytes in memory: alpha, red, green, blue, so
// on x86 the word reads A | R << 8 | G << 16 | B << 24.
typedef uint32_t LICE_Pixel32;
typedef LICE_Pixel32 LICE_pixel;
typedef unsigned char LICE_pixel_chan;

#define LICE_PIXEL_A 0
#define LICE_PIXEL_R 1
#define LICE_PIXEL_G 2
#define LICE_PIXEL_B 3

#define LICE_RGBA(r, g, b, a)                                                                      \
  ((LICE_Pixel32)(((a)&0xFF) | (((r)&0xFF) << 8) | (((g)&0xFF) << 16) |                            \
                  ((uint32_t)((b)&0xFF) << 24)))
#define LICE_RGB(r, g, b) LICE_RGBA(r, g, b, 255)
#define LICE_GETA(v) ((int)((v)&0xFF))
#define LICE_GETR(v) ((int)(((v) >> 8) & 0xFF))
#define LICE_GETG(v) ((int)(((v) >> 16) & 0xFF))
#define LICE_GETB(v) ((int)(((v) >> 24) & 0xFF))

// Blend-mode word: low 8 bits pick the combine operator, bits 8..15 the
// sampling, bit 16 weights each source pixel by its own alpha.
#define LICE_MODE_COPY 0
#define LICE_MODE_ADD 1
#define LICE_MODE_DODGE 2
#define LICE_MODE_MUL 3
#define LICE_MODE_OVERLAY 4
#define LICE_MODE_HSVADJ 5
#define LICE_MODE_MASK 0xFF
// Unscaled blits only: copy one byte of each pixel into another byte.
#define LICE_MODE_CHANCOPY 0xF0
#define LICE_MODE_CHANCOPY_FROM_TO(srcByte, dstByte)                                               \
  (LICE_MODE_CHANCOPY | ((srcByte)&3) | (((dstByte)&3) << 2))
#define LICE_MODE_FILTER_BILINEAR 0x100
#define LICE_MODE_FILTER_MASK 0xFF00
#define LICE_MODE_USE_ALPHA 0x10000

class LICE_IBitmap {
public:
  virtual ~LICE_IBitmap() {}
  // First pixel of the first stored row, or null when there are no pixels.
  virtual LICE_Pixel32* getBits() = 0;
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  // Distance between rows in pixels (not bytes).
  virtual int getRowSpan() = 0;
  // True when rows are stored bottom-up.
  virtual bool isFlipped() { return false; }
  // Returns true when the size changed.
  virtual bool resize(int w, int h) = 0;
  // A GDI-layer context drawing into the same pixels, or null.
  virtual HDC getDC() { return nullptr; }
  virtual intptr_t Extended(int id, void* data) {
    (void)id;
    (void)data;
    return 0;
  }
};

// Pixels on the heap, 64-byte aligned, rows padded to the line alignment.
// The buffer never shrinks, so repeated resizes do not reallocate.
class LICE_MemBitmap : public LICE_IBitmap {
public:
  LICE_MemBitmap(int w = 0, int h = 0, unsigned int linealign = 4);
  ~LICE_MemBitmap() override;
  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  LICE_Pixel32* getBits() override;
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override;
  bool resize(int w, int h) override;

private:
  unsigned char* mFb = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mAllocSize = 0;
  int mLineAlignMask = 0;
};

// Pixels owned by a GDI-layer memory context, so GDI calls can draw into them.
class LICE_SysBitmap : public LICE_IBitmap {
public:
  LICE_SysBitmap(int w = 0, int h = 0);
  ~LICE_SysBitmap() override;
  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  LICE_Pixel32* getBits() override { return mBits; }
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override { return mRowSpan; }
  bool resize(int w, int h) override;
  HDC getDC() override { return mDC; }

private:
  int mWidth = 0;
  int mHeight = 0;
  LICE_Pixel32* mBits = nullptr;
  int mRowSpan = 0;
  int mAllocHeight = 0;
  HDC mDC = nullptr;
};

// Unscaled blits; srcrect null means the whole source.
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const RECT* srcrect,
               float alpha, int mode);
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy,
               int srcw, int srch, float alpha, int mode);
// Resizes dest to the source size and copies every pixel.
void LICE_Copy(LICE_IBitmap* dest, LICE_IBitmap* src);

// Rectangles and single pixels.
void LICE_Clear(LICE_IBitmap* bm, LICE_Pixel32 color);
void LICE_ClearRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_Pixel32 mask = 0,
                    LICE_Pixel32 orbits = 0);
void LICE_FillRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_Pixel32 color,
                   float alpha = 1.0f, int mode = 0);
LICE_Pixel32 LICE_GetPixel(LICE_IBitmap* bm, int x, int y);
void LICE_PutPixel(LICE_IBitmap* bm, int x, int y, LICE_Pixel32 color, float alpha, int mode);
void LICE_ProcessRect(LICE_IBitmap* bm, int x, int y, int w, int h,
                      void (*procFunc)(LICE_Pixel32* p, void* parm), void* parm);
void LICE_SetAlphaFromColorMask(LICE_IBitmap* bm, LICE_Pixel32 color);
void LICE_SimpleFill(LICE_IBitmap* bm, int x, int y, LICE_Pixel32 newcolor,
                     LICE_Pixel32 comparemask = LICE_RGBA(255, 255, 255, 0),
                     LICE_Pixel32 keepmask = 0);
void LICE_MultiplyAddRect(LICE_IBitmap* bm, int x, int y, int w, int h, float rsc, float gsc,
                          float bsc, float asc, float radd, float gadd, float badd, float aadd);
// Colour 1.0 = 255, alpha 1.0 = 256; deltas are per column and per row.
void LICE_GradRect(LICE_IBitmap* bm, int dstx, int dsty, int dstw, int dsth, float ir, float ig,
                   float ib, float ia, float drdx, float dgdx, float dbdx, float dadx, float drdy,
                   float dgdy, float dbdy, float dady, int mode);
// coordsOut, when given, receives x, y, w, h of the differing area.
int LICE_BitmapCmp(LICE_IBitmap* a, LICE_IBitmap* b, int* coordsOut = nullptr);

LICE_Pixel32 LICE_CombinePixels(LICE_Pixel32 dest, LICE_Pixel32 src, float alpha, int mode);
void LICE_CombinePixels2(LICE_Pixel32* destptr, int r, int g, int b, int a, int ia, int mode);
void LICE_CombinePixels2Clamp(LICE_Pixel32* destptr, int r, int g, int b, int a, int ia, int mode);

// Resampling blits. Source coordinates are in pixels; a negative dstw or dsth
// mirrors the source along that axis.
void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                     float srcx, float srcy, float srcw, float srch, float alpha, int mode);
// Rotates about the centre of the rectangles, moved by rotxcent, rotycent.
void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                      float srcx, float srcy, float srcw, float srch, float angle,
                      bool cliptosourcerect, float alpha, int mode, float rotxcent = 0.0f,
                      float rotycent = 0.0f);
// Per destination column the source moves by (dsdx, dtdx), per row by
// (dsdy, dtdy); the column step itself changes by (dsdxdy, dtdxdy) per row.
void LICE_DeltaBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                    float srcx, float srcy, float srcw, float srch, double dsdx, double dtdx,
                    double dsdy, double dtdy, double dsdxdy, double dtdxdy, bool cliptosourcerect,
                    float alpha, int mode);
// srcpoints holds div_w x div_h source (x, y) pairs laid evenly over the
// destination rectangle, row by row.
void LICE_TransformBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw,
                        int dsth, const float* srcpoints, int div_w, int div_h, float alpha,
                        int mode);
void LICE_TransformBlit2(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw,
                         int dsth, const double* srcpoints, int div_w, int div_h, float alpha,
                         int mode);
// 2 x 2 box down-scaling into the top-left of dest.
void LICE_HalveBlitAA(LICE_IBitmap* dest, LICE_IBitmap* src);
// Fixed 5-tap blur of a source rectangle to dstx, dsty.
void LICE_Blur(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy,
               int srcw, int srch);
