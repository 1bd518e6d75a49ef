#include "framework/IMidiMsg.h"
#include "framework/Trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

TEST(MidiMakers, NoteOnAndOffCarryChannelNoteVelocityAndOffset) {
  IMidiMsg msg;
  msg.MakeNoteOnMsg(60, 100, 17, 3);
  EXPECT_EQ(msg.mStatus, 0x93);
  EXPECT_EQ(msg.mOffset, 17);
  EXPECT_EQ(msg.Channel(), 3);
  EXPECT_EQ(msg.StatusMsg(), IMidiMsg::kNoteOn);
  EXPECT_EQ(msg.NoteNumber(), 60);
  EXPECT_EQ(msg.Velocity(), 100);

  msg.MakeNoteOffMsg(61, 5, 15);
  EXPECT_EQ(msg.mStatus, 0x8F);
  EXPECT_EQ(msg.mOffset, 5);
  EXPECT_EQ(msg.NoteNumber(), 61);
  EXPECT_EQ(msg.Velocity(), 0);
  EXPECT_EQ(msg.StatusMsg(), IMidiMsg::kNoteOff);
}

TEST(MidiMakers, PitchWheelCentreExtremesAndClamping) {
  IMidiMsg msg(99);
  msg.MakePitchWheelMsg(0.0, 2);
  EXPECT_EQ(msg.mStatus, 0xE2);
  EXPECT_EQ(msg.mOffset, 0);
  EXPECT_EQ(msg.mData1, 0);
  EXPECT_EQ(msg.mData2, 64);
  msg.MakePitchWheelMsg(1.0);
  EXPECT_EQ(msg.mData1, 127);
  EXPECT_EQ(msg.mData2, 127);
  msg.MakePitchWheelMsg(-1.0);
  EXPECT_EQ(msg.mData1, 0);
  EXPECT_EQ(msg.mData2, 0);
  msg.MakePitchWheelMsg(-7.5);
  EXPECT_EQ(msg.mData1 | msg.mData2, 0);
  msg.MakePitchWheelMsg(1e300);
  EXPECT_EQ(msg.mData2 * 128 + msg.mData1, 16383);
  msg.MakePitchWheelMsg(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(msg.mData2 * 128 + msg.mData1, 8192) << "NaN reads as the centre";
}

TEST(MidiMakers, PitchWheelTruncatesTowardZero) {
  IMidiMsg msg;
  msg.MakePitchWheelMsg(-0.00006); // -0.49 steps truncates to 0
  EXPECT_EQ(msg.mData2 * 128 + msg.mData1, 8192);
  msg.MakePitchWheelMsg(0.5);
  EXPECT_EQ(msg.mData2 * 128 + msg.mData1, 12288);
}

TEST(MidiMakers, ControlChangeScalesTruncatesAndKeepsLowByte) {
  IMidiMsg msg;
  msg.MakeControlChangeMsg(IMidiMsg::kModWheel, 0.5, 4);
  EXPECT_EQ(msg.mStatus, 0xB4);
  EXPECT_EQ(msg.mData1, 1);
  EXPECT_EQ(msg.mData2, 63);
  EXPECT_EQ(msg.ControlChangeIdx(), 1);
  EXPECT_DOUBLE_EQ(msg.ControlChange(IMidiMsg::kModWheel), 63 / 127.0);
  EXPECT_EQ(msg.ControlChange(IMidiMsg::kPan), -1.0);
  msg.MakeControlChangeMsg(IMidiMsg::kChannelVolume, 2.0);
  EXPECT_EQ(msg.mData2, 254) << "values are not clamped";
  msg.MakeControlChangeMsg(IMidiMsg::kChannelVolume, std::numeric_limits<double>::infinity());
  EXPECT_EQ(msg.mStatus, 0xB0);
}

TEST(MidiMakers, ClearZeroesEverything) {
  IMidiMsg msg(12, 0x90, 1, 2);
  msg.Clear();
  EXPECT_EQ(msg.mOffset, 0);
  EXPECT_EQ(msg.mStatus | msg.mData1 | msg.mData2, 0);
  static_assert(sizeof(IMidiMsg) == 8, "offset and three bytes, as hosts pass them");
}

TEST(MidiAccessors, EachReadsOnlyItsOwnKind) {
  const IMidiMsg polyPressure(0, 0xA1, 64, 33);
  EXPECT_EQ(polyPressure.NoteNumber(), 64);
  EXPECT_EQ(polyPressure.PolyAfterTouch(), 33);
  EXPECT_EQ(polyPressure.Velocity(), -1);

  const IMidiMsg channelPressure(0, 0xD0, 77, 0);
  EXPECT_EQ(channelPressure.ChannelAfterTouch(), 77);
  EXPECT_EQ(channelPressure.PolyAfterTouch(), -1);
  EXPECT_EQ(channelPressure.NoteNumber(), -1);

  const IMidiMsg program(0, 0xC5, 12, 0);
  EXPECT_EQ(program.Program(), 12);
  EXPECT_EQ(program.ChannelAfterTouch(), -1);
  EXPECT_EQ(program.PitchWheel(), 0.0);
  EXPECT_EQ(program.ControlChange(static_cast<IMidiMsg::EControlChangeMsg>(12)), -1.0);
}

TEST(MidiAccessors, PitchWheelValue) {
  EXPECT_EQ(IMidiMsg(0, 0xE0, 0, 64).PitchWheel(), 0.0);
  EXPECT_EQ(IMidiMsg(0, 0xE0, 127, 127).PitchWheel(), 8191.0 / 8192.0);
  EXPECT_EQ(IMidiMsg(0, 0xE0, 0, 0).PitchWheel(), -1.0);
}

TEST(MidiAccessors, SystemAndDataBytesInStatusPositionAreNoKind) {
  const IMidiMsg system(0, 0xF0, 60, 100);
  EXPECT_EQ(system.StatusMsg(), IMidiMsg::kNone);
  EXPECT_EQ(system.NoteNumber(), -1);
  const IMidiMsg runningStatus(0, 0x3C, 60, 100);
  EXPECT_EQ(runningStatus.StatusMsg(), IMidiMsg::kNone);
  EXPECT_EQ(runningStatus.Velocity(), -1);
  EXPECT_EQ(runningStatus.PitchWheel(), 0.0);
  EXPECT_EQ(runningStatus.ControlChange(static_cast<IMidiMsg::EControlChangeMsg>(60)), -1.0);
}

TEST(MidiNames, StatusNames) {
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kNone), "none");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kNoteOff), "noteoff");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kNoteOn), "noteon");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kPolyAftertouch), "aftertouch");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kControlChange), "controlchange");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kProgramChange), "programchange");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kChannelAftertouch), "channelaftertouch");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kPitchWheel), "pitchwheel");
  for (int kind : {1, 7, 15, 16, 255, -3})
    EXPECT_STREQ(IMidiMsg::StatusMsgStr(static_cast<IMidiMsg::EStatusMsg>(kind)), "unknown");
}

