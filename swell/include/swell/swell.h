#pragma once
// The GDI layer: device and memory contexts, pens, brushes, fonts, bitmaps and
// text drawing with the calling model of the Win32 GDI, drawn by our own
// raster code into 32-bit pixels (bytes A, R, G, B in memory, rows top-down).
//
// Everything here is compiled with hidden visibility: these Win32 names must
// never bind to another module's copy inside a host process.
#include <cstdint>

struct GDP_CTX;
struct GDP_OBJECT;
struct SWELL_ImageList;
struct SWELL_Window;

typedef GDP_CTX* HDC;
typedef GDP_OBJECT* HGDIOBJ;
typedef HGDIOBJ HPEN;
typedef HGDIOBJ HBRUSH;
typedef HGDIOBJ HFONT;
typedef HGDIOBJ HBITMAP;
typedef HGDIOBJ HICON;
typedef SWELL_ImageList* HIMAGELIST;
typedef SWELL_Window* HWND;

typedef int BOOL;
typedef unsigned int UINT;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int DWORD;
typedef int LONG;
typedef char CHAR;
// Colour value: red in bits 16..23, green 8..15, blue 0..7 (not the pixel word).
typedef int COLORREF;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define RGB(r, g, b) ((((r)&0xFF) << 16) | (((g)&0xFF) << 8) | ((b)&0xFF))
#define GetRValue(c) (((c) >> 16) & 0xFF)
#define GetGValue(c) (((c) >> 8) & 0xFF)
#define GetBValue(c) ((c)&0xFF)

struct RECT {
  int left, top, right, bottom;
};
struct POINT {
  int x, y;
};
typedef RECT* LPRECT;
typedef POINT* LPPOINT;

struct TEXTMETRIC {
  int tmHeight;
  int tmAscent;
  int tmDescent;
  int tmInternalLeading;
  int tmAveCharWidth;
};

#define LF_FACESIZE 32
struct LOGFONT {
  int lfHeight;
  int lfWidth;
  int lfEscapement;
  int lfOrientation;
  int lfWeight;
  char lfItalic;
  char lfUnderline;
  char lfStrikeOut;
  char lfCharSet;
  char lfOutPrecision;
  char lfClipPrecision;
  char lfQuality;
  char lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];
};

// The size query of GetObject on a bitmap.
struct BITMAP {
  int bmWidth;
  int bmHeight;
};

struct ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;
  HBITMAP hbmColor;
};

// Caller-owned pixels that SWELL_CreateGfxContext draws into: the Linux form of
// a platform drawing context. Span is in pixels.
struct SWELL_PixelTarget {
  uint32_t* pixels;
  int width;
  int height;
  int span;
};

// Text-drawing flags (shared with the raster library's cached fonts).
#define DT_TOP 0x0
#define DT_LEFT 0x0
#define DT_CALCRECT 0x1
#define DT_VCENTER 0x2
#define DT_CENTER 0x4
#define DT_BOTTOM 0x10
#define DT_RIGHT 0x20
#define DT_SINGLELINE 0x40
#define DT_NOPREFIX 0x80
#define DT_NOCLIP 0x100

#define TRANSPARENT 0
#define OPAQUE 1

// Tokens accepted by SelectObject to empty a slot; never records.
#define SWELL_TOKEN_PEN ((HGDIOBJ)1)
#define SWELL_TOKEN_BRUSH ((HGDIOBJ)2)
#define SWELL_TOKEN_FONT ((HGDIOBJ)3)

#define NULL_PEN 1
#define NULL_BRUSH 2

#define PS_SOLID 0

#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700

#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define DEFAULT_PITCH 0

#define SRCCOPY 0x00CC0020
// BitBlt/StretchBlt raster op that blends the source by its alpha byte.
#define SRCCOPY_USEALPHACHAN 0xDEADBEEF

