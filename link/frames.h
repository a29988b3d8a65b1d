#pragma once

#include "bytes.h"
#include "modelstate.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace Dravix {

inline constexpr std::size_t kShortFrameSize = 8;
inline constexpr std::size_t kLongFrameSize = 24;
inline constexpr std::uint8_t kReadCommand = 0x03;
inline constexpr std::uint8_t kWriteCommand = 0x10;

using ParameterValues = std::array<std::int16_t, kSlotCount>;
using EntryTexts = std::array<std::string, kSlotCount>;

enum class ReplyOutcome {
    Accepted,
    NoReply,
    FrameError,
    WrongDevice,
    WriteRefused,
};

struct ReadReplyCheck
{
    ReplyOutcome outcome = ReplyOutcome::NoReply;
    ParameterValues values{};
};

std::array<std::uint8_t, 2> EncodeValue(std::int16_t value);
std::int16_t DecodeValue(std::uint8_t high, std::uint8_t low);

Bytes BuildReadRequest(std::uint8_t code);
// Empty when an entry's number does not fit -32768..32767 after rounding.
std::optional<Bytes> BuildWriteRequest(std::uint8_t code, const EntryTexts &entryTexts);

// The device's side, also used to describe replies in tests.
Bytes buildLongFrame(std::uint8_t code, std::uint8_t command, const ParameterValues &values);
Bytes buildShortFrame(std::uint8_t code, std::uint8_t command);

// The value of an entry text as it goes into a write request; empty when it does not fit.
std::optional<std::int16_t> entryValue(const std::string &text);

ReadReplyCheck checkReadReply(const Bytes &reply, std::uint8_t code);
ReplyOutcome checkWriteReply(const Bytes &reply, std::uint8_t code);

} // namespace Dravix
