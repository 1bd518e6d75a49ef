#include "framework/IMidiMsg.h"

#include <cmath>

#include "framework/Trace.h"

namespace {

IMidiMsg::EStatusMsg KindOf(unsigned char status) {
  if (!(status & 0x80)) return IMidiMsg::kNone;
  const int kind = status >> 4;
  return kind == 15 ? IMidiMsg::kNone : static_cast<IMidiMsg::EStatusMsg>(kind);
}

unsigned char StatusByte(IMidiMsg::EStatusMsg kind, int channel) {
  return static_cast<unsigned char>((kind << 4) | channel);
}

// Converting NaN or a value beyond int to int is undefined; such values are
// far outside every meaningful range anyway.
double Tame(double value, double limit) {
  if (std::isnan(value)) return 0.0;
  return value < -limit ? -limit : (value > limit ? limit : value);
}

} // namespace

void IMidiMsg::Clear() {
  mOffset = 0;
  mStatus = mData1 = mData2 = 0;
}

void IMidiMsg::MakeNoteOnMsg(int noteNumber, int velocity, int offset, int channel) {
  Clear();
  mStatus = StatusByte(kNoteOn, channel);
  mData1 = static_cast<unsigned char>(noteNumber);
  mData2 = static_cast<unsigned char>(velocity);
  mOffset = offset;
}

void IMidiMsg::MakeNoteOffMsg(int noteNumber, int offset, int channel) {
  Clear();
  mStatus = StatusByte(kNoteOff, channel);
  mData1 = static_cast<unsigned char>(noteNumber);
  mOffset = offset;
}

void IMidiMsg::MakePitchWheelMsg(double value, int channel) {
  Clear();
  mStatus = StatusByte(kPitchWheel, channel);
  // Clamping the value first gives the same result as clamping the integer.
  int i = static_cast<int>(Tame(value, 1.0) * 8192.0) + 8192;
  if (i > 16383) i = 16383;
  mData1 = static_cast<unsigned char>(i & 0x7f);
  mData2 = static_cast<unsigned char>(i >> 7);
}

void IMidiMsg::MakeControlChangeMsg(EControlChangeMsg controller, double value, int channel) {
  Clear();
  mStatus = StatusByte(kControlChange, channel);
  mData1 = static_cast<unsigned char>(controller);
  const int scaled = static_cast<int>(Tame(value, 1.0e6) * 127.0);
  mData2 = static_cast<unsigned char>(scaled & 0xff);
}

IMidiMsg::EStatusMsg IMidiMsg::StatusMsg() const {
  return KindOf(mStatus);
}

int IMidiMsg::NoteNumber() const {
  const EStatusMsg kind = StatusMsg();
  return kind == kNoteOn || kind == kNoteOff || kind == kPolyAftertouch ? mData1 : -1;
}

int IMidiMsg::Velocity() const {
  const EStatusMsg kind = StatusMsg();
  return kind == kNoteOn || kind == kNoteOff ? mData2 : -1;
}

int IMidiMsg::PolyAfterTouch() const {
  return StatusMsg() == kPolyAftertouch ? mData2 : -1;
}

int IMidiMsg::ChannelAfterTouch() const {
  return StatusMsg() == kChannelAftertouch ? mData1 : -1;
}

int IMidiMsg::Program() const {
  return StatusMsg() == kProgramChange ? mData1 : -1;
}

double IMidiMsg::PitchWheel() const {
  if (StatusMsg() != kPitchWheel) return 0.0;
  return (mData2 * 128 + mData1 - 8192) / 8192.0;
}

double IMidiMsg::ControlChange(EControlChangeMsg controller) const {
  if (StatusMsg() != kControlChange || mData1 != controller) return -1.0;
  return mData2 / 127.0;
}

const char* IMidiMsg::StatusMsgStr(EStatusMsg msg) {
  switch (msg) {
  case kNone:
    return "none";
  case kNoteOff:
    return "noteoff";
  case kNoteOn:
    return "noteon";
  case kPolyAftertouch:
    return "aftertouch";
  case kControlChange:
    return "controlchange";
  case kProgramChange:
    return "programchange";
  case kChannelAftertouch:
    return "channelaftertouch";
  case kPitchWheel:
    return "pitchwheel";
  }
  return "unknown";
}

void IMidiMsg::LogMsg() const {
  Trace("IMidiMsg", __LINE__, "midi:(%s:%d:%d:%d) offset %d", StatusMsgStr(StatusMsg()), Channel(),
        mData1, mData2, mOffset);
}

void ISysEx::Clear() {
  mOffset = mSize = 0;
  mData = nullptr;
}

void ISysEx::LogMsg() const {
#ifdef PLUG_TRACE_RECORDS
  char bytes[256];
  Trace("ISysEx", __LINE__, "sysex:(%d:%s) offset %d", mSize,
        SysExStr(bytes, sizeof bytes, mData, mSize), mOffset);
#endif
}

char* SysExStr(char* text, int size, const unsigned char* data, int count) {
  if (!text || size <= 0) return text;
  text[0] = 0;
  if (!data || count <= 0) return text;
  const int shown = count < size / 3 ? count : size / 3;
  static const char kHex[] = "0123456789ABCDEF";
  // Exactly three characters per byte, so the text never passes size; the last
  // space becomes the terminator.
  char* out = text;
  for (int i = 0; i < shown; ++i) {
    *out++ = kHex[data[i] >> 4];
    *out++ = kHex[data[i] & 0x0f];
    *out++ = ' ';
  }
  if (shown > 0) out[-1] = 0;
  return text;
}
