#pragma once

#include <string>
#include <string_view>

namespace Dravix {

// The names of the program's files and the keys of their one key/value format, for the writer
// and the dispatcher alike.
namespace FileFormat {

inline constexpr std::string_view kStateFile = "sesja.dat";
inline constexpr std::string_view kDescriptionExtension = ".set";
inline constexpr std::string_view kValueFileExtension = ".vq";

// Port N's name: the entry of the working folder that port N opens when it is there, and the
// Windows device of port N.
inline std::string portEntryName(int portNumber)
{
    return "COM" + std::to_string(portNumber);
}

// Keys of the whole file.
inline constexpr std::string_view kDescriptionFileKey = "konfig";
inline constexpr std::string_view kPortIndexKey = "wybor1";
inline constexpr std::string_view kSpeedIndexKey = "wybor2";
inline constexpr std::string_view kActiveSetKey = "zestaw";
inline constexpr std::string_view kHeadingKey = "tytul";
inline constexpr std::string_view kDeviceCodeKey = "ID";
inline constexpr std::string_view kPortEntryKey = "dodajport";
inline constexpr std::string_view kLineSettingsEntryKey = "dodajparam";

// Keys of a parameter slot, followed by its number 1..8.
inline constexpr std::string_view kNameKey = "nazwa";
inline constexpr std::string_view kUpperDescriptionKey = "opisgora";
inline constexpr std::string_view kLowerDescriptionKey = "opisdol";
inline constexpr std::string_view kRangeMinKey = "zakresmin";
inline constexpr std::string_view kRangeMaxKey = "zakresmax";
inline constexpr std::string_view kValueKey = "parametr";
inline constexpr std::string_view kActiveKey = "aktywny";

} // namespace FileFormat

} // namespace Dravix
