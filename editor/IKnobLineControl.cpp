#include "editor/IKnobLineControl.h"

#include <cmath>

#include "detail/UnitValue.h"
#include "editor/IGraphics.h"

IKnobLineControl::IKnobLineControl(IPlugBase* plug, IRECT rect, int paramIdx, const IColor* color,
                                   double innerRadius, double outerRadius, double minAngle,
                                   double maxAngle, EDirection direction, double gearing)
    : IKnobControl(plug, rect, paramIdx, direction, gearing), mColor(color ? *color : COLOR_BLACK),
      mMinAngle(static_cast<float>(minAngle)), mMaxAngle(static_cast<float>(maxAngle)),
      mInnerRadius(static_cast<float>(innerRadius)), mOuterRadius(static_cast<float>(outerRadius)) {
  if (mOuterRadius == 0.0f) mOuterRadius = 0.5f * static_cast<float>(rect.W());
  mBlend = IChannelBlend(IChannelBlend::kBlendClobber);
}

float IKnobLineControl::GetAngle() const {
  return mMinAngle + static_cast<float>(HeldInUnit(GetValue())) * (mMaxAngle - mMinAngle);
}

bool IKnobLineControl::Draw(IGraphics* graphics) {
  const float cx = mRECT.MW(), cy = mRECT.MH(), angle = GetAngle();
  const float s = std::sin(angle), c = std::cos(angle);
  const float x1 = cx + s * mInnerRadius, y1 = cy - c * mInnerRadius;
  const float x2 = cx + s * mOuterRadius, y2 = cy - c * mOuterRadius;
  return graphics->DrawLine(&mColor, x1, y1, x2, y2, &mBlend, true);
}
