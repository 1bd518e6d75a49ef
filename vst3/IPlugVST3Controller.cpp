// Controller side: parameter export, values and texts for the host, units and
// program lists, and edit notifications from the editor. Nothing here takes
// the plug-in lock.
#include <cmath>
#include <cstring>

#include "framework/Trace.h"
#include "vst3/HostText.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const char* BypassText(ParamValue value) {
  return value > 0.5 ? "on" : "off";
}

} // namespace

int IPlugVST3::UnitOfGroup(const char* group) {
  if (!group || !group[0]) return kRootUnitId;
  for (int g = 0; g < mParamGroups.GetSize(); ++g)
    if (!strcmp(mParamGroups.Get(g), group)) return g + 1;
  mParamGroups.Add(group);
  return mParamGroups.GetSize();
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
      auto* list = new StringListParameter(title, static_cast<ParamID>(i), units,
                                           automate | ParameterInfo::kIsList, unit);
      String128 entry;
      for (int v = 0; v < param->GetNDisplayTexts(); ++v) {
        const char* text = param->GetDisplayText(v);
        WidenBounded(text ? text : "", entry);
        list->appendString(entry);
      }
      parameters.addParameter(list);
      break;
    }
    case IParam::kTypeInt:
    case IParam::kTypeDouble: {
      auto* range = new RangeParameter(title, static_cast<ParamID>(i), units, param->GetMin(),
                                       param->GetMax(), param->GetDefault(), 0, automate, unit);
      range->setPrecision(param->GetPrecision());
      parameters.addParameter(range);
      break;
    }
    default:
      break;
    }
  }
}

ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID tag) {
  if (tag == kBypassParamId) return GetIsBypassed() ? 1.0 : 0.0;
  if (IsValidParamId(tag)) return GetParam(static_cast<int>(tag))->GetNormalized();
  return 0.0;
}

// Hosts set bypass through the controller and read it back, so the bypass id
// sets the plug-in's flag here too.
tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID tag, ParamValue value) {
  if (!std::isfinite(value)) return kInvalidArgument;
  if (tag == kBypassParamId) {
    SetBypassed(value > 0.5);
    return kResultOk;
  }
  if (!IsValidParamId(tag)) return kResultFalse;
  GetParam(static_cast<int>(tag))->SetNormalized(value);
  return kResultOk;
}

ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID tag, ParamValue plainValue) {
  if (IsValidParamId(tag)) return GetParam(static_cast<int>(tag))->GetNormalized(plainValue);
  return EditController::plainParamToNormalized(tag, plainValue);
}

ParamValue PLUGIN_API IPlugVST3::normalizedParamToPlain(ParamID tag, ParamValue valueNormalized) {
  return EditController::normalizedParamToPlain(tag, valueNormalized);
}

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID tag, ParamValue valueNormalized,
                                                    String128 string) {
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
}

tresult PLUGIN_API IPlugVST3::getParamValueByString(ParamID tag, TChar* string,
                                                    ParamValue& valueNormalized) {
  if (!string) return kInvalidArgument;
  // The parameters' own parser reads "nan" as a number and passes it on.
  ParamValue parsed = 0.0;
  const tresult result = EditController::getParamValueByString(tag, string, parsed);
  if (result != kResultOk) return result;
  if (!std::isfinite(parsed)) return kResultFalse;
  valueNormalized = parsed;
  return kResultOk;
}

IPlugView* PLUGIN_API IPlugVST3::createView(FIDString) {
  return nullptr;
}

// ---- Units: parameter groups become units under the root unit ----

int32 PLUGIN_API IPlugVST3::getUnitCount() {
  return mParamGroups.GetSize() + 1;
}

tresult PLUGIN_API IPlugVST3::getUnitInfo(int32 unitIndex, UnitInfo& info) {
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
}

int32 PLUGIN_API IPlugVST3::getProgramListCount() {
  return 0;
}

tresult PLUGIN_API IPlugVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
  if (listIndex != 0) return kResultFalse;
  info.id = kPresetParamId;
  info.programCount = NPresets();
  WidenBounded("Factory Presets", info.name);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramName(ProgramListID listId, int32 programIndex,
                                             String128 name) {
  if (!name) return kInvalidArgument;
  if (listId != static_cast<ProgramListID>(kPresetParamId)) return kResultFalse;
  WidenBounded(GetPresetName(programIndex), name);
  return kResultOk;
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

// ---- Edits made in the editor, reported to the host ----

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

// The host's menu needs an open editor view to anchor it; until the editor
// view exists there is none, and nothing is shown.
void IPlugVST3::PopupHostContextMenuForParam(int, int, int) {}
