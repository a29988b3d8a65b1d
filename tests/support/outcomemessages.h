#pragma once

namespace Dravix {

// The texts of the message boxes, as the tests expect them: written here apart from the
// program's own, so that a changed text fails the tests.
namespace OutcomeMessages {

inline constexpr const char *kReadDone = "Parametry odczytane poprawnie!";
inline constexpr const char *kWriteDone = "Parametry zapisane do urzadzenia";
inline constexpr const char *kNoReply = "Urzadzenie nie odpowiada!";
inline constexpr const char *kFrameError = "Blad transmisji ramki!";
inline constexpr const char *kWrongDevice = "Niewlasciwy kod urzadzenia!";
inline constexpr const char *kWriteRefused = "Zapisanie parametrow do urzadzenia nie powiodlo sie!";
inline constexpr const char *kPortUnavailable = "Port szeregowy niedostepny!";
inline constexpr const char *kInvalidValues = "Blednie wprowadzone wartosci parametrow!";
inline constexpr const char *kCannotWrite = "Niewlasciwa nazwa pliku!!!";
inline constexpr const char *kCannotDelete = "Niewłaściwa nazwa pliku lub plik nie istnieje!!!";
inline constexpr const char *kNotPresent = "Plik o podanej nazwie nie istnieje!";

} // namespace OutcomeMessages

} // namespace Dravix
