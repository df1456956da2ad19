#pragma once

#include <QFont>

// Stand-ins for the layout's faces. Sizes are in pixels so that text keeps
// its proportion to the pixel-based layout whatever the screen's DPI.
QFont dialogFont(); // the default dialog font, 8 point
QFont largeFont();  // "MS Sans Serif", 12 point
