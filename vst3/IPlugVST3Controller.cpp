// Controller side: parameter export, values and texts for the host, units and
// program lists, and edit notifications from the editor. Only the writes of
// values take the plug-in lock (in the framework); reads and texts do not.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "detail/HostCall.h"
#include "detail/ListParameter.h"
#include "framework/Trace.h"
#include "vst3/HostText.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using vst3binding::HostCall;

namespace {

const char* BypassText(ParamValue value) {
  return value > 0.5 ? "on" : "off";
}

// A host's 128-unit text takes at most 3 bytes of UTF-8 per unit.
const size_t kHostTextBytes = 3 * 128 + 1;

// What the SDK's parameter classes read from a text, without their string
// scan: a list takes the entry that equals the host's text; a range (ours are
// continuous) a number, held to its range, as a plain value; any other
// parameter a number as it is.
bool ParseParameterText(const Parameter& parameter, const TChar* wide, const char* text,
                        ParamValue* normalized) {
  if (parameter.isTypeOf(StringListParameter::getFClassID()))
    return parameter.fromString(wide, *normalized);
  double plain = 0.0;
  if (sscanf(text, "%lf", &plain) != 1) return false;
  if (parameter.isTypeOf(RangeParameter::getFClassID())) {
    const auto& range = static_cast<const RangeParameter&>(parameter);
    if (plain < range.getMin())
      plain = range.getMin();
    else if (plain > range.getMax())
      plain = range.getMax();
    plain = range.toNormalized(plain);
  }
  *normalized = plain;
  return true;
}

} // namespace

int IPlugVST3::UnitOfGroup(const char* group) {
  if (!group || !group[0]) return kRootUnitId;
  for (int g = 0; g < mParamGroups.GetSize(); ++g)
    if (!strcmp(mParamGroups.Get(g), group)) return g + 1;
  mParamGroups.Add(group);
  return mParamGroups.GetSize();
}

// The container takes over the reference given with a parameter once it
// holds it, and lets it go itself when storing throws part-way. The caller
// keeps its own; here the given one is dropped unless the container did.
void IPlugVST3::AddParameter(Parameter* parameter) {
  parameter->addRef();
  const int32 given = parameter->getRefCount();
  try {
    parameters.addParameter(parameter);
  } catch (...) {
    if (parameter->getRefCount() == given) parameter->release();
    throw;
  }
}

void IPlugVST3::ExportParameters() {
  String128 title, units;
  for (int i = 0; i < NParams(); ++i) {
    IParam* param = GetParam(i);
    const UnitID unit = UnitOfGroup(param->GetParamGroupForHost());
    const int32 automate = param->GetCanAutomate() ? ParameterInfo::kCanAutomate : 0;
    WidenBounded(param->GetNameForHost(), title);
    WidenBounded(param->GetLabelForHost(), units);
    switch (param->Type()) {
    case IParam::kTypeBool:
    case IParam::kTypeEnum: {
      IPtr<StringListParameter> list = owned(new vst3binding::ListParameter(
          title, static_cast<ParamID>(i), units, automate | ParameterInfo::kIsList, unit,
          param->GetNDisplayTexts()));
      String128 entry;
      for (int v = 0; v < param->GetNDisplayTexts(); ++v) {
        const char* text = param->GetDisplayText(v);
        WidenBounded(text ? text : "", entry);
        list->appendString(entry);
      }
      AddParameter(list);
      break;
    }
    case IParam::kTypeInt:
    case IParam::kTypeDouble: {
      IPtr<RangeParameter> range =
          owned(new RangeParameter(title, static_cast<ParamID>(i), units, param->GetMin(),
                                   param->GetMax(), param->GetDefault(), 0, automate, unit));
      range->setPrecision(param->GetPrecision());
      AddParameter(range);
      break;
    }
    default:
      break;
    }
  }
}

ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID tag) {
  return HostCall(0.0, [&] {
    if (tag == kBypassParamId) return GetIsBypassed() ? 1.0 : 0.0;
    if (IsValidParamId(tag)) return GetParam(static_cast<int>(tag))->GetNormalized();
    return 0.0;
  });
}

// Hosts set bypass through the controller and read it back, so the bypass id
// sets the plug-in's flag here too.
tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID tag, ParamValue value) {
  return HostCall([&] {
    if (!std::isfinite(value)) return kInvalidArgument;
    if (tag == kBypassParamId) {
      SetBypassed(value > 0.5);
      return kResultOk;
    }
    if (!IsValidParamId(tag)) return kResultFalse;
    SetParameterFromHost(static_cast<int>(tag), value);
    return kResultOk;
  });
}

ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID tag, ParamValue plainValue) {
  return HostCall(0.0, [&] {
    if (IsValidParamId(tag)) return GetParam(static_cast<int>(tag))->GetNormalized(plainValue);
    return EditController::plainParamToNormalized(tag, plainValue);
  });
}

