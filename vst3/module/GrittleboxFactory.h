#pragma once
// The module's one factory, offering the Grittlebox audio effect class.
#include "pluginterfaces/base/ipluginbase.h"

// The factory with one more reference for the caller; made anew after the
// last release of the previous one.
Steinberg::IPluginFactory* GetGrittleboxFactory();
