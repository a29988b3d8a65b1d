#include "frames.h"

#include "framecheck.h"
#include "numbers.h"

#include <cmath>
#include <span>

namespace Dravix {

namespace {

Bytes header(std::uint8_t code, std::uint8_t command)
{
    return {0xFF, 0xFF, 0x01, code, 0x00, command};
}

void appendCheck(Bytes &frame)
{
    const auto check = FrameCheck(std::span(frame).subspan(2));
    frame.insert(frame.end(), check.begin(), check.end());
}

bool coveredCheckOk(const Bytes &frame)
{
    return FrameCheckOk(std::span(frame).subspan(2));
}

} // namespace

std::array<std::uint8_t, 2> EncodeValue(std::int16_t value)
{
    const auto pattern = static_cast<std::uint16_t>(value);
    return {static_cast<std::uint8_t>(pattern >> 8), static_cast<std::uint8_t>(pattern & 0xFF)};
}

std::int16_t DecodeValue(std::uint8_t high, std::uint8_t low)
{
    if (high <= 0x7F)
        return static_cast<std::int16_t>(high * 256 + low);
    return static_cast<std::int16_t>(-((255 - high) * 256 + (255 - low) + 1));
}

Bytes BuildReadRequest(std::uint8_t code)
{
    Bytes frame = header(code, kReadCommand);
    appendCheck(frame);
    return frame;
}

std::optional<std::int16_t> entryValue(const std::string &text)
{
    const double rounded = std::nearbyint(ParseLeadingNumber(text));
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return std::nullopt;
    return RoundToInt16(rounded);
}

std::optional<Bytes> BuildWriteRequest(std::uint8_t code, const EntryTexts &entryTexts)
{
    ParameterValues values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto value = entryValue(entryTexts[i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return buildLongFrame(code, kWriteCommand, values);
}

Bytes buildLongFrame(std::uint8_t code, std::uint8_t command, const ParameterValues &values)
{
    Bytes frame = header(code, command);
    for (const std::int16_t value : values) {
        const auto pair = EncodeValue(value);
        frame.insert(frame.end(), pair.begin(), pair.end());
    }
    appendCheck(frame);
    return frame;
}

Bytes buildShortFrame(std::uint8_t code, std::uint8_t command)
{
    Bytes frame = header(code, command);
    appendCheck(frame);
    return frame;
}

ReadReplyCheck checkReadReply(const Bytes &reply, std::uint8_t code)
{
    ReadReplyCheck result;
    if (reply.empty())
        result.outcome = ReplyOutcome::NoReply;
    else if (reply.size() != kLongFrameSize || !coveredCheckOk(reply))
        result.outcome = ReplyOutcome::FrameError;
    else if (reply[3] != code)
        result.outcome = ReplyOutcome::WrongDevice;
    else {
        result.outcome = ReplyOutcome::Accepted;
        for (std::size_t i = 0; i < result.values.size(); ++i)
            result.values[i] = DecodeValue(reply[6 + 2 * i], reply[7 + 2 * i]);
    }
    return result;
}

ReplyOutcome checkWriteReply(const Bytes &reply, std::uint8_t code)
{
    if (reply.empty())
        return ReplyOutcome::NoReply;
    if (reply.size() != kShortFrameSize || !coveredCheckOk(reply))
        return ReplyOutcome::FrameError;
    if (reply[3] != code)
        return ReplyOutcome::WrongDevice;
    if (reply[5] != kWriteCommand)
        return ReplyOutcome::WriteRefused;
    return ReplyOutcome::Accepted;
}

} // namespace Dravix
