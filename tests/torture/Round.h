#pragma once
// What the host has set up for a round of concurrent calls, as far as the
// plug-in accepted it. Written at the boundary between rounds, while the
// processing thread waits, and read by both threads during the round.
struct RoundSetup {
  bool active = false;
  bool setUp = false; // some setupProcessing was accepted
  bool use64 = true;  // the sample size of that setup
  int maxBlock = 0;
  int inChannels = 2; // the accepted bus arrangement
  int outChannels = 2;
  bool inBusActive = false;
  bool outBusActive = false;
  // No parameter changes come with the blocks: the user-interface thread is
  // then the only writer and can check what it reads back exactly.
  bool quiet = false;
};
