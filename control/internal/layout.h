// Geometry, identifiers, colours and texts of the control's form. Rectangles
// are given as (left, top, right, bottom) with right and bottom exclusive, the
// way the form was laid out in window pixels.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

namespace tavrel::control::layout {

constexpr QRect FromEdges(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left, bottom - top);
}

inline constexpr int kBankCodeFieldId = 2000;
inline constexpr int kAccountFieldId = 2001;
inline constexpr int kHitListId = 2002;

inline constexpr QRect kBankCodeField = FromEdges(45, 2, 120, 22);
inline constexpr QRect kAccountField = FromEdges(45, 26, 120, 46);
inline constexpr int kHitListLeft = 125;
inline constexpr int kHitListRight = 360;

inline constexpr QPoint kBankCodeLabelAt{0, 5};
inline constexpr QPoint kAccountLabelAt{0, 28};
inline constexpr QRect kBankCodeRow = FromEdges(128, 2, 360, 23);
inline constexpr QPoint kBankCodeRowTextAt{130, 5};
inline constexpr QRect kAccountRow = FromEdges(128, 25, 360, 46);
inline constexpr QPoint kAccountRowTextAt{130, 28};

// The size a host gets when it does not choose one: the fields, the message
// area and room for a few lines of the hit list.
inline constexpr int kDefaultWidth = 360;
inline constexpr int kDefaultHeight = 120;

inline constexpr QColor kErrorColour{255, 200, 200};
inline constexpr QColor kBankNameColour{200, 255, 200};

inline constexpr int kBankCodeLimit = 8;
inline constexpr int kAccountLimit = 10;

// Windows-1252 texts.
inline constexpr const char* kBankCodeLabel = "BLZ:";
inline constexpr const char* kAccountLabel = "Konto:";
inline constexpr const char* kNameSearchMessage = "Suche nach Bankname...";
inline constexpr const char* kBankCodeToolTip =
    "BLZ, Suchbegriff oder zwei Suchbegriffe durch ein Komma getrennt eingeben.";

}  // namespace tavrel::control::layout
