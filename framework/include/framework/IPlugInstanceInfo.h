#pragma once
// Host data a format binding needs at construction; the effect only passes it on.
// Empty for the bindings that exist.
struct IPlugInstanceInfo {};
