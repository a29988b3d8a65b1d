#pragma once

namespace Dravix {

// The program's name and every text that its message boxes show, as the user reads them.
namespace Messages {

inline constexpr const char *kProgramName = "Dravix";
// A window's title: this, then the description file or the dialog's purpose.
inline constexpr const char *kTitlePrefix = "Dravix - ";

inline constexpr const char *kPortUnavailable = "Port szeregowy niedostepny!";
inline constexpr const char *kInvalidValues = "Blednie wprowadzone wartosci parametrow!";
inline constexpr const char *kNoReply = "Urzadzenie nie odpowiada!";
inline constexpr const char *kFrameError = "Blad transmisji ramki!";
inline constexpr const char *kWrongDevice = "Niewlasciwy kod urzadzenia!";
inline constexpr const char *kReadDone = "Parametry odczytane poprawnie!";
inline constexpr const char *kWriteDone = "Parametry zapisane do urzadzenia";
inline constexpr const char *kWriteRefused = "Zapisanie parametrow do urzadzenia nie powiodlo sie!";

inline constexpr const char *kCannotWrite = "Niewlasciwa nazwa pliku!!!";
inline constexpr const char *kCannotDelete = "Niewłaściwa nazwa pliku lub plik nie istnieje!!!";
inline constexpr const char *kNotPresent = "Plik o podanej nazwie nie istnieje!";

} // namespace Messages

} // namespace Dravix
