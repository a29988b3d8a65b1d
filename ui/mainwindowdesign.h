#pragma once

#include "controlstate.h"

namespace Dravix {

// Design values of the main window, in twips.
namespace MainWindowDesign {

inline constexpr int kClientWidth = 10770;
inline constexpr int kClientHeight = 6840;

inline constexpr Rect lModel{300, 150, 8145, 300};
inline constexpr Rect Line1{240, 510, 8310, 2}; // from (240, 510) to (8550, 510)
inline constexpr Rect LogoFirmy{8640, 60, 2085, 1635};
inline constexpr Rect lZestawParametrow{360, 690, 2085, 240};
inline constexpr Rect OptionZestaw1{2850, 660, 855, 315};
inline constexpr Rect OptionZestaw2{4170, 660, 855, 315};
inline constexpr Rect NazwaParametru0{360, 1110, 1875, 240};
inline constexpr int NazwaParametru1Top = 2130;
inline constexpr Rect EdycjaParametru0{360, 1380, 1100, 360};
inline constexpr Rect OpisParametru10{1590, 1410, 1785, 240};
inline constexpr Rect OpisParametru20{1590, 1680, 1785, 240};
inline constexpr Rect lNumerPortu{360, 5250, 2355, 240};
inline constexpr Rect NumerPortu{330, 5580, 675, 360};
inline constexpr Rect lPortInfo{1080, 5640, 1665, 240};
inline constexpr Rect lPredkoscPortu{3510, 5250, 2925, 240};
inline constexpr Rect Predkosc{3480, 5610, 2415, 360};
inline constexpr Rect PrzyciskOdczyt{330, 6210, 2260, 360};
inline constexpr Rect PrzyciskZapisz{2610, 6210, 2260, 360};
inline constexpr Rect PrzyciskWybor{4890, 6210, 2260, 360};
inline constexpr Rect Command1{7170, 6210, 2260, 360};
inline constexpr Rect PrzyciskWyjscie{9450, 6210, 1125, 360};

} // namespace MainWindowDesign

} // namespace Dravix
