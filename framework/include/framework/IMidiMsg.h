#pragma once
// Short MIDI messages with a sample offset inside the current block, and their
// system-exclusive counterpart. The makers expect channels in 0..15 and note
// and controller numbers in 0..127; they do not mask their arguments.

struct IMidiMsg {
  int mOffset;
  unsigned char mStatus, mData1, mData2;

  // Message kinds: the high four bits of a status byte with its top bit set.
  enum EStatusMsg : int {
    kNone = 0,
    kNoteOff = 8,
    kNoteOn = 9,
    kPolyAftertouch = 10,
    kControlChange = 11,
    kProgramChange = 12,
    kChannelAftertouch = 13,
    kPitchWheel = 14,
  };

  // MIDI controller numbers (0..127); any number may be used, these are named.
  enum EControlChangeMsg : int {
    kModWheel = 1,
    kBreathController = 2,
    kFootController = 4,
    kPortamentoTime = 5,
    kChannelVolume = 7,
    kBalance = 8,
    kPan = 10,
    kExpressionController = 11,
    kSustainOnOff = 64,
    kPortamentoOnOff = 65,
    kSostenutoOnOff = 66,
    kSoftPedalOnOff = 67,
    kAllSoundOff = 120,
    kResetAllControllers = 121,
    kAllNotesOff = 123,
  };

  explicit IMidiMsg(int offset = 0, unsigned char status = 0, unsigned char data1 = 0,
                    unsigned char data2 = 0)
      : mOffset(offset), mStatus(status), mData1(data1), mData2(data2) {}

  void Clear();
  void MakeNoteOnMsg(int noteNumber, int velocity, int offset, int channel = 0);
  void MakeNoteOffMsg(int noteNumber, int offset, int channel = 0);
  // value in -1 .. +1; the centre is 8192.
  void MakePitchWheelMsg(double value, int channel = 0);
  // value in 0 .. 1, scaled by 127 and truncated; not clamped.
  void MakeControlChangeMsg(EControlChangeMsg controller, double value, int channel = 0);

  int Channel() const { return mStatus & 0x0f; }
  // kNone for a data byte in the status position (running status is not read)
  // and for system messages.
  EStatusMsg StatusMsg() const;
  // -1 (or 0.0, -1.0) when the message is of another kind.
  int NoteNumber() const;
  int Velocity() const;
  int PolyAfterTouch() const;
  int ChannelAfterTouch() const;
  int Program() const;
  // -1 .. +0.99988.
  double PitchWheel() const;
  int ControlChangeIdx() const { return mData1; }
  // 0 .. 1 for a change of this controller, -1.0 otherwise.
  double ControlChange(EControlChangeMsg controller) const;

  static const char* StatusMsgStr(EStatusMsg msg);
  // Diagnostic trace of the message; nothing in the release configuration.
  void LogMsg() const;
};

struct ISysEx {
  int mOffset, mSize;
  const unsigned char* mData; // not owned

  explicit ISysEx(int offset = 0, const unsigned char* data = nullptr, int size = 0)
      : mOffset(offset), mSize(size), mData(data) {}

  void Clear();
  // Diagnostic trace of the bytes; nothing in the release configuration.
  void LogMsg() const;
};

// Writes the first min(count, size / 3) bytes as "%02X" separated by single
// spaces into `text` (of `size` bytes) and returns it; "" for no bytes.
char* SysExStr(char* text, int size, const unsigned char* data, int count);
