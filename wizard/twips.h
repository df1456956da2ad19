#pragma once

#include <QRect>

// The layout is drawn up in twips; 15 of them make one device-independent
// pixel, and Qt's high-DPI scaling takes it from there.
constexpr int TwipsPerPixel = 15;

constexpr int pixels(double twips)
{
    return static_cast<int>(twips / TwipsPerPixel + (twips >= 0 ? 0.5 : -0.5));
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}
