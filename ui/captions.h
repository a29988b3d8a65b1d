#pragma once

namespace Dravix {

// The captions of the three windows, as the user reads them: for the window logic, which holds
// those that a description changes, and for the widgets alike.
namespace Captions {

// The main window.
inline constexpr const char *kModelHeading = "MODEL URZĄDZENIA: ???";
inline constexpr const char *kSetChoice = "Zestaw parametrów:";
inline constexpr const char *kSet1 = "1 - 4";
inline constexpr const char *kSet2 = "5 - 8";
inline constexpr const char *kParameterName = "Nazwa parametru:";
inline constexpr const char *kUpperDescription = "Opis parametru 1";
inline constexpr const char *kLowerDescription = "Opis parametru 2";
inline constexpr const char *kPortNumber = "Nr portu szeregowego:";
inline constexpr const char *kPortUnavailable = "Port niedostępny!";
inline constexpr const char *kLineSettings = "Parametry transmisji RS232:";
inline constexpr const char *kRead = "ODCZYT DANYCH";
inline constexpr const char *kWrite = "ZAPIS DANYCH";
inline constexpr const char *kChooser = "KONFIGURACJA";
inline constexpr const char *kValueFiles = "ODCZYT/ZAPIS SESJI";
inline constexpr const char *kExit = "WYJŚCIE";

// The description chooser; its title is the program's name and this.
inline constexpr const char *kChooserTitle = "wybór pliku";
inline constexpr const char *kChooserList = "Wybór pliku konfiguracyjnego:";
inline constexpr const char *kChooserRead = "ODCZYT";
inline constexpr const char *kChooserCancel = "ANULUJ";

// The value-file dialog; its title is the program's name and this.
inline constexpr const char *kValueFilesTitle = "Zapis/odczyt";
inline constexpr const char *kValueFilesList = "Wybór pliku do odczytu/zapisu:";
inline constexpr const char *kFileName = "Nazwa pliku:";
inline constexpr const char *kLoad = "ODCZYTAJ";
inline constexpr const char *kSave = "ZAPISZ";
inline constexpr const char *kDelete = "USUŃ";
// kExit closes it too.

} // namespace Captions

} // namespace Dravix
