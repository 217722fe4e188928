#pragma once

#include <QRect>

#include "core/Layout.h"

// A rectangle in twips as pixels of a display with the given density.
QRect ToPixels(const TwipsRect& rect, int dpi);
