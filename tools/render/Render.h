#pragma once
// Renders audio through the Grittlebox VST 3 bundle into a file: the whole job
// of grittlebox-render.
#include <string>

#include "tools/render/RenderOptions.h"

// Runs the render described by options. Progress goes to stderr, the path
// written to stdout. On a refusal or failure returns false with a message in
// error and leaves no output file behind.
bool RunRender(const RenderOptions& options, std::string* writtenPath, std::string* error);