#define COLOR_3DSHADOW 0
#define COLOR_3DHILIGHT 1
#define COLOR_3DFACE 2
#define COLOR_BTNTEXT 3
#define COLOR_WINDOW 4
#define COLOR_3DDKSHADOW 5
#define COLOR_BTNSHADOW 6
#define COLOR_WINDOWTEXT 7
#define COLOR_INFOBK 8
#define COLOR_INFOTEXT 9

#define ILC_COLOR32 0x20

// Contexts
HDC SWELL_CreateMemContext(HDC hdc, int width, int height);
HDC SWELL_CreateGfxContext(void* platformContext);
void SWELL_DeleteGfxContext(HDC ctx);
void* SWELL_GetCtxFrameBuffer(HDC ctx);
void* SWELL_GetCtxGC(HDC ctx);

// Text and colours
int SetTextColor(HDC ctx, int colour);
int GetTextColor(HDC ctx);
int SetBkColor(HDC ctx, int colour);
int SetBkMode(HDC ctx, int mode);
int SWELL_DrawText(HDC ctx, const char* text, int byteCount, RECT* rect, int flags);
BOOL GetTextMetrics(HDC ctx, TEXTMETRIC* metrics);

// Objects
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, char italic,
                 char underline, char strikeOut, char charSet, char outputPrecision,
                 char clipPrecision, char quality, char pitchAndFamily, const char* faceName);
HFONT CreateFontIndirect(const LOGFONT* logFont);
HPEN CreatePen(int style, int width, int colour);
HPEN CreatePenAlpha(int style, int width, int colour, float alpha);
HBRUSH CreateSolidBrush(int colour);
HBRUSH CreateSolidBrushAlpha(int colour, float alpha);
HBITMAP CreateBitmap(int width, int height, int planes, int bitsPerPixel, const void* data);
HICON CreateIconIndirect(const ICONINFO* info);
HBITMAP LoadNamedImage(const char* name, bool magentaToAlpha);
HGDIOBJ GetStockObject(int index);
HGDIOBJ SelectObject(HDC ctx, HGDIOBJ object);
void DeleteObject(HGDIOBJ object);
HGDIOBJ SWELL_CloneGDIObject(HGDIOBJ object);
int GetObject(HGDIOBJ object, int bufferSize, void* buffer);
void* GetNSImageFromHICON(HICON icon);

// Drawing
void SWELL_FillRect(HDC ctx, const RECT* rect, HBRUSH brush);
void Rectangle(HDC ctx, int left, int top, int right, int bottom);
void Ellipse(HDC ctx, int left, int top, int right, int bottom);
void RoundRect(HDC ctx, int left, int top, int right, int bottom, int cornerWidth,
               int cornerHeight);
void SWELL_Polygon(HDC ctx, const POINT* points, int count);
void MoveToEx(HDC ctx, int x, int y, POINT* oldPosition);
void SWELL_LineTo(HDC ctx, int x, int y);
void PolyBezierTo(HDC ctx, const POINT* points, int count);
void PolyPolyline(HDC ctx, const POINT* points, const DWORD* counts, int polylineCount);
void SWELL_SetPixel(HDC ctx, int x, int y, int colour);
void SWELL_PushClipRegion(HDC ctx);
void SWELL_SetClipRegion(HDC ctx, const RECT* rect);
void SWELL_PopClipRegion(HDC ctx);
void SWELL_FillDialogBackground(HDC ctx, const RECT* rect);
void StretchBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh,
                int rasterOp);
void BitBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int rasterOp);
void DrawImageInRect(HDC ctx, HGDIOBJ image, const RECT* rect);
int GetSysColor(int index);

// Windows: a window offers the pixels it paints into, when it has any.
struct SWELL_Window {
  SWELL_PixelTarget* paintTarget;
};
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
void ReleaseDC(HWND window, HDC ctx);

// Image lists
HIMAGELIST ImageList_CreateEx();
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
void ImageList_Remove(HIMAGELIST list, int index);
void ImageList_Destroy(HIMAGELIST list);
