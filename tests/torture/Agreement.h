#pragma once
// Between rounds, while nothing else calls the plug-in: what it sounds like
// must be what its saved state says. A block of known samples goes through
// process without parameter changes, and every output sample must equal the
// clipper's formula at the saved values (or the input, when the state says
// bypassed), bit for bit.
#include <cstdint>
#include <vector>

#include "Driver.h"
#include "Round.h"
#include "Target.h"

class Agreement {
public:
  Agreement(Target* target, Driver* driver) : mTarget(target), mDriver(driver) {}

  void Check(const RoundSetup& round, const std::vector<uint8_t>& state);

private:
  static const int kFrames = 97; // a prime: vector lanes and a scalar tail

  double Expected(double in, const std::vector<uint8_t>& state) const;
  double Plain(const std::vector<uint8_t>& state, const char* title) const;

  Target* mTarget;
  Driver* mDriver;
};
