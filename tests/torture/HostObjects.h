#pragma once
// The host's side of the calls, made to be odd on purpose: parameter queues
// whose points need not be ordered or inside the block, a change list that
// can answer null for one of its queues, and streams that run out, fail or
// misreport what they moved. Room is reserved up front, so filling them on
// the processing thread does not allocate.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <vector>

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "vst3/host/ByteStream.h"
#include "vst3/host/HostObject.h"

class TortureQueue : public vst3host::HostObject<Steinberg::Vst::IParamValueQueue> {
public:
  explicit TortureQueue(int capacity) { mPoints.reserve(static_cast<size_t>(capacity)); }

  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return mId; }
  Steinberg::int32 PLUGIN_API getPointCount() override;
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) override;
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                         Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) override;

  void Reset(Steinberg::Vst::ParamID id);
  // Appends as given (no ordering); false when full.
  bool Push(Steinberg::int32 offset, Steinberg::Vst::ParamValue value);

private:
  struct Point {
    Steinberg::int32 offset;
    Steinberg::Vst::ParamValue value;
  };
  Steinberg::Vst::ParamID mId = 0;
  std::vector<Point> mPoints;
};

class TortureChanges : public vst3host::HostObject<Steinberg::Vst::IParameterChanges> {
public:
  TortureChanges(int maxQueues, int maxPoints);
  ~TortureChanges() override;

  Steinberg::int32 PLUGIN_API getParameterCount() override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override;

  // A new queue for id (ids may repeat, as a careless host may send them), or
  // null when all are in use.
  TortureQueue* Add(Steinberg::Vst::ParamID id);
  // getParameterData answers null at this index (-1: never).
  void SetHole(int index) { mHole = index; }
  void Clear();
  int MaxPoints() const { return mMaxPoints; }

private:
  std::vector<TortureQueue*> mQueues;
  size_t mUsed = 0;
  int mHole = -1;
  int mMaxPoints;
};

// A byte stream with a way of going wrong.
class OddStream : public vst3host::ByteStream {
public:
  enum class Fault {
    kNone,
    kRunsOut,    // reads and writes past `limit` bytes fail
    kPieces,     // reads deliver at most 3 bytes each (allowed, if unusual)
    kOverstates, // reads claim more bytes than were asked for
    kNegative,   // reads claim a negative count
    kThrows,     // reads and writes throw, as a careless host's stream may
  };

  // An empty stream to save into; kRunsOut takes `limit` bytes.
  explicit OddStream(Fault fault = Fault::kNone, size_t limit = 0)
      : vst3host::ByteStream(fault == Fault::kRunsOut ? static_cast<long>(limit) : -1),
        mFault(fault), mLimit(limit) {}
  // A stream to restore from.
  explicit OddStream(const std::vector<uint8_t>& bytes, Fault fault = Fault::kNone,
                     size_t limit = 0)
      : vst3host::ByteStream(bytes), mFault(fault), mLimit(limit) {}

  Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                     Steinberg::int32* numBytesRead) override;
  Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                      Steinberg::int32* numBytesWritten) override;

private:
  Fault mFault;
  size_t mLimit;
};

// Takes the plug-in's edit and restart notices and counts them, and keeps
// the parameters whose gesture (beginEdit) has not been ended (endEdit).
class CountingHandler : public vst3host::HostObject<Steinberg::Vst::IComponentHandler> {
public:
  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID,
                                            Steinberg::Vst::ParamValue) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

  uint64_t Notices() const { return mNotices.load(); }
  // The parameters of gestures still open, forgotten once asked for.
  std::set<Steinberg::Vst::ParamID> TakeOpenGestures();

private:
  std::atomic<uint64_t> mNotices{0};
  std::mutex mLock;
  std::set<Steinberg::Vst::ParamID> mOpenGestures;
};
