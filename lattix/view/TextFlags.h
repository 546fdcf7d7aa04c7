#pragma once

#include <Qt>

#include <cstdint>

class QPainter;
class QRect;
class QString;

namespace Lattix {

// Text format words: the flag words of the Windows text-drawing call, kept as data in
// column records, renderers and stored settings, and translated to Qt at paint time.
namespace TextFlags {

inline constexpr std::uint32_t Left = 0x0000;
inline constexpr std::uint32_t Center = 0x0001;
inline constexpr std::uint32_t Right = 0x0002;
inline constexpr std::uint32_t VCenter = 0x0004;
inline constexpr std::uint32_t Bottom = 0x0008;
inline constexpr std::uint32_t WordBreak = 0x0010;
inline constexpr std::uint32_t SingleLine = 0x0020;
inline constexpr std::uint32_t NoClip = 0x0100;
inline constexpr std::uint32_t NoPrefix = 0x0800;
inline constexpr std::uint32_t EndEllipsis = 0x8000;

// The three words that columns use: vertically centred single line, no clipping, no
// prefix character, ellipsis at the end; left, centred or right.
inline constexpr std::uint32_t kLeft = 0x8924;
inline constexpr std::uint32_t kCentred = 0x8925;
inline constexpr std::uint32_t kRight = 0x8926;

// Horizontal and vertical alignment of a flag word.
Qt::Alignment ToAlignment(std::uint32_t flags);

// Where a box of width w goes inside [left, right) for a flag word: left edge plus
// margin, centred, or right edge minus width and margin. Flag words that are neither
// centred nor right aligned place it at the left.
int PlaceHorizontally(std::uint32_t flags, int left, int right, int width, int margin);

// Draws text into rect as the flag word asks: aligned, shortened with "..." at the end
// when EndEllipsis is set and the text is too wide, and clipped to rect unless NoClip
// is set. Single-line words draw line ends as spaces.
void DrawText(QPainter& painter, const QRect& rect, const QString& text, std::uint32_t flags);

} // namespace TextFlags
} // namespace Lattix
