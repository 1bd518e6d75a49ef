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
