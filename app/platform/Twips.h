#pragma once

#include <QRect>

// Window geometry is designed in twips: 1/1440 inch, 15 twips per pixel at
// 96 dots per inch.

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

int TwipsToPixels(int twips, int dpi);

QRect ToPixels(const TwipsRect& rect, int dpi);
