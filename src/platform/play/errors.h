#pragma once

#include <cstdint>

// Failure numbers of the session layer. Callers compare some of them
// (already initialised, invalid player); the others only need to differ.
namespace play::error {
inline constexpr int32_t Generic = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t InvalidParams = static_cast<int32_t>(0x80070057u);
inline constexpr int32_t AlreadyInitialized = static_cast<int32_t>(0x88770005u);
inline constexpr int32_t AccessDenied = static_cast<int32_t>(0x8877000Au);
inline constexpr int32_t CantAddPlayer = static_cast<int32_t>(0x88770028u);
inline constexpr int32_t InvalidPlayer = static_cast<int32_t>(0x88770096u);
inline constexpr int32_t NoConnection = static_cast<int32_t>(0x887700B4u);
inline constexpr int32_t NoMessages = static_cast<int32_t>(0x887700BEu);
inline constexpr int32_t NoSessions = static_cast<int32_t>(0x887700D2u);
inline constexpr int32_t SessionFull = static_cast<int32_t>(0x887700DCu);
inline constexpr int32_t Timeout = static_cast<int32_t>(0x887700E6u);
inline constexpr int32_t Uninitialized = static_cast<int32_t>(0x887700F0u);
inline constexpr int32_t AlreadyInSession = static_cast<int32_t>(0x887700FAu);
inline constexpr int32_t NotInSession = static_cast<int32_t>(0x88770104u);
inline constexpr int32_t ReadPastEnd = static_cast<int32_t>(0x8877010Eu);
inline constexpr int32_t TooLong = static_cast<int32_t>(0x88770118u);
}  // namespace play::error
