#pragma once
// Text drawn into bitmaps through GDI-layer fonts, natively or from a cache
// of rendered glyph coverage, and the coverage compositing both use.
#include "lice/lice.h"
#include "wdl/heap_buf.h"

// Composites a block of coverage bytes (0 empty .. 255 full) in color at x, y,
// clipped to the bitmap. Modes 0..5 use their combine operator.
void LICE_DrawGlyphEx(LICE_IBitmap* dest, int x, int y, LICE_Pixel32 color,
                      const LICE_pixel_chan* alphas, int glyph_w, int glyph_span, int glyph_h,
                      float alpha, int mode);
void LICE_DrawGlyph(LICE_IBitmap* dest, int x, int y, LICE_Pixel32 color,
                    const LICE_pixel_chan* alphas, int glyph_w, int glyph_h, float alpha = 1.0f,
                    int mode = 0);

// Decodes one character of at most len bytes (len < 0: up to the NUL); never
// reads past len. Returns the bytes used (at least 1 for non-empty input, 0
// for empty input) and stores a 16-bit character.
int LICE_DecodeUTF8(const char* text, int len, unsigned short* outChar);

// Font flags for SetFromHFont.
#define LICE_FONT_FLAG_VERTICAL 0x1
#define LICE_FONT_FLAG_VERTICAL_BOTTOMUP 0x2
#define LICE_FONT_FLAG_PRECALCALL 0x4
#define LICE_FONT_FLAG_FX_BLUR 0x10
#define LICE_FONT_FLAG_FX_INVERT 0x20
#define LICE_FONT_FLAG_FX_MONO 0x40
#define LICE_FONT_FLAG_FX_SHADOW 0x80
#define LICE_FONT_FLAG_FX_OUTLINE 0x100
#define LICE_FONT_FLAG_OWNS_HFONT 0x200
#define LICE_FONT_FLAG_FORCE_NATIVE 0x400

// DrawText flags beyond the GDI layer's DT_ values.
#define LICE_DT_USEFGALPHA 0x40000000
#define LICE_DT_NEEDALPHA 0x80000000

class LICE_IFont {
public:
  virtual ~LICE_IFont() {}
  virtual void SetFromHFont(HFONT font, int flags = 0) = 0;
  virtual LICE_Pixel32 SetTextColor(LICE_Pixel32 color) = 0;
  virtual LICE_Pixel32 SetBkColor(LICE_Pixel32 color) = 0;
  virtual LICE_Pixel32 SetEffectColor(LICE_Pixel32 color) = 0;
  virtual int SetBkMode(int mode) = 0;
  virtual void SetCombineMode(int combine, float alpha = 1.0f) = 0;
  virtual int DrawText(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect, UINT dtFlags) = 0;
  virtual LICE_Pixel32 GetTextColor() = 0;
  virtual HFONT GetHFont() = 0;
  virtual int GetLineHeight() = 0;
};

class LICE_CachedFont : public LICE_IFont {
public:
  LICE_CachedFont();
  ~LICE_CachedFont() override;
  LICE_CachedFont(const LICE_CachedFont&) = delete;
  LICE_CachedFont& operator=(const LICE_CachedFont&) = delete;

  void SetFromHFont(HFONT font, int flags = 0) override;
  LICE_Pixel32 SetTextColor(LICE_Pixel32 color) override;
  LICE_Pixel32 SetBkColor(LICE_Pixel32 color) override;
  LICE_Pixel32 SetEffectColor(LICE_Pixel32 color) override;
  int SetBkMode(int mode) override;
  void SetCombineMode(int combine, float alpha = 1.0f) override;
  int DrawText(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect, UINT dtFlags) override;
  LICE_Pixel32 GetTextColor() override { return m_fg; }
  HFONT GetHFont() override { return m_font; }
  int GetLineHeight() override { return m_line_height; }
  void SetLineSpacingAdjust(int amt) { m_lsadj = amt; }

  // Live cached fonts; the shared scratch bitmaps exist only while it is > 0.
  static int LiveFontCount();
  static bool ScratchBitmapsExist();

  struct charEnt {
    int base_offset; // 1-based into the glyph data; 0 not rendered; -1 empty
    int width, height;
    int advance;
    int charid;
  };

private:
  bool RenderGlyph(unsigned short idx);
  // Index into the extended table, or -1; never a pointer, so that the
  // record is found again after the table grows.
  int FindExtended(unsigned short c) const;
  charEnt* Record(unsigned short c);
  bool DrawGlyph(LICE_IBitmap* bm, unsigned short c, int xpos, int ypos, const RECT* clipR);
  int DrawTextNative(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect, UINT dtFlags);
  int DrawTextCached(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect, UINT dtFlags);
  int DrawCachedRun(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect, UINT dtFlags);
  int MeasureCached(const char* str, int strcnt, UINT dtFlags, int* width, int* height);
  // The record for c, rendered on first use; null when it draws nothing.
  const charEnt* GlyphFor(unsigned short c);
  bool UseNative(UINT dtFlags) const;
  void StoreCoverage(charEnt* rec, LICE_IBitmap* scratch, int w, int h, int advance);
  void ApplyEffects(charEnt* rec);

  LICE_Pixel32 m_fg = 0, m_bg = 0xFFFFFFFF, m_effectcol = 0xFFFFFFFF;
  int m_bgmode = 0;
  int m_comb = 0;
  float m_alpha = 1.0f;
  int m_flags = 0;
  int m_line_height = 0;
  int m_lsadj = 0;
  charEnt m_lowchars[128];
  WDL_TypedBuf<charEnt> m_extracharlist;
  WDL_TypedBuf<unsigned char> m_cachestore;
  HFONT m_font = nullptr;
};
