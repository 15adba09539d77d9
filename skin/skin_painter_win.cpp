#include "skin/skin_painter_win.h"

namespace brontel::skin {
namespace {

constexpr int kDefaultLabelFontSize = 13;
constexpr wchar_t kDefaultLabelFontFace[] = L"Tahoma";
constexpr int kDefaultFontIndex = -1;

// Families tried, in order, for characters the skin's font lacks.
constexpr const wchar_t* kFallbackFaces[] = {
    L"MS UI Gothic", L"MS PGothic",      L"Meiryo UI", L"Yu Gothic UI",     L"IPAGothic",
    L"IPAPGothic",   L"Microsoft YaHei", L"SimSun",    L"Arial Unicode MS",
};

bool HasAllGlyphs(HDC dc, HFONT font, const std::wstring& text) {
  HGDIOBJ old = SelectObject(dc, font);
  std::vector<WORD> glyphs(text.size());
  const DWORD done = GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()),
                                      glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  if (done == GDI_ERROR) return true;  // cannot tell; keep the skin's font
  for (WORD glyph : glyphs) {
    if (glyph == 0xFFFF) return false;
  }
  return true;
}

COLORREF Ref(const Color& c) {
  return RGB(c.r, c.g, c.b);
}

// Fills with a translucent colour through a one-pixel premultiplied bitmap.
void BlendFill(HDC dc, const RECT& r, const Color& c) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 1;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap.Get() || !bits) return;
  const unsigned a = c.a;
  *static_cast<DWORD*>(bits) =
      (a << 24) | ((c.r * a / 255) << 16) | ((c.g * a / 255) << 8) | (c.b * a / 255);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap.Get());
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0, 1, 1, blend);
  SelectObject(source, old);
  DeleteDC(source);
}

void Fill(HDC dc, const RECT& r, const Color& c) {
  if (c.IsNone() || r.right <= r.left || r.bottom <= r.top) return;
  if (c.a != 255) return BlendFill(dc, r, c);
  SetDCBrushColor(dc, Ref(c));
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

RECT ToRect(const Rect& r, int dx, int dy) {
  return RECT{r.left + dx, r.top + dy, r.left + dx + r.width, r.top + dy + r.height};
}

// Selects a pen and a brush for outline and fill ("none" draws nothing).
class PenAndBrush {
 public:
  PenAndBrush(HDC dc, const Color& fill, const Color& stroke, int thickness) : m_dc(dc) {
    if (!stroke.IsNone()) m_pen = GdiObject(CreatePen(PS_SOLID, thickness, Ref(stroke)));
    if (!fill.IsNone()) m_brush = GdiObject(CreateSolidBrush(Ref(fill)));
    m_oldPen = SelectObject(dc, m_pen.Get() ? m_pen.Get() : GetStockObject(NULL_PEN));
    m_oldBrush = SelectObject(dc, m_brush.Get() ? m_brush.Get() : GetStockObject(NULL_BRUSH));
  }
  ~PenAndBrush() {
    SelectObject(m_dc, m_oldPen);
    SelectObject(m_dc, m_oldBrush);
  }
  PenAndBrush(const PenAndBrush&) = delete;
  PenAndBrush& operator=(const PenAndBrush&) = delete;
  // Without an outline GDI leaves the right and bottom edge out; one more
  // pixel keeps shapes the size the skin gives.
  int Grow() const { return m_pen.Get() ? 0 : 1; }

 private:
  HDC m_dc;
  GdiObject m_pen;
  GdiObject m_brush;
  HGDIOBJ m_oldPen = nullptr;
  HGDIOBJ m_oldBrush = nullptr;
};

UINT AlignFlags(Align align) {
  switch (align) {
    case Align::kCenter:
      return DT_CENTER;
    case Align::kRight:
      return DT_RIGHT;
    case Align::kLeft:
      break;
  }
  return DT_LEFT;
}

HFONT MakeFont(const wchar_t* face, int size, bool bold, bool italic) {
  return CreateFontW(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, face);
}

}  // namespace

void SkinPainter::Prepare(const SkinModel& model) {
  m_fonts.clear();
  m_fallbacks.clear();
  m_fontDescriptions = model.fonts;
  for (const Font& font : model.fonts) {
    m_fonts.emplace_back(MakeFont(Widen(font.face).c_str(), font.size, font.bold, font.italic));
  }
  if (!m_defaultFont.Get()) {
    m_defaultFont = GdiObject(MakeFont(kDefaultLabelFontFace, kDefaultLabelFontSize, true, false));
  }
}

HFONT SkinPainter::FontFor(int index) {
  if (index >= 0 && index < static_cast<int>(m_fonts.size()) && m_fonts[index].Get()) {
    return static_cast<HFONT>(m_fonts[index].Get());
  }
  return static_cast<HFONT>(m_defaultFont.Get());
}

HFONT SkinPainter::FontForText(HDC dc, int index, const std::wstring& text) {
  HFONT primary = FontFor(index);
  bool plain = true;
  for (wchar_t c : text) plain = plain && c < 0x80;
  if (plain || HasAllGlyphs(dc, primary, text)) return primary;
  const bool known = index >= 0 && index < static_cast<int>(m_fontDescriptions.size());
  const Font wanted =
      known ? m_fontDescriptions[index] : Font{"", kDefaultLabelFontSize, true, false};
  const int key = known ? index : kDefaultFontIndex;
  for (int face = 0; face < static_cast<int>(sizeof(kFallbackFaces) / sizeof(kFallbackFaces[0]));
       ++face) {
    GdiObject& font = m_fallbacks[{key, face}];
    if (!font.Get()) {
      font = GdiObject(MakeFont(kFallbackFaces[face], wanted.size, wanted.bold, wanted.italic));
    }
    if (font.Get() && HasAllGlyphs(dc, static_cast<HFONT>(font.Get()), text)) {
      return static_cast<HFONT>(font.Get());
    }
  }
  return primary;
}

