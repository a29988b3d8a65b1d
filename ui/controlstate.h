#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Dravix {

// Position and size in twips (1/1440 inch; 15 twips are one device-independent pixel).
struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect &) const = default;
};

struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb &) const = default;
};

inline constexpr Rgb kWindowBlue{1, 125, 195};
inline constexpr Rgb kEntryAccepted{255, 255, 255};
inline constexpr Rgb kEntryRejected{255, 64, 64};

struct LabelState
{
    std::string caption;
    bool visible = false;
    Rect geometry;
};

struct EntryState
{
    std::string text = "0";
    Rgb background = kEntryAccepted;
    // The text reads as one number: a rejected one lies beyond the bounds.
    bool numeric = true;
    bool visible = false;
    Rect geometry;
};

// A drop-down list without typing; selected is -1 when no entry is selected.
struct ListState
{
    std::vector<std::string> entries;
    int selected = -1;

    std::string selectedText() const
    {
        return selected >= 0 && selected < int(entries.size()) ? entries[selected] : std::string();
    }
};

} // namespace Dravix
