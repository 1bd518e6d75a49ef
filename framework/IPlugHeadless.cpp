#include "framework/IPlugHeadless.h"

IPlugHeadless::IPlugHeadless(IPlugInstanceInfo, int nParams, const char* channelIOStr, int nPresets,
                             const char* effectName, const char* productName, const char* mfrName,
                             int vendorVersion, int uniqueID, int mfrID, int latency,
                             bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, int)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion,
                uniqueID, mfrID, latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPISA) {
  SetInputChannelConnections(0, NInChannels(), true);
  SetOutputChannelConnections(0, NOutChannels(), true);
  CreateBypassDelayLine(NInChannels(), NOutChannels());
}

void IPlugHeadless::GetTimeSig(int* numerator, int* denominator) {
  if (numerator) *numerator = 0;
  if (denominator) *denominator = 0;
}

void IPlugHeadless::GetTime(ITimeInfo* timeInfo) {
  if (timeInfo) *timeInfo = ITimeInfo();
}

void IPlugHeadless::PrepareToProcess(double sampleRate, int blockSize) {
  WDL_MutexLock lock(GetMutex());
  SetInputChannelConnections(0, NInChannels(), true);
  SetOutputChannelConnections(0, NOutChannels(), true);
  SetSampleRate(sampleRate);
  SetBlockSize(blockSize);
  SetBypassed(false);
  Reset();
}

void IPlugHeadless::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  WDL_MutexLock lock(GetMutex());
  AttachInputBuffers(0, NInChannels(), inputs, nFrames);
  AttachOutputBuffers(0, NOutChannels(), outputs);
  if (GetIsBypassed())
    PassThroughBuffers(0.0, nFrames);
  else
    ProcessBuffers(0.0, nFrames);
}
