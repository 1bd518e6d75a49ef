#pragma once
// The format binding the effect derives from, named once so that it can be
// swapped for another binding with a one-line change. Its constructor takes
// the instance information, the thirteen plug-in base arguments and the
// side-chain channel count.
#include "vst3/IPlugVST3.h"

using GrittleboxBinding = IPlugVST3;
