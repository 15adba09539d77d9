#pragma once
// A loaded skin: named elements with rectangles, faces made of drawing
// instructions, and action codes. Portable; the Win32 control draws it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brontel::skin {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;  // 0 = nothing drawn, 255 = opaque
  bool IsNone() const { return a == 0; }
  bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool IsEmpty() const { return width <= 0 || height <= 0; }
  bool Contains(int x, int y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

struct Font {
  std::string face;  // UTF-8 family name
  int size = 12;     // character height in pixels
  bool bold = false;
  bool italic = false;
};

enum class Align { kLeft, kCenter, kRight };

enum class ElementKind {
  kPanel,      // a face; blocks clicks to what lies below
  kIndicator,  // a face; clicks pass through
  kButton,     // normal, hover and pressed faces; raises its action codes
  kOverlay,    // a face that swallows clicks (disabled looks)
  kLabel,      // a text area for a label control; may have a face
  kRegion,     // a bare rectangle, never drawn
};

enum class Face { kNormal = 0, kHover = 1, kPressed = 2 };
constexpr int kFaceCount = 3;

enum class DrawKind {
  kFill,      // rect, fill
  kGradient,  // rect, fill -> stroke, vertical
  kFrame,     // rect, stroke, thickness
  kRound,     // rect, radius, fill, stroke
  kEllipse,   // rect, fill, stroke
  kLine,      // points[0..3], stroke, thickness
  kPolygon,   // points, fill, stroke
  kText,      // rect, font, fill (ink), align, text
  kBevel,     // rect, fill (light), stroke (dark)
  kImage,     // rect (origin and scaled size), image, scale
};

// One drawing instruction; coordinates are relative to the element's
// top-left corner as the skin file places it.
struct DrawOp {
  DrawKind kind = DrawKind::kFill;
  Rect rect;
  std::vector<int> points;  // x0 y0 x1 y1 ...
  Color fill;
  Color stroke;
  int thickness = 1;
  int radius = 0;
  bool vertical = true;
  int font = -1;
  Align align = Align::kLeft;
  std::string text;  // UTF-8
  int image = -1;
  int scale = 1;
  int line = 0;  // where the instruction came from
};

// A small picture stored in the skin file, one colour per pixel.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;  // row by row; transparent pixels have a = 0
};

// How a label control draws its text over a label element.
struct LabelStyle {
  int font = -1;  // -1: the skin's default label font
  Color ink{0, 0, 0, 255};
  Align align = Align::kLeft;
};

struct Element {
  std::string name;
  ElementKind kind = ElementKind::kPanel;
  Rect design;   // as in the skin file
  Rect current;  // as set by the program
  int parent = -1;
  std::int32_t action = 0;   // raised on click (release inside the button)
  std::int32_t press = 0;    // raised on mouse down
  std::int32_t release = 0;  // raised on mouse up wherever the mouse is
  // True: the face stays where the skin file put it and the current
  // rectangle only reveals part of it (meters). False: the face moves with
  // the element's current top-left corner.
  bool anchorDesign = false;
  bool drag = false;  // dragging this panel moves the window
  std::array<std::vector<DrawOp>, kFaceCount> faces;
  LabelStyle label;
  int line = 0;
};

class SkinModel {
 public:
  std::string title;
  int width = 0;  // preferred control size; 0 = the union of the elements
  int height = 0;
  std::vector<Element> elements;
  std::vector<Font> fonts;
  std::vector<Image> images;

  // Index of the element with this exact name, -1 when there is none.
  int Find(const std::string& name) const;
  bool IsValidIndex(int index) const {
    return index >= 0 && index < static_cast<int>(elements.size());
  }

  // Drawn or clickable: the element and all its parents have a non-empty
  // current rectangle. Regions are never visible.
  bool IsVisible(int index) const;

  // The element's current rectangle clipped by its parents' current ones.
  Rect VisibleRect(int index) const;

  // Topmost visible panel, button or overlay at the point, -1 for none.
  int HitTest(int x, int y) const;

  // Preferred size: `width` x `height`, else the union of all elements.
  Rect Bounds() const;

  // Puts every element back to its design rectangle.
  void ResetRects();
};

const char* KindName(ElementKind kind);
const char* FaceName(Face face);

// One line describing an element for skin authors:
// "PlayBtn button shown 100,120 32x24 face=normal action=10130".
std::string DescribeElement(const SkinModel& model, int index, Face face);

}  // namespace brontel::skin
