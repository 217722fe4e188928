#pragma once

#include <cmath>

namespace core {

// The geometry of the program's windows, designed in twips: 1/1440 inch,
// 15 twips per pixel at 96 dots per inch. Every front end places its
// controls from these tables and converts them with its display's density.

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

inline int TwipsToPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

namespace layout {

// The main window Form1. Positions are relative to the control's container:
// the window for the frames and About, otherwise the frame named before it.
namespace form1 {
inline constexpr TwipsRect kClientArea{0, 0, 5025, 4815};
// The file panel and its controls.
inline constexpr TwipsRect kFrame1{0, 0, 4935, 1815};
inline constexpr TwipsRect kText1{120, 840, 2775, 375};
inline constexpr TwipsRect kText2{120, 1320, 2775, 375};
inline constexpr TwipsRect kBrowseF{3360, 240, 1335, 375};
inline constexpr TwipsRect kEncFile{3720, 720, 975, 375};
inline constexpr TwipsRect kDecFile{3720, 1320, 975, 375};
inline constexpr TwipsRect kSwap{3000, 1080, 615, 375};
// Between the panels, on the window.
inline constexpr TwipsRect kAbout{3600, 1920, 1095, 315};
// The string panel and its controls.
inline constexpr TwipsRect kFrame2{0, 2280, 4935, 2535};
inline constexpr TwipsRect kPaste{120, 360, 1935, 375};
inline constexpr TwipsRect kText3{120, 840, 3255, 375};
inline constexpr TwipsRect kEncStr{3480, 840, 1335, 375};
inline constexpr TwipsRect kText4{120, 1560, 3255, 375};
inline constexpr TwipsRect kDecStr{3480, 1560, 1335, 375};
inline constexpr TwipsRect kCopy2Clip{120, 2040, 1935, 375};
}  // namespace form1

// The password prompt PasswordForm; positions relative to its client area.
namespace passwordform {
inline constexpr TwipsRect kClientArea{0, 0, 5415, 1725};
inline constexpr TwipsRect kText1{120, 1200, 5055, 285};
inline constexpr TwipsRect kCommand1{4080, 120, 1095, 375};
inline constexpr TwipsRect kCommand2{4080, 600, 1095, 375};
inline constexpr TwipsRect kLabel1{240, 120, 3735, 855};
}  // namespace passwordform

// The status strip StatusForm: the top-left corner of the screen, all label.
namespace statusform {
inline constexpr TwipsRect kPlacement{0, 0, 2000, 200};
}  // namespace statusform

}  // namespace layout

}  // namespace core
