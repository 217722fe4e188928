#include "app/platform/Twips.h"

#include <cmath>

int TwipsToPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

QRect ToPixels(const TwipsRect& rect, int dpi) {
    return QRect(TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
                 TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi));
}
