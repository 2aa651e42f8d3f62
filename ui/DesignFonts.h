#pragma once
// The fonts of the window designs, by pixel size. Liberation Sans and Liberation Sans Narrow
// have the metrics of Arial and Arial Narrow; the old dialog font gets Liberation Sans too.

#include <QFont>

namespace DesignFonts {
QFont arial(int pixels, bool bold = false);
QFont arialNarrow(int pixels, bool bold = false);
QFont dialog(int pixels = 11, bool bold = false);
}
