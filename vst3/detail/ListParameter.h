#pragma once
// The SDK's string-list parameter with room for its entries made up front.
// The SDK's appendString loses an entry's text when storing it throws; with
// the room made, storing cannot throw, and a failed allocation leaks nothing.
#include "public.sdk/source/vst/vstparameters.h"

namespace vst3binding {

class ListParameter : public Steinberg::Vst::StringListParameter {
public:
  ListParameter(const Steinberg::Vst::TChar* title, Steinberg::Vst::ParamID tag,
                const Steinberg::Vst::TChar* units, Steinberg::int32 flags,
                Steinberg::Vst::UnitID unitID, int entries)
      : StringListParameter(title, tag, units, flags, unitID) {
    strings.reserve(entries > 0 ? static_cast<size_t>(entries) : 0);
  }
};

} // namespace vst3binding
