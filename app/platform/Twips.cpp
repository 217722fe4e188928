#include "app/platform/Twips.h"

QRect ToPixels(const TwipsRect& rect, int dpi) {
    return QRect(TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
                 TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi));
}
