#include "app/platform/Twips.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace app {

QRect ToPixels(const core::TwipsRect& rect, int dpi) {
    return QRect(core::TwipsToPixels(rect.left, dpi), core::TwipsToPixels(rect.top, dpi),
                 core::TwipsToPixels(rect.width, dpi), core::TwipsToPixels(rect.height, dpi));
}

TwipsLayout::TwipsLayout(int dpi, int fontHeight)
    : dpi_(dpi),
      scale_(static_cast<double>(fontHeight) /
             std::max(1, core::TwipsToPixels(kDesignFontHeightTwips, dpi))) {}

TwipsLayout TwipsLayout::For(const QWidget& widget) {
    return TwipsLayout(widget.logicalDpiY(), widget.fontMetrics().height());
}

int TwipsLayout::ToPixels(int twips) const {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi_ / 1440.0 * scale_));
}

QRect TwipsLayout::ToPixels(const core::TwipsRect& rect) const {
    return QRect(ToPixels(rect.left), ToPixels(rect.top), ToPixels(rect.width),
                 ToPixels(rect.height));
}

}  // namespace app
