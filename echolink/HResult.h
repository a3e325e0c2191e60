// The result every EchoLink operation and speech call reports: success or a failure code.
// Modelled on COM's HRESULT so the COM backend passes codes through unchanged.
#pragma once

#include <cstdint>

namespace echolink {

struct HResult {
    std::int32_t code = 0;
    constexpr bool Failed() const { return code < 0; }
    friend constexpr bool operator==(HResult, HResult) = default;
};

// The codes our own code produces; backends may return any other code, negative for failure.
inline constexpr HResult kOk{0};
inline constexpr HResult kFail{static_cast<std::int32_t>(0x80004005u)};          // E_FAIL
inline constexpr HResult kNoObject{static_cast<std::int32_t>(0x80004003u)};      // E_POINTER: no object
inline constexpr HResult kInvalidArg{static_cast<std::int32_t>(0x80070057u)};    // E_INVALIDARG
inline constexpr HResult kDisconnected{static_cast<std::int32_t>(0x80010108u)};  // RPC_E_DISCONNECTED

// No station to answer any more: the object is gone or was never there. Nothing is keyed there,
// and a second try would reach no one.
constexpr bool StationGone(HResult result) { return result == kNoObject || result == kDisconnected; }

}  // namespace echolink
