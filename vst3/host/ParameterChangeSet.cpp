#include "vst3/host/ParameterChangeSet.h"

using namespace Steinberg;

namespace vst3host {

ParamValueQueue::ParamValueQueue(Vst::ParamID id, int maxPoints)
    : mId(id), mPoints(static_cast<size_t>(maxPoints > 0 ? maxPoints : 1)) {}

int32 PLUGIN_API ParamValueQueue::getPointCount() {
  return static_cast<int32>(mUsed);
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset,
                                             Vst::ParamValue& value) {
  if (index < 0 || static_cast<size_t>(index) >= mUsed) return kResultFalse;
  sampleOffset = mPoints[static_cast<size_t>(index)].offset;
  value = mPoints[static_cast<size_t>(index)].value;
  return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, Vst::ParamValue value,
                                             int32& index) {
  if (mUsed == mPoints.size()) return kResultFalse;
  // Points stay ordered by offset; a point at an existing offset replaces it.
  size_t at = 0;
  while (at < mUsed && mPoints[at].offset < sampleOffset) ++at;
  if (at < mUsed && mPoints[at].offset == sampleOffset) {
    mPoints[at].value = value;
  } else {
    for (size_t i = mUsed; i > at; --i) mPoints[i] = mPoints[i - 1];
    mPoints[at] = {sampleOffset, value};
    ++mUsed;
  }
  index = static_cast<int32>(at);
  return kResultOk;
}

void ParamValueQueue::Reset(Vst::ParamID id) {
  mId = id;
  mUsed = 0;
}

ParameterChangeSet::ParameterChangeSet(int maxQueues, int maxPointsPerQueue) {
  for (int i = 0; i < maxQueues; ++i) mQueues.push_back(new ParamValueQueue(0, maxPointsPerQueue));
}

ParameterChangeSet::~ParameterChangeSet() {
  for (ParamValueQueue* queue : mQueues) queue->release();
}

int32 PLUGIN_API ParameterChangeSet::getParameterCount() {
  return static_cast<int32>(mUsed);
}

Vst::IParamValueQueue* PLUGIN_API ParameterChangeSet::getParameterData(int32 index) {
  if (index < 0 || static_cast<size_t>(index) >= mUsed) return nullptr;
  return mQueues[static_cast<size_t>(index)];
}

Vst::IParamValueQueue* PLUGIN_API ParameterChangeSet::addParameterData(const Vst::ParamID& id,
                                                                       int32& index) {
  for (size_t i = 0; i < mUsed; ++i) {
    if (mQueues[i]->getParameterId() == id) {
      index = static_cast<int32>(i);
      return mQueues[i];
    }
  }
  if (mUsed == mQueues.size()) return nullptr;
  mQueues[mUsed]->Reset(id);
  index = static_cast<int32>(mUsed);
  return mQueues[mUsed++];
}

bool ParameterChangeSet::Add(Vst::ParamID id, Vst::ParamValue value, int32 offset) {
  int32 index = 0;
  Vst::IParamValueQueue* queue = addParameterData(id, index);
  return queue && queue->addPoint(offset, value, index) == kResultOk;
}

} // namespace vst3host
