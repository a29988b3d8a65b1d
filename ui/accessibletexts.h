#pragma once

#include <string>
#include <string_view>

namespace Dravix {

class MainWindowLogic;

// What a screen reader is told of the windows' controls beyond their captions, as the user hears
// it: the one home of those texts, and their wording from the main window's state.
namespace AccessibleTexts {

// The main window.
inline constexpr const char *kSet1 = "Pokazuje parametry 1–4.";
inline constexpr const char *kSet2 = "Pokazuje parametry 5–8.";
inline constexpr const char *kLineSettings = "Prędkość, parzystość, bity danych, bity stopu.";
inline constexpr const char *kPortAvailable = "Port dostępny.";
inline constexpr const char *kRange = "Zakres ";
inline constexpr const char *kOutOfRange = "Wartość poza zakresem ";
inline constexpr const char *kNotANumber = "Wartość nie jest liczbą.";

// The description chooser.
inline constexpr const char *kChooserList = "Pliki opisu urządzenia (*.set) z folderu roboczego. "
                                            "Strzałki wybierają plik, Enter go wczytuje.";

// The value-file dialog.
inline constexpr const char *kValueFilesList =
    "Pliki wartości (*.vq) z folderu roboczego. Strzałki wybierają plik i wpisują jego nazwę w "
    "pole „Nazwa pliku”, Enter go wczytuje.";
inline constexpr const char *kFileName =
    "ODCZYTAJ wczytuje plik o tej nazwie; ZAPISZ i USUŃ dopisują do niej .vq, gdy go brak.";

// A caption as the name of the control it captions: without the colon that ends it.
std::string nameOf(std::string_view caption);

// EdycjaParametru(k): its parameter's caption; its description lines and range, and first, when
// its value is rejected, why.
std::string entryName(const MainWindowLogic &window, int k);
std::string entryDescription(const MainWindowLogic &window, int k);

// NumerPortu: whether the last port test opened the port, else "Port niedostępny!" with the
// first line of the port's note. Composes the note when the port is not available: costly, so
// asked only while a screen reader listens.
std::string portListDescription(const MainWindowLogic &window);

} // namespace AccessibleTexts

} // namespace Dravix