void SkinPainter::PaintElement(HDC dc, const SkinModel& model, int index, Face face) {
  const Element& element = model.elements[index];
  const Rect clip = model.VisibleRect(index);
  if (clip.IsEmpty()) return;
  const std::vector<DrawOp>* ops = &element.faces[static_cast<int>(face)];
  // A button without its own hover or pressed drawing keeps its normal face.
  if (ops->empty()) ops = &element.faces[0];
  if (ops->empty()) return;
  const Rect& origin = element.anchorDesign ? element.design : element.current;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.left + clip.width, clip.top + clip.height);
  for (const DrawOp& op : *ops) PaintOp(dc, model, op, origin.left, origin.top);
  RestoreDC(dc, saved);
}

void SkinPainter::PaintOp(HDC dc, const SkinModel& model, const DrawOp& op, int dx, int dy) {
  const RECT r = ToRect(op.rect, dx, dy);
  switch (op.kind) {
    case DrawKind::kFill:
      Fill(dc, r, op.fill);
      break;
    case DrawKind::kGradient: {
      if (op.rect.IsEmpty()) break;
      TRIVERTEX vertices[2] = {};
      vertices[0].x = r.left;
      vertices[0].y = r.top;
      vertices[0].Red = static_cast<COLOR16>(op.fill.r << 8);
      vertices[0].Green = static_cast<COLOR16>(op.fill.g << 8);
      vertices[0].Blue = static_cast<COLOR16>(op.fill.b << 8);
      vertices[1].x = r.right;
      vertices[1].y = r.bottom;
      vertices[1].Red = static_cast<COLOR16>(op.stroke.r << 8);
      vertices[1].Green = static_cast<COLOR16>(op.stroke.g << 8);
      vertices[1].Blue = static_cast<COLOR16>(op.stroke.b << 8);
      GRADIENT_RECT index = {0, 1};
      GradientFill(dc, vertices, 2, &index, 1,
                   op.vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
      break;
    }
    case DrawKind::kFrame: {
      const int t = op.thickness;
      Fill(dc, RECT{r.left, r.top, r.right, r.top + t}, op.stroke);
      Fill(dc, RECT{r.left, r.bottom - t, r.right, r.bottom}, op.stroke);
      Fill(dc, RECT{r.left, r.top + t, r.left + t, r.bottom - t}, op.stroke);
      Fill(dc, RECT{r.right - t, r.top + t, r.right, r.bottom - t}, op.stroke);
      break;
    }
    case DrawKind::kRound: {
      PenAndBrush tools(dc, op.fill, op.stroke, 1);
      RoundRect(dc, r.left, r.top, r.right + tools.Grow(), r.bottom + tools.Grow(), op.radius * 2,
                op.radius * 2);
      break;
    }
    case DrawKind::kEllipse: {
      PenAndBrush tools(dc, op.fill, op.stroke, 1);
      Ellipse(dc, r.left, r.top, r.right + tools.Grow(), r.bottom + tools.Grow());
      break;
    }
    case DrawKind::kLine: {
      PenAndBrush tools(dc, Color{}, op.stroke, op.thickness);
      MoveToEx(dc, op.points[0] + dx, op.points[1] + dy, nullptr);
      LineTo(dc, op.points[2] + dx, op.points[3] + dy);
      break;
    }
    case DrawKind::kPolygon: {
      std::vector<POINT> points;
      for (std::size_t i = 0; i + 1 < op.points.size(); i += 2) {
        points.push_back(POINT{op.points[i] + dx, op.points[i + 1] + dy});
      }
      PenAndBrush tools(dc, op.fill, op.stroke, 1);
      const int oldMode = SetPolyFillMode(dc, WINDING);
      Polygon(dc, points.data(), static_cast<int>(points.size()));
      SetPolyFillMode(dc, oldMode);
      break;
    }
    case DrawKind::kText: {
      if (op.fill.IsNone()) break;
      const std::wstring text = Widen(op.text);
      HGDIOBJ oldFont = SelectObject(dc, FontForText(dc, op.font, text));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, Ref(op.fill));
      RECT box = r;
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                AlignFlags(op.align) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
      SelectObject(dc, oldFont);
      break;
    }
    case DrawKind::kBevel:
      Fill(dc, RECT{r.left, r.top, r.right, r.top + 1}, op.fill);
      Fill(dc, RECT{r.left, r.top + 1, r.left + 1, r.bottom}, op.fill);
      Fill(dc, RECT{r.left + 1, r.bottom - 1, r.right, r.bottom}, op.stroke);
      Fill(dc, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, op.stroke);
      break;
    case DrawKind::kImage: {
      if (op.image < 0 || op.image >= static_cast<int>(model.images.size())) break;
      const Image& image = model.images[op.image];
      for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
          const Color& c = image.pixels[y * image.width + x];
          const int left = r.left + x * op.scale;
          const int top = r.top + y * op.scale;
          Fill(dc, RECT{left, top, left + op.scale, top + op.scale}, c);
        }
      }
      break;
    }
  }
}

void SkinPainter::PaintLabelText(HDC dc, const SkinModel& model, int element, const RECT& where,
                                 const std::wstring& text) {
  if (text.empty()) return;
  LabelStyle style;
  if (model.IsValidIndex(element)) style = model.elements[element].label;
  if (style.ink.IsNone()) return;
  HGDIOBJ oldFont = SelectObject(dc, FontForText(dc, style.font, text));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Ref(style.ink));
  RECT box = where;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            AlignFlags(style.align) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);
}

}  // namespace brontel::skin
