#pragma once
// The values, ids and texts a careless or hostile host hands over, mixed with
// ordinary ones so that the plug-in also gets far enough to do real work.
#include <vector>

#include "Rng.h"
#include "Target.h"
#include "pluginterfaces/vst/vsttypes.h"

// A normalized value: mostly inside 0..1, sometimes an edge, a value outside
// the range, a denormal, an infinity or a NaN.
double NormalizedValue(Rng& rng);
// Any double a host might pass as a plain value or as a sample.
double OddDouble(Rng& rng);
// A parameter id: mostly the effect's own, sometimes one it does not have.
Steinberg::Vst::ParamID ParamId(Rng& rng, const EffectModel& model);
// A host text for getParamValueByString, NUL-terminated, sized exactly: a
// number in the parameter's units, a value text, or something odd (empty,
// huge, non-ASCII, lone surrogates, longer than a String128).
std::vector<Steinberg::Vst::TChar> HostText(Rng& rng, const EffectModel& model);
