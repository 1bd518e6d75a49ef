// Interface ids that the distribution's SDK copy declares but never defines.
// The build defines VST3SDK_DEFINE_IID_<name> only for ids that the SDK
// sources being compiled leave out, so a full checkout does not clash.
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace Steinberg {
#if VST3SDK_DEFINE_IID_IPlugView
DEF_CLASS_IID(IPlugView)
#endif
#if VST3SDK_DEFINE_IID_IPlugFrame
DEF_CLASS_IID(IPlugFrame)
#endif
#if VST3SDK_DEFINE_IID_IPlugViewContentScaleSupport
DEF_CLASS_IID(IPlugViewContentScaleSupport)
#endif
namespace Linux {
#if VST3SDK_DEFINE_IID_IRunLoop
DEF_CLASS_IID(IRunLoop)
#endif
#if VST3SDK_DEFINE_IID_ITimerHandler
DEF_CLASS_IID(ITimerHandler)
#endif
#if VST3SDK_DEFINE_IID_IEventHandler
DEF_CLASS_IID(IEventHandler)
#endif
} // namespace Linux
} // namespace Steinberg
