#pragma once
// The editor's graphics object for the platform this module is built for.
// The effect's editor builder calls this and needs no platform header; the
// format binding then hands the platform its event loop (IGraphics::
// SetEventLoop) before OpenWindow.
class IGraphics;
class IPlugBase;

// Who the editor belongs to. The product and format name the platform's
// window classes, so two plug-ins in one host process never share one; the
// bundle identifier is kept as configuration.
struct PlatformIdentity {
  const char* productName = nullptr; // e.g. "MyEffect"
  const char* format = nullptr;      // "vst3"
  const char* bundleID = nullptr;    // e.g. "com.example.vst3.MyEffect"
};

// A new graphics object the caller owns (usually handed to the plug-in base
// with AttachGraphics). A null identity, or null names in it, give generic
// window class names.
IGraphics* MakePlatformGraphics(IPlugBase* plug, int w, int h, int fps,
                                const PlatformIdentity* identity = nullptr);
