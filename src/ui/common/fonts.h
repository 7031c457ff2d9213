#pragma once

// The program's fonts. The faces the windows were designed with are missing on most
// machines; each falls back to the nearest system font of the same kind at the same size.

#include <QFont>

// "MS Sans Serif", or the nearest sans-serif face.
QFont SansFont(int pixelSize);
// "Courier New", or the system's fixed-pitch font.
QFont FixedFont(int pixelSize);
