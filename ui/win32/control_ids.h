#pragma once

// The child-window identifiers of Form1's controls: what a test or an accessibility tool finds
// them by. Control arrays take consecutive identifiers from their index 0.
namespace ristemo::ui::ids {

inline constexpr int kText1 = 100;    // + index, 0 to 3
inline constexpr int kOption1 = 200;  // + index, 0 and 1
inline constexpr int kLabel1 = 300;   // + index, 0 to 3
inline constexpr int kLabel2 = 400;   // + index, 0 to 4
inline constexpr int kLabel3 = 500;   // + index, 0 to 4
inline constexpr int kCommand1 = 600;
inline constexpr int kCommand2 = 601;
inline constexpr int kCommand3 = 610;  // + index, 0 to 2
inline constexpr int kFrame1 = 700;
inline constexpr int kFrame2 = 701;
inline constexpr int kFrame3 = 702;

// Menu items; the function keys send the same commands.
inline constexpr int kMnuCalcolo = 1001;
inline constexpr int kMnuStampa = 1002;
inline constexpr int kMnuNotepad = 1003;
inline constexpr int kMnuAzzera = 1004;
inline constexpr int kMnuEsci = 1005;
inline constexpr int kMnuAbout = 1010;
inline constexpr int kMnuNomra = 1021;
inline constexpr int kMnuVelsor = 1022;
inline constexpr int kMnuMirdo = 1023;
inline constexpr int kMnuZentab = 1024;

// Resources.
inline constexpr int kIcon = 1;

}  // namespace ristemo::ui::ids
