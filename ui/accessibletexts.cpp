#include "accessibletexts.h"

#include "captions.h"
#include "mainwindowlogic.h"

namespace Dravix::AccessibleTexts {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Appends a piece as a sentence of its own; a piece that ends as a sentence keeps its ending.
void appendSentence(std::string &text, std::string_view piece)
{
    piece = trimmed(piece);
    if (piece.empty())
        return;
    if (!text.empty())
        text += ' ';
    text += piece;
    if (const char last = piece.back(); last != '.' && last != '!' && last != '?')
        text += '.';
}

} // namespace

std::string nameOf(std::string_view caption)
{
    caption = trimmed(caption);
    if (caption.ends_with(':'))
        caption = trimmed(caption.substr(0, caption.size() - 1));
    return std::string(caption);
}

std::string entryName(const MainWindowLogic &window, int k)
{
    return nameOf(window.parameterName(k).caption);
}

std::string entryDescription(const MainWindowLogic &window, int k)
{
    const ModelState &state = window.state();
    const std::string range =
        std::to_string(state.RangeMin[k]) + "…" + std::to_string(state.RangeMax[k]);
    const bool rejected = state.InvalidEntries & EntryBit(k);
    const bool outOfRange = rejected && window.entry(k).numeric;
    std::string text;
    if (outOfRange)
        appendSentence(text, kOutOfRange + range);
    else if (rejected)
        appendSentence(text, kNotANumber);
    appendSentence(text, window.upperDescription(k).caption);
    appendSentence(text, window.lowerDescription(k).caption);
    if (!outOfRange)
        appendSentence(text, kRange + range);
    return text;
}

std::string portListDescription(const MainWindowLogic &window)
{
    if (!window.portInfoVisible())
        return kPortAvailable;
    const std::string &note = window.portInfoToolTip();
    std::string text = Captions::kPortUnavailable;
    if (const std::string_view first = trimmed(std::string_view(note).substr(0, note.find('\n')));
        !first.empty()) {
        text += ' ';
        text += first;
    }
    return text;
}

} // namespace Dravix::AccessibleTexts
