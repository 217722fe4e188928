#pragma once

#include <QRect>

#include "core/Layout.h"

class QWidget;

namespace app {

// A rectangle in twips as pixels of a display with the given density.
QRect ToPixels(const core::TwipsRect& rect, int dpi);

// The height of the font that the layout tables were drawn for, in twips:
// 13 pixels at 96 dots per inch.
inline constexpr int kDesignFontHeightTwips = 195;

// Turns a window's layout table into pixels: twips at the window's DPI, every
// position and size scaled by the window font's height over the design
// font's, so that the table keeps its proportions and its texts fit at any
// font size. With the design font the result is exactly ToPixels.
class TwipsLayout {
public:
    TwipsLayout(int dpi, int fontHeight);
    // For the widget's DPI and font.
    static TwipsLayout For(const QWidget& widget);

    int ToPixels(int twips) const;
    QRect ToPixels(const core::TwipsRect& rect) const;
    double Scale() const { return scale_; }

private:
    int dpi_;
    double scale_;
};

}  // namespace app
