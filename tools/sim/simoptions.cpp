#include "simoptions.h"

#include "conversions.h"

#include <charconv>
#include <tuple>
#include <utility>

namespace Dravix {

namespace {

constexpr long kMaxNoise = 16L * 1024 * 1024;

std::optional<long> integer(const std::string &text)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::string SimOptions::parse(const std::vector<std::string> &arguments)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &option = arguments[i];
        const auto needValue = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        const auto needCount = [&](long min, long max) -> std::optional<int> {
            const auto text = needValue();
            const auto value = text ? integer(*text) : std::nullopt;
            if (!value || *value < min || *value > max)
                return std::nullopt;
            return static_cast<int>(*value);
        };
        // "A,B" with 1 <= A <= maxFirst and 0 <= B <= 60000
        const auto needPair = [&](long maxFirst) -> std::optional<std::pair<int, int>> {
            const auto text = needValue();
            const std::size_t comma = text ? text->find(',') : std::string::npos;
            if (comma == std::string::npos)
                return std::nullopt;
            const auto first = integer(text->substr(0, comma));
            const auto second = integer(text->substr(comma + 1));
            if (!first || !second || *first < 1 || *first > maxFirst || *second < 0 ||
                *second > 60000)
                return std::nullopt;
            return std::pair{static_cast<int>(*first), static_cast<int>(*second)};
        };

        if (option == "--help" || option == "-h") {
            help = true;
        } else if (option == "--port") {
            const auto value = needCount(1, 32767);
            if (!value)
                return "--port needs a number 1..32767";
            port = *value;
        } else if (option == "--id") {
            const auto text = needValue();
            if (!text || text->size() != 2 || hexDigit((*text)[0]) < 0 || hexDigit((*text)[1]) < 0)
                return "--id needs two hexadecimal digits";
            id = static_cast<std::uint8_t>(hexDigit((*text)[0]) * 16 + hexDigit((*text)[1]));
        } else if (option == "--values") {
            const auto text = needValue();
            if (!text)
                return "--values needs eight comma-separated numbers";
            std::size_t count = 0;
            std::size_t from = 0;
            while (true) {
                const std::size_t comma = text->find(',', from);
                const auto value = integer(text->substr(from, comma - from));
                if (count == values.size() || !value || *value < -32768 || *value > 32767)
                    return "--values needs eight comma-separated numbers in -32768..32767";
                values[count++] = static_cast<std::int16_t>(*value);
                if (comma == std::string::npos)
                    break;
                from = comma + 1;
            }
            if (count != values.size())
                return "--values needs eight comma-separated numbers in -32768..32767";
        } else if (option == "--silent") {
            silent = true;
        } else if (option == "--wrong-id") {
            wrongId = true;
        } else if (option == "--bad-crc") {
            badCrc = true;
        } else if (option == "--cut") {
            cut = needCount(0, 23);
            if (!cut)
                return "--cut needs a byte count 0..23";
        } else if (option == "--rest-after") {
            const auto value = needCount(0, 60000);
            if (!value)
                return "--rest-after needs milliseconds 0..60000";
            restAfter = *value;
        } else if (option == "--stray") {
            stray = true;
        } else if (option == "--delay") {
            const auto value = needCount(0, 60000);
            if (!value)
                return "--delay needs milliseconds 0..60000";
            delay = *value;
        } else if (option == "--refuse-write") {
            refuseWrite = true;
        } else if (option == "--preamble00") {
            preamble00 = true;
        } else if (option == "--fault-count") {
            const auto value = needCount(0, 1000000);
            if (!value)
                return "--fault-count needs a number";
            faultCount = *value;
        } else if (option == "--noise") {
            noise = needCount(0, kMaxNoise);
            if (!noise)
                return "--noise needs a byte count 0..16777216";
        } else if (option == "--spread") {
            const auto value = needPair(23);
            if (!value)
                return "--spread needs K,MS: pieces of 1..23 bytes, 0..60000 ms apart";
            std::tie(spreadBytes, spreadMs) = *value;
        } else if (option == "--late-bytes") {
            const auto value = needPair(kMaxNoise);
            if (!value)
                return "--late-bytes needs N,MS: 1..16777216 bytes, 0..60000 ms after the reply";
            std::tie(lateBytes, lateMs) = *value;
        } else if (option == "--flood") {
            const auto value = needCount(1, kMaxNoise);
            if (!value)
                return "--flood needs a byte count 1..16777216";
            flood = *value;
        } else if (option == "--echo") {
            echo = true;
        } else if (option == "--hangup-after") {
            const auto value = needCount(0, 60000);
            if (!value)
                return "--hangup-after needs milliseconds 0..60000";
            hangupAfter = *value;
        } else {
            return "unknown option: " + option;
        }
    }
    return {};
}

std::string SimOptions::usage()
{
    return R"(Usage: dravix-sim [options]

Plays the device on a pseudo-terminal. The entry COM<N> in the current directory is made a
symbolic link to the terminal, so that port N of Dravix started in this directory reaches it.
Read requests get the 24-byte reply with the eight values, write requests the 8-byte reply (a
write stores its values). Requests are answered whatever device code they carry; the reply
carries the simulator's own code. Every frame received and sent is printed in hexadecimal with
a time stamp; bytes that form no request are printed as discarded. Once listening it prints
"ready COM<N> -> <terminal>". SIGINT or SIGTERM removes the link and ends it.

Options:
  --port N          port number N of the link COM<N> (default 1)
  --id HH           device code, two hexadecimal digits (default 05)
  --values a,...,h  the eight parameter values, -32768..32767 (default 100,200,...,800)

Faults (each applies to every reply, or to the first --fault-count replies):
  --silent          never answer
  --wrong-id        answer with another device code (the own code plus 1)
  --bad-crc         corrupt the check value of each reply
  --cut K           send only the first K bytes of each reply (0..23)
  --rest-after MS   with --cut: send the rest of the reply MS milliseconds later
  --stray           append one stray byte to each reply
  --delay MS        send each reply MS milliseconds after its request
  --refuse-write    answer a write with the command byte 0x90 instead of 0x10 (values kept)
  --preamble00      send replies with the preamble 00 00 instead of FF FF
  --noise N         send N pseudo-random bytes in place of the reply
  --spread K,MS     send the reply in pieces of K bytes, MS milliseconds apart
  --late-bytes N,MS send N pseudo-random bytes MS milliseconds after the reply
  --flood N         in place of the reply, send N pseudo-random bytes as fast as the line
                    takes them during the 200 ms the program waits; the rest is dropped
  --hangup-after MS MS milliseconds after the request close the terminal, drop what is still
                    to be sent, and make a new terminal at once with COM<N> pointing to it
                    (a new "ready" line is printed)
  --fault-count N   apply the faults above to the first N replies only, then answer normally

The line:
  --echo            return each request at once, as a two-wire converter with its echo on
                    does; the device answers after it as the options above say (with
                    --silent the echo is all that comes back)
  --help            show this text
)";
}

} // namespace Dravix
