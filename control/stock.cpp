#include "internal/stock.h"

#include <QString>
#include <algorithm>
#include <cstdint>
#include <utility>

namespace tavrel::control {
namespace {

constexpr std::uint32_t kSystemColourFlag = 0x80000000;

// System colour index -> palette role. Indices not listed use the window colour.
constexpr std::pair<std::uint32_t, QPalette::ColorRole> kSystemColours[] = {
    {5, QPalette::Base},              // window
    {7, QPalette::WindowText},        // menu text
    {8, QPalette::Text},              // window text
    {13, QPalette::Highlight},        // highlight
    {14, QPalette::HighlightedText},  // highlighted text
    {15, QPalette::Button},           // button face
    {16, QPalette::Mid},              // button shadow
    {17, QPalette::PlaceholderText},  // grey text
    {18, QPalette::ButtonText},       // button text
    {20, QPalette::Light},            // button highlight
    {21, QPalette::Dark},             // dark 3D shadow
    {22, QPalette::Midlight},         // 3D light
    {23, QPalette::ToolTipText},      // info text
    {24, QPalette::ToolTipBase},      // info background
};

}  // namespace

QFont ToQFont(const automation::Font& font) {
  QFont result(QString::fromStdU16String(font.name));
  if (font.pointSize > 0) result.setPointSizeF(font.pointSize);
  result.setBold(font.bold);
  result.setItalic(font.italic);
  return result;
}

QColor ToQColor(automation::Colour colour, const QPalette& palette) {
  if ((colour.value & kSystemColourFlag) == 0) {
    return QColor(colour.value & 0xFF, (colour.value >> 8) & 0xFF, (colour.value >> 16) & 0xFF);
  }
  const std::uint32_t index = colour.value & 0xFF;
  const auto* found = std::ranges::find(kSystemColours, index,
                                        &std::pair<std::uint32_t, QPalette::ColorRole>::first);
  return palette.color(found == std::end(kSystemColours) ? QPalette::Window : found->second);
}

}  // namespace tavrel::control
