// The control object's stock properties in Qt terms.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include "tavrel/automation/variant.h"

namespace tavrel::control {

QFont ToQFont(const automation::Font& font);

// An OLE colour: 0x00BBGGRR, or (top bit set) a system colour index, which is
// taken from the palette role that plays the same part.
QColor ToQColor(automation::Colour colour, const QPalette& palette);

}  // namespace tavrel::control
