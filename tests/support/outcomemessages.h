#pragma once

namespace Dravix {

// The texts the user sees at the end of an exchange, as the tests expect them.
namespace OutcomeMessages {

inline constexpr const char *kReadDone = "Parametry odczytane poprawnie!";
inline constexpr const char *kWriteDone = "Parametry zapisane do urzadzenia";
inline constexpr const char *kNoReply = "Urzadzenie nie odpowiada!";
inline constexpr const char *kFrameError = "Blad transmisji ramki!";
inline constexpr const char *kWrongDevice = "Niewlasciwy kod urzadzenia!";
inline constexpr const char *kWriteRefused = "Zapisanie parametrow do urzadzenia nie powiodlo sie!";
inline constexpr const char *kPortUnavailable = "Port szeregowy niedostepny!";
inline constexpr const char *kInvalidValues = "Blednie wprowadzone wartosci parametrow!";

} // namespace OutcomeMessages

} // namespace Dravix
