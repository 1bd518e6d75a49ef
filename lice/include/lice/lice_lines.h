#pragma once
// Lines, curves and shapes drawn straight into bitmaps. Only the low 8 bits of
// the mode word matter (copy, add, dodge, multiply, overlay, HSV adjust);
// alpha becomes a weight out of 256.
#include "lice/lice.h"

// Clips a line to left..right, top..bottom (both inclusive); the ends are
// moved in the order given. True when something remains.
bool LICE_ClipLine(int* pX1, int* pY1, int* pX2, int* pY2, int xLo, int yLo, int xHi, int yHi);
bool LICE_ClipFLine(float* px1, float* py1, float* px2, float* py2, float xlo, float ylo, float xhi,
                    float yhi);

// Both end points are drawn; A to B and B to A set the same pixels.
void LICE_Line(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_Pixel32 color,
               float alpha = 1.0f, int mode = 0, bool aa = false);
void LICE_FLine(LICE_IBitmap* dest, float x1, float y1, float x2, float y2, LICE_Pixel32 color,
                float alpha = 1.0f, int mode = 0, bool aa = false);
void LICE_DashedLine(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int pxon, int pxoff,
                     LICE_Pixel32 color, float alpha = 1.0f, int mode = 0, bool aa = false);
void LICE_DrawRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_Pixel32 color,
                   float alpha = 1.0f, int mode = 0);
void LICE_BorderedRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_Pixel32 bgcolor,
                       LICE_Pixel32 fgcolor, float alpha = 1.0f, int mode = 0);

void LICE_Circle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_Pixel32 color,
                 float alpha = 1.0f, int mode = 0, bool aa = false);
void LICE_FillCircle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_Pixel32 color,
                     float alpha = 1.0f, int mode = 0, bool aa = false);
// Angles in radians, 0 pointing up, growing clockwise.
void LICE_Arc(LICE_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle,
              LICE_Pixel32 color, float alpha = 1.0f, int mode = 0, bool aa = false);
void LICE_RoundRect(LICE_IBitmap* dest, float x, float y, float w, float h, int cornerradius,
                    LICE_Pixel32 color, float alpha = 1.0f, int mode = 0, bool aa = false);

// Rows y1 and y2 filled from the a edge to the b edge, both ends included.
void LICE_FillTrapezoid(LICE_IBitmap* dest, int x1a, int x1b, int y1, int x2a, int x2b, int y2,
                        LICE_Pixel32 color, float alpha = 1.0f, int mode = 0);
void LICE_FillTriangle(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3,
                       LICE_Pixel32 color, float alpha = 1.0f, int mode = 0);
void LICE_FillConvexPolygon(LICE_IBitmap* dest, const int* x, const int* y, int npoints,
                            LICE_Pixel32 color, float alpha = 1.0f, int mode = 0);

// Curves are flattened into segments no further than about tol pixels from
// the curve (tol below 0.1 counts as 0.1).
void LICE_DrawQBezier(LICE_IBitmap* dest, double xstart, double ystart, double xctl, double yctl,
                      double xend, double yend, LICE_Pixel32 color, float alpha = 1.0f,
                      int mode = 0, bool aa = false, double tol = 0.0);
void LICE_DrawCBezier(LICE_IBitmap* dest, double xstart, double ystart, double xctl1, double yctl1,
                      double xctl2, double yctl2, double xend, double yend, LICE_Pixel32 color,
                      float alpha = 1.0f, int mode = 0, bool aa = false, double tol = 0.0);
// Fills between the curve and the row yfill (the X variant: the column xfill).
void LICE_FillCBezier(LICE_IBitmap* dest, double xstart, double ystart, double xctl1, double yctl1,
                      double xctl2, double yctl2, double xend, double yend, int yfill,
                      LICE_Pixel32 color, float alpha = 1.0f, int mode = 0, double tol = 0.0);
void LICE_FillCBezierX(LICE_IBitmap* dest, double xstart, double ystart, double xctl1, double yctl1,
                       double xctl2, double yctl2, double xend, double yend, int xfill,
                       LICE_Pixel32 color, float alpha = 1.0f, int mode = 0, double tol = 0.0);
