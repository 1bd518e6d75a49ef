#include "HostObjects.h"

#include <cstring>
#include <stdexcept>

using namespace Steinberg;
using namespace Steinberg::Vst;

int32 PLUGIN_API TortureQueue::getPointCount() {
  return static_cast<int32>(mPoints.size());
}

tresult PLUGIN_API TortureQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
  if (index < 0 || static_cast<size_t>(index) >= mPoints.size()) return kResultFalse;
  sampleOffset = mPoints[static_cast<size_t>(index)].offset;
  value = mPoints[static_cast<size_t>(index)].value;
  return kResultOk;
}

tresult PLUGIN_API TortureQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
  if (!Push(sampleOffset, value)) return kResultFalse;
  index = static_cast<int32>(mPoints.size() - 1);
  return kResultOk;
}

void TortureQueue::Reset(ParamID id) {
  mId = id;
  mPoints.clear();
}

bool TortureQueue::Push(int32 offset, ParamValue value) {
  if (mPoints.size() == mPoints.capacity()) return false;
  mPoints.push_back({offset, value});
  return true;
}

TortureChanges::TortureChanges(int maxQueues, int maxPoints) : mMaxPoints(maxPoints) {
  for (int i = 0; i < maxQueues; ++i) mQueues.push_back(new TortureQueue(maxPoints));
}

TortureChanges::~TortureChanges() {
  for (TortureQueue* queue : mQueues) queue->release();
}

int32 PLUGIN_API TortureChanges::getParameterCount() {
  return static_cast<int32>(mUsed);
}

IParamValueQueue* PLUGIN_API TortureChanges::getParameterData(int32 index) {
  if (index < 0 || static_cast<size_t>(index) >= mUsed || index == mHole) return nullptr;
  return mQueues[static_cast<size_t>(index)];
}

IParamValueQueue* PLUGIN_API TortureChanges::addParameterData(const ParamID& id, int32& index) {
  for (size_t i = 0; i < mUsed; ++i)
    if (mQueues[i]->getParameterId() == id) {
      index = static_cast<int32>(i);
      return mQueues[i];
    }
  TortureQueue* queue = Add(id);
  if (queue) index = static_cast<int32>(mUsed - 1);
  return queue;
}

TortureQueue* TortureChanges::Add(ParamID id) {
  if (mUsed == mQueues.size()) return nullptr;
  mQueues[mUsed]->Reset(id);
  return mQueues[mUsed++];
}

void TortureChanges::Clear() {
  mUsed = 0;
  mHole = -1;
}

tresult PLUGIN_API OddStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
  if (mFault == Fault::kThrows) throw std::runtime_error("the host's stream gave up");
  int32 asked = numBytes;
  if (mFault == Fault::kRunsOut) {
    if (Position() >= mLimit) {
      if (numBytesRead) *numBytesRead = 0;
      return kInternalError;
    }
    if (asked > 0 && static_cast<size_t>(asked) > mLimit - Position())
      asked = static_cast<int32>(mLimit - Position());
  }
  if (mFault == Fault::kPieces && asked > 3) asked = 3;
  int32 got = 0;
  tresult result = vst3host::ByteStream::read(buffer, asked, &got);
  if (result == kResultOk && got < numBytes) result = kResultFalse;
  if (mFault == Fault::kOverstates) got += 1000;
  if (mFault == Fault::kNegative) got = -1;
  if (numBytesRead) *numBytesRead = got;
  return result;
}

tresult PLUGIN_API OddStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
  if (mFault == Fault::kThrows) throw std::runtime_error("the host's stream gave up");
  return vst3host::ByteStream::write(buffer, numBytes, numBytesWritten);
}

tresult PLUGIN_API CountingHandler::beginEdit(ParamID id) {
  ++mNotices;
  std::lock_guard<std::mutex> hold(mLock);
  mOpenGestures.insert(id);
  return kResultOk;
}
tresult PLUGIN_API CountingHandler::performEdit(ParamID, ParamValue) {
  ++mNotices;
  return kResultOk;
}
// An end without a begin is allowed: the editor closes gestures it never opened.
tresult PLUGIN_API CountingHandler::endEdit(ParamID id) {
  ++mNotices;
  std::lock_guard<std::mutex> hold(mLock);
  mOpenGestures.erase(id);
  return kResultOk;
}

std::set<ParamID> CountingHandler::TakeOpenGestures() {
  std::lock_guard<std::mutex> hold(mLock);
  std::set<ParamID> open;
  open.swap(mOpenGestures);
  return open;
}
tresult PLUGIN_API CountingHandler::restartComponent(int32) {
  ++mNotices;
  return kResultOk;
}