TEST(SysEx, ClearForgetsOffsetSizeAndBytes) {
  const unsigned char bytes[] = {0xF0, 0xF7};
  ISysEx sysex(4, bytes, 2);
  EXPECT_EQ(sysex.mData, bytes);
  sysex.Clear();
  EXPECT_EQ(sysex.mOffset, 0);
  EXPECT_EQ(sysex.mSize, 0);
  EXPECT_EQ(sysex.mData, nullptr);
}

TEST(SysExStr, WritesHexBytesSeparatedBySpaces) {
  const unsigned char bytes[] = {0xF0, 0x7E, 0x7F};
  char text[16];
  EXPECT_STREQ(SysExStr(text, sizeof text, bytes, 3), "F0 7E 7F");
  EXPECT_STREQ(SysExStr(text, 6, bytes, 3), "F0 7E");
  EXPECT_STREQ(SysExStr(text, 9, bytes, 3), "F0 7E 7F");
}

TEST(SysExStr, NeverWritesPastTheBuffer) {
  const unsigned char bytes[] = {0x01, 0x02, 0x03, 0x04};
  for (int size = 1; size <= 14; ++size) {
    char text[16];
    memset(text, '#', sizeof text);
    SysExStr(text, size, bytes, 4);
    for (int i = size; i < 16; ++i) EXPECT_EQ(text[i], '#') << "size " << size;
    EXPECT_LT(strlen(text), static_cast<size_t>(size));
  }
}

TEST(SysExStr, NoBytesGiveAnEmptyText) {
  const unsigned char bytes[] = {0xAA};
  char text[8] = "junk";
  EXPECT_STREQ(SysExStr(text, 8, nullptr, 3), "");
  strcpy(text, "junk");
  EXPECT_STREQ(SysExStr(text, 8, bytes, 0), "");
  strcpy(text, "junk");
  EXPECT_STREQ(SysExStr(text, 8, bytes, -5), "");
  EXPECT_EQ(SysExStr(nullptr, 8, bytes, 1), nullptr);
}

} // namespace

namespace {

TEST(MidiLogging, MessagesAreTracedOnlyInTracingBuilds) {
  ClearTraceRecords();
  IMidiMsg msg;
  msg.MakeNoteOnMsg(60, 100, 17, 3);
  msg.LogMsg();
  const unsigned char bytes[] = {0xF0, 0x01, 0xF7};
  ISysEx(2, bytes, 3).LogMsg();
#ifdef PLUG_TRACE_RECORDS
  ASSERT_EQ(TraceRecordCount(), 2);
  TraceRecord record{};
  GetTraceRecord(0, &record);
  EXPECT_STREQ(record.text, "midi:(noteon:3:60:100) offset 17");
  GetTraceRecord(1, &record);
  EXPECT_STREQ(record.text, "sysex:(3:F0 01 F7) offset 2");
#else
  EXPECT_EQ(TraceRecordCount(), 0);
#endif
  ClearTraceRecords();
}

} // namespace
