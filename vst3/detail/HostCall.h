#pragma once
// Every call a host makes into the binding runs its body through HostCall,
// so that no exception crosses into the host (which would end it): a throw
// from the SDK's helpers, from our own code or from a host object we call
// back becomes a result code, kOutOfMemory for a failed allocation and
// kInternalError otherwise. Calls that answer a value rather than a result
// code give the value named as their refusal. Locks and buffers are held by
// scoped holders, which let go as the exception passes. Only entry points
// that answer a constant or a field, or count references, go without it.
#include <new>
#include <type_traits>

#include "pluginterfaces/base/funknown.h"

namespace vst3binding {

// A body that answers nothing (a callback) counts as answering kResultOk.
template <class Body> Steinberg::tresult HostCall(Body&& body) noexcept {
  try {
    if constexpr (std::is_void_v<decltype(body())>) {
      body();
      return Steinberg::kResultOk;
    } else {
      return body();
    }
  } catch (const std::bad_alloc&) {
    return Steinberg::kOutOfMemory;
  } catch (...) {
    return Steinberg::kInternalError;
  }
}

template <class Value, class Body> Value HostCall(Value refusal, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return refusal;
  }
}

} // namespace vst3binding
