#pragma once
// Internal to lice/: fixed coverage blocks stamped for the most common small
// circle radii instead of computing them.

struct LICE_SmallCircle {
  float radius;
  int size;
  const unsigned char* aa;
  const unsigned char* plain;
};

// The block for exactly this radius, or null.
const LICE_SmallCircle* LICE_FindSmallCircle(float radius);
