#include "framework/IPlugOffline.h"

void PrepareOffline(IPlugBase* plug, double sampleRate, int blockSize) {
  WDL_MutexLock lock(plug->GetMutex());
  plug->SetInputChannelConnections(0, plug->NInChannels(), true);
  plug->SetOutputChannelConnections(0, plug->NOutChannels(), true);
  plug->SetSampleRate(sampleRate);
  plug->SetBlockSize(blockSize);
  plug->SetBypassed(false);
  plug->Reset();
}

void ProcessOffline(IPlugBase* plug, double** inputs, double** outputs, int nFrames) {
  WDL_MutexLock lock(plug->GetMutex());
  plug->AttachInputBuffers(0, plug->NInChannels(), inputs, nFrames);
  plug->AttachOutputBuffers(0, plug->NOutChannels(), outputs);
  if (plug->GetIsBypassed())
    plug->PassThroughBuffers(0.0, nFrames);
  else
    plug->ProcessBuffers(0.0, nFrames);
}