ParamValue PLUGIN_API IPlugVST3::normalizedParamToPlain(ParamID tag, ParamValue valueNormalized) {
  return HostCall(0.0,
                  [&] { return EditController::normalizedParamToPlain(tag, valueNormalized); });
}

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID tag, ParamValue valueNormalized,
                                                    String128 string) {
  return HostCall([&] {
    if (!string) return kInvalidArgument;
    if (tag == kBypassParamId) {
      WidenBounded(BypassText(valueNormalized), string);
      return kResultOk;
    }
    if (!IsValidParamId(tag)) return kResultFalse;
    char text[IParam::kTextLength + 1] = {};
    GetParam(static_cast<int>(tag))->GetDisplayForHost(valueNormalized, true, text, true);
    text[IParam::kTextLength] = 0;
    WidenBounded(text, string);
    return kResultOk;
  });
}

tresult PLUGIN_API IPlugVST3::getParamValueByString(ParamID tag, TChar* string,
                                                    ParamValue& valueNormalized) {
  return HostCall([&] {
    if (!string) return kInvalidArgument;
    Parameter* parameter = getParameterObject(tag);
    if (!parameter) return kResultFalse;
    // The text is narrowed by our own conversion: the SDK's throws on ill-formed
    // UTF-16 (a lone surrogate), which would end the host.
    char text[kHostTextBytes];
    NarrowUtf16(string, 128, text, sizeof text);
    ParamValue parsed = 0.0;
    if (!ParseParameterText(*parameter, string, text, &parsed)) return kResultFalse;
    // A number parser reads "nan" as a number; the host must not get one.
    if (!std::isfinite(parsed)) return kResultFalse;
    valueNormalized = parsed;
    return kResultOk;
  });
}

// Parameter groups become units under the root unit.
int32 PLUGIN_API IPlugVST3::getUnitCount() {
  return mParamGroups.GetSize() + 1;
}

tresult PLUGIN_API IPlugVST3::getUnitInfo(int32 unitIndex, UnitInfo& info) {
  return HostCall([&] {
    if (unitIndex == 0) {
      info.id = kRootUnitId;
      info.parentUnitId = kNoParentUnitId;
      info.programListId = kNoProgramListId;
      WidenBounded("Root Unit", info.name);
      return kResultOk;
    }
    if (unitIndex < 1 || unitIndex > mParamGroups.GetSize()) return kResultFalse;
    info.id = unitIndex;
    info.parentUnitId = kRootUnitId;
    info.programListId = kNoProgramListId;
    WidenBounded(mParamGroups.Get(unitIndex - 1), info.name);
    return kResultOk;
  });
}

// The presets form the one program list; without presets there is none, and
// the count and the list agree on that, as hosts that walk them expect.
int32 PLUGIN_API IPlugVST3::getProgramListCount() {
  return NPresets() > 0 ? 1 : 0;
}

tresult PLUGIN_API IPlugVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
  return HostCall([&] {
    if (listIndex < 0 || listIndex >= getProgramListCount()) return kResultFalse;
    info.id = kPresetParamId;
    info.programCount = NPresets();
    WidenBounded("Factory Presets", info.name);
    return kResultOk;
  });
}

tresult PLUGIN_API IPlugVST3::getProgramName(ProgramListID listId, int32 programIndex,
                                             String128 name) {
  return HostCall([&] {
    if (!name) return kInvalidArgument;
    if (listId != static_cast<ProgramListID>(kPresetParamId)) return kResultFalse;
    WidenBounded(GetPresetName(programIndex), name);
    return kResultOk;
  });
}

tresult PLUGIN_API IPlugVST3::getProgramInfo(ProgramListID, int32, Vst::CString, String128) {
  return kNotImplemented;
}
tresult PLUGIN_API IPlugVST3::hasProgramPitchNames(ProgramListID, int32) {
  return kNotImplemented;
}
tresult PLUGIN_API IPlugVST3::getProgramPitchName(ProgramListID, int32, int16, String128) {
  return kNotImplemented;
}

// Edits made in the editor, reported to the host.
void IPlugVST3::BeginInformHostOfParamChange(int paramIdx) {
  TRACE_POINT("%d", paramIdx);
  beginEdit(static_cast<ParamID>(paramIdx));
}

void IPlugVST3::InformHostOfParamChange(int paramIdx, double normalizedValue) {
  TRACE_POINT("%d:%f", paramIdx, normalizedValue);
  performEdit(static_cast<ParamID>(paramIdx), normalizedValue);
}

void IPlugVST3::EndInformHostOfParamChange(int paramIdx) {
  TRACE_POINT("%d", paramIdx);
  endEdit(static_cast<ParamID>(paramIdx));
}
