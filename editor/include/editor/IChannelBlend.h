#pragma once
// How a drawing operation combines with the canvas: a method and a weight,
// turned into the raster library's mode word and alpha.
#include "lice/lice.h"

struct IChannelBlend {
  enum EBlendMethod { kBlendNone = 0, kBlendClobber, kBlendAdd, kBlendColorDodge };

  EBlendMethod mMethod = kBlendNone;
  float mWeight = 1.0f;

  IChannelBlend() = default;
  IChannelBlend(EBlendMethod method, float weight = 1.0f) : mMethod(method), mWeight(weight) {}
};

// A null blend draws with source alpha at full weight; unknown methods act as none.
inline int LiceBlendMode(const IChannelBlend* blend) {
  if (!blend) return LICE_MODE_COPY | LICE_MODE_USE_ALPHA;
  switch (blend->mMethod) {
  case IChannelBlend::kBlendClobber:
    return LICE_MODE_COPY;
  case IChannelBlend::kBlendAdd:
    return LICE_MODE_ADD | LICE_MODE_USE_ALPHA;
  case IChannelBlend::kBlendColorDodge:
    return LICE_MODE_DODGE | LICE_MODE_USE_ALPHA;
  case IChannelBlend::kBlendNone:
  default:
    return LICE_MODE_COPY | LICE_MODE_USE_ALPHA;
  }
}

inline float LiceBlendWeight(const IChannelBlend* blend) {
  return blend ? blend->mWeight : 1.0f;
}
