#pragma once
// Parameter-change queues that a host hands to process(). Room for queues and
// points is reserved up front so that filling them between blocks never
// allocates on the audio path.
#include <vector>

#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "vst3/host/HostObject.h"

namespace vst3host {

class ParamValueQueue : public HostObject<Steinberg::Vst::IParamValueQueue> {
public:
  ParamValueQueue(Steinberg::Vst::ParamID id, int maxPoints);

  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return mId; }
  Steinberg::int32 PLUGIN_API getPointCount() override;
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) override;
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                         Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) override;

  void Reset(Steinberg::Vst::ParamID id);

private:
  struct Point {
    Steinberg::int32 offset;
    Steinberg::Vst::ParamValue value;
  };
  Steinberg::Vst::ParamID mId;
  std::vector<Point> mPoints;
  size_t mUsed = 0;
};

class ParameterChangeSet : public HostObject<Steinberg::Vst::IParameterChanges> {
public:
  ParameterChangeSet(int maxQueues = 16, int maxPointsPerQueue = 64);
  ~ParameterChangeSet() override;

  Steinberg::int32 PLUGIN_API getParameterCount() override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override;

  // Convenience for hosts: one point at an offset; false when full.
  bool Add(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value,
           Steinberg::int32 offset = 0);
  void Clear() { mUsed = 0; }

private:
  std::vector<ParamValueQueue*> mQueues;
  size_t mUsed = 0;
};

} // namespace vst3host
