#include "skin/skin_parser.h"

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace brontel::skin {
namespace {

constexpr const char* kMagic = "brontel-skin";
constexpr int kVersion = 1;
constexpr int kMaxCoordinate = 10000;
constexpr int kMaxElements = 2048;
constexpr int kMaxNameLength = 64;
constexpr int kMinFontSize = 4;
constexpr int kMaxFontSize = 200;
constexpr int kMaxThickness = 50;
constexpr int kMaxScale = 16;
constexpr int kMaxImageSide = 256;
constexpr int kMaxPolygonPoints = 256;
constexpr std::int32_t kMaxActionCode = 0x7FFFFFFF;

struct Token {
  std::string text;
  bool quoted = false;
};

// Thrown inside the parser only; ParseSkin turns it into a SkinError.
struct Fault {
  int line;
  std::string message;
};

bool IsValidUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = 0;
    std::uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static const std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

class Parser {
 public:
  explicit Parser(SkinModel* model) : m_model(*model) {}

  void Run(std::string_view text) {
    if (text.size() > kMaxSkinFileBytes) {
      throw Fault{0, "the file is larger than " + std::to_string(kMaxSkinFileBytes) + " bytes"};
    }
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string line(text.substr(start, end - start));
      if (!line.empty() && line.back() == '\r') line.pop_back();
      ++lineNumber;
      m_line = lineNumber;
      if (line.find('\0') != std::string::npos) Fail("the line holds a NUL character");
      if (!IsValidUtf8(line)) Fail("the line is not valid UTF-8 text");
      HandleLine(Tokenize(line));
      if (end == text.size()) break;
      start = end + 1;
    }
    Finish(lineNumber);
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const { throw Fault{m_line, message}; }

  std::vector<Token> Tokenize(const std::string& line) const {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
      const char c = line[i];
      if (c == ' ' || c == '\t') {
        ++i;
        continue;
      }
      if (c == '"') {
        Token token;
        token.quoted = true;
        ++i;
        bool closed = false;
        while (i < line.size()) {
          if (line[i] == '\\' && i + 1 < line.size() &&
              (line[i + 1] == '"' || line[i + 1] == '\\')) {
            token.text += line[i + 1];
            i += 2;
          } else if (line[i] == '"') {
            closed = true;
            ++i;
            break;
          } else {
            token.text += line[i++];
          }
        }
        if (!closed) Fail("a quoted text is not closed with '\"'");
        tokens.push_back(std::move(token));
        continue;
      }
      std::size_t end = i;
      while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '"') ++end;
      Token token{line.substr(i, end - i), false};
      // "#" at the start of a line, or standing alone, starts a comment.
      if (token.text[0] == '#' && (tokens.empty() || token.text == "#")) break;
      tokens.push_back(std::move(token));
      i = end;
    }
    return tokens;
  }

  void Expect(const std::vector<Token>& t, std::size_t minimum, std::size_t maximum,
              const char* usage) const {
    if (t.size() < minimum || t.size() > maximum) {
      Fail("'" + t[0].text + "' expects: " + usage);
    }
  }

  int Integer(const Token& token, int minimum, int maximum, const char* what) const {
    const std::string& s = token.text;
    std::size_t i = 0;
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
      negative = s[0] == '-';
      i = 1;
    }
    if (token.quoted || i == s.size()) Fail(std::string(what) + " '" + s + "' is not a number");
    long long value = 0;
    for (; i < s.size(); ++i) {
      if (s[i] < '0' || s[i] > '9') Fail(std::string(what) + " '" + s + "' is not a number");
      value = value * 10 + (s[i] - '0');
      if (value > 1LL << 40) break;
    }
    if (negative) value = -value;
    if (value < minimum || value > maximum) {
      Fail(std::string(what) + " " + s + " is outside " + std::to_string(minimum) + " to " +
           std::to_string(maximum));
    }
    return static_cast<int>(value);
  }

  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  std::optional<Color> HexColor(const std::string& s) const {
    if (s.size() != 7 && s.size() != 9) return std::nullopt;
    std::uint8_t parts[4] = {0, 0, 0, 255};
    for (std::size_t k = 0; k + 1 < s.size(); k += 2) {
      const int high = HexDigit(s[k + 1]);
      const int low = HexDigit(s[k + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      parts[k / 2] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return Color{parts[0], parts[1], parts[2], parts[3]};
  }

  Color ColorArg(const Token& token) const {
    const std::string& s = token.text;
    if (!token.quoted) {
      if (s == "none") return Color{};
      if (!s.empty() && s[0] == '#') {
        if (auto color = HexColor(s)) return *color;
        Fail("colour '" + s + "' is not #RRGGBB or #RRGGBBAA");
      }
      auto it = m_colors.find(s);
      if (it != m_colors.end()) return it->second;
    }
    Fail("unknown colour '" + s + "' (define it with 'color' first)");
  }

  int FontArg(const Token& token) const {
    auto it = m_fonts.find(token.text);
    if (token.quoted || it == m_fonts.end()) {
      Fail("unknown font '" + token.text + "' (define it with 'font' first)");
    }
    return it->second;
  }

  Align AlignArg(const Token& token) const {
    if (token.text == "left") return Align::kLeft;
    if (token.text == "center") return Align::kCenter;
    if (token.text == "right") return Align::kRight;
    Fail("alignment '" + token.text + "' is not left, center or right");
  }

  std::string NameArg(const Token& token, const char* what) const {
    if (token.text.empty() || static_cast<int>(token.text.size()) > kMaxNameLength) {
      Fail(std::string(what) + " must have 1 to " + std::to_string(kMaxNameLength) + " characters");
    }
    return token.text;
  }

  Rect RectArgs(const std::vector<Token>& t, std::size_t first) const {
    Rect rect;
    rect.left = Integer(t[first], -kMaxCoordinate, kMaxCoordinate, "x");
    rect.top = Integer(t[first + 1], -kMaxCoordinate, kMaxCoordinate, "y");
    rect.width = Integer(t[first + 2], 0, kMaxCoordinate, "width");
    rect.height = Integer(t[first + 3], 0, kMaxCoordinate, "height");
    return rect;
  }

  void HandleLine(const std::vector<Token>& t) {
    if (t.empty()) return;
    const std::string& word = t[0].text;
    if (t[0].quoted) Fail("a line must start with a keyword, not a quoted text");
    if (!m_sawHeader) {
      if (word != kMagic || t.size() != 2) {
        Fail("the first line must be 'brontel-skin 1'");
      }
      if (Integer(t[1], 0, 1000, "version") != kVersion) {
        Fail("skin version " + t[1].text + " is not supported (this engine reads version 1)");
      }
      m_sawHeader = true;
      return;
    }
    if (m_imageOpen && word != "row") CloseImage();
    if (word == "row") return Row(t);
    if (word == "title") return Title(t);
    if (word == "size") return Size(t);
    if (word == "color") return ColorDef(t);
    if (word == "font") return FontDef(t);
    if (word == "key") return KeyDef(t);
    if (word == "define") return Define(t);
    if (word == "end") return End(t);
    if (word == "element") return ElementLine(t);
    if (word == "parent" || word == "action" || word == "press" || word == "release" ||
        word == "anchor" || word == "drag" || word == "style" || word == "face") {
      return Attribute(t);
    }
    return DrawLine(t);
  }

  void Title(const std::vector<Token>& t) {
    Expect(t, 2, 2, "title \"text\"");
    m_model.title = t[1].text;
  }

  void Size(const std::vector<Token>& t) {
    Expect(t, 3, 3, "size WIDTH HEIGHT");
    m_model.width = Integer(t[1], 1, kMaxCoordinate, "width");
    m_model.height = Integer(t[2], 1, kMaxCoordinate, "height");
  }

  void ColorDef(const std::vector<Token>& t) {
    Expect(t, 3, 3, "color NAME #RRGGBB");
    const std::string name = NameArg(t[1], "a colour name");
    if (name == "none" || name[0] == '#') Fail("'" + name + "' cannot name a colour");
    if (m_colors.count(name)) Fail("colour '" + name + "' is defined twice");
    m_colors[name] = ColorArg(t[2]);
  }

  void FontDef(const std::vector<Token>& t) {
    Expect(t, 4, 6, "font NAME \"Family\" SIZE [bold] [italic]");
    const std::string name = NameArg(t[1], "a font name");
    if (m_fonts.count(name)) Fail("font '" + name + "' is defined twice");
    Font font;
    font.face = t[2].text;
    if (font.face.empty() || font.face.size() > 31) Fail("a font family needs 1 to 31 characters");
    font.size = Integer(t[3], kMinFontSize, kMaxFontSize, "font size");
    for (std::size_t i = 4; i < t.size(); ++i) {
      if (t[i].text == "bold") {
        font.bold = true;
      } else if (t[i].text == "italic") {
        font.italic = true;
      } else {
        Fail("font style '" + t[i].text + "' is not bold or italic");
      }
    }
    m_fonts[name] = static_cast<int>(m_model.fonts.size());
    m_model.fonts.push_back(font);
  }

  void KeyDef(const std::vector<Token>& t) {
    Expect(t, 3, 3, "key CHARACTER COLOUR");
    if (t[1].text.size() != 1 || t[1].text == "." || t[1].text == "\"" ||
        static_cast<unsigned char>(t[1].text[0]) >= 0x80) {
      Fail("an image key is one ASCII character other than '.'");
    }
    m_keys[t[1].text[0]] = ColorArg(t[2]);
  }

  void Define(const std::vector<Token>& t) {
    Expect(t, 2, 2, "define NAME");
    if (m_define) Fail("'define' inside another 'define' (close it with 'end' first)");
    const std::string name = NameArg(t[1], "a drawing name");
    if (m_defines.count(name)) Fail("drawing '" + name + "' is defined twice");
    CheckElementDone();
    m_element = -1;
    m_defines[name];
    m_define = &m_defines[name];
    m_defineName = name;
    m_defineLine = m_line;
    m_ops = m_define;
  }

  void End(const std::vector<Token>& t) {
    Expect(t, 1, 1, "end");
    if (!m_define) Fail("'end' without 'define'");
    m_define = nullptr;
    m_ops = nullptr;
  }

  void ElementLine(const std::vector<Token>& t) {
    Expect(t, 7, 7, "element NAME KIND X Y WIDTH HEIGHT");
    if (m_define) Fail("'element' inside 'define " + m_defineName + "' (close it with 'end')");
    CheckElementDone();
    if (static_cast<int>(m_model.elements.size()) >= kMaxElements) {
      Fail("a skin holds at most " + std::to_string(kMaxElements) + " elements");
    }
    Element element;
    element.name = NameArg(t[1], "an element name");
    const int existing = m_model.Find(element.name);
    if (existing >= 0) {
      Fail("element '" + element.name + "' is defined twice (first on line " +
           std::to_string(m_model.elements[existing].line) + ")");
    }
    static const std::pair<const char*, ElementKind> kKinds[] = {
        {"panel", ElementKind::kPanel},   {"indicator", ElementKind::kIndicator},
        {"button", ElementKind::kButton}, {"overlay", ElementKind::kOverlay},
        {"label", ElementKind::kLabel},   {"region", ElementKind::kRegion}};
    bool known = false;
    for (const auto& [name, kind] : kKinds) {
      if (t[2].text == name) {
        element.kind = kind;
        known = true;
      }
    }
    if (!known) {
      Fail("element kind '" + t[2].text +
           "' is not panel, indicator, button, overlay, label or region");
    }
    element.design = RectArgs(t, 3);
    element.current = element.design;
    element.line = m_line;
    m_model.elements.push_back(std::move(element));
    m_element = static_cast<int>(m_model.elements.size()) - 1;
    m_faceSeen = {true, false, false};
    m_ops = &m_model.elements.back().faces[0];
  }

  Element& CurrentElement(const std::string& word) {
    if (m_element < 0) Fail("'" + word + "' must follow an 'element' line");
    return m_model.elements[m_element];
  }

  std::int32_t Code(const Token& token) const {
    return Integer(token, 1, kMaxActionCode, "action code");
  }

  void Attribute(const std::vector<Token>& t) {
    const std::string& word = t[0].text;
    Element& element = CurrentElement(word);
    const bool button = element.kind == ElementKind::kButton;
    if (word == "parent") {
      Expect(t, 2, 2, "parent ELEMENT");
      const int parent = m_model.Find(t[1].text);
      if (parent < 0 || parent == m_element) {
        Fail("parent '" + t[1].text + "' is not an element defined above");
      }
      element.parent = parent;
    } else if (word == "action" || word == "press" || word == "release") {
      Expect(t, 2, 2, "action|press|release CODE");
      if (!button) Fail("'" + word + "' is only for buttons");
      std::int32_t& slot = word == "action"  ? element.action
                           : word == "press" ? element.press
                                             : element.release;
      slot = Code(t[1]);
    } else if (word == "anchor") {
      Expect(t, 2, 2, "anchor design|element");
      if (t[1].text == "design") {
        element.anchorDesign = true;
      } else if (t[1].text == "element") {
        element.anchorDesign = false;
      } else {
        Fail("anchor '" + t[1].text + "' is not design or element");
      }
    } else if (word == "drag") {
      Expect(t, 1, 1, "drag");
      if (element.kind != ElementKind::kPanel) Fail("'drag' is only for panels");
      element.drag = true;
    } else if (word == "style") {
      Expect(t, 4, 4, "style FONT COLOUR left|center|right");
      if (element.kind != ElementKind::kLabel) Fail("'style' is only for labels");
      element.label.font = FontArg(t[1]);
      element.label.ink = ColorArg(t[2]);
      element.label.align = AlignArg(t[3]);
    } else {  // face
      Expect(t, 2, 2, "face normal|hover|pressed");
      int face = -1;
      if (t[1].text == "normal") face = 0;
      if (t[1].text == "hover") face = 1;
      if (t[1].text == "pressed") face = 2;
      if (face < 0) Fail("face '" + t[1].text + "' is not normal, hover or pressed");
      if (face > 0 && !button) Fail("only buttons have hover and pressed faces");
      if (face > 0 && m_faceSeen[face]) Fail("face '" + t[1].text + "' is given twice");
      m_faceSeen[face] = true;
      m_ops = &element.faces[face];
    }
  }

  void CheckElementDone() {
    if (m_element < 0) return;
    const Element& element = m_model.elements[m_element];
    const int saved = m_line;
    m_line = element.line;
    if (element.kind == ElementKind::kButton) {
      if (element.action == 0 && element.press == 0 && element.release == 0) {
        Fail("button '" + element.name + "' has no action, press or release code");
      }
      if ((element.press != 0) != (element.release != 0)) {
        Fail("button '" + element.name + "' needs both 'press' and 'release', or neither");
      }
    }
    m_line = saved;
  }

  std::vector<DrawOp>& Ops(const std::string& word) {
    if (!m_ops) Fail("'" + word + "' must be inside an element or a 'define'");
    if (m_element >= 0 && m_model.elements[m_element].kind == ElementKind::kRegion) {
      Fail("regions are never drawn, so '" + word + "' has no place here");
    }
    return *m_ops;
  }

  void DrawLine(const std::vector<Token>& t) {
    const std::string& word = t[0].text;
    DrawOp op;
    op.line = m_line;
    if (word == "fill") {
      Expect(t, 6, 6, "fill X Y W H COLOUR");
      op.kind = DrawKind::kFill;
      op.rect = RectArgs(t, 1);
      op.fill = ColorArg(t[5]);
    } else if (word == "gradient") {
      Expect(t, 8, 8, "gradient X Y W H vertical|horizontal FROM TO");
      op.kind = DrawKind::kGradient;
      op.rect = RectArgs(t, 1);
      if (t[5].text != "vertical" && t[5].text != "horizontal") {
        Fail("gradient direction '" + t[5].text + "' is not vertical or horizontal");
      }
      op.vertical = t[5].text == "vertical";
      op.fill = ColorArg(t[6]);
      op.stroke = ColorArg(t[7]);
    } else if (word == "frame") {
      Expect(t, 6, 7, "frame X Y W H COLOUR [THICKNESS]");
      op.kind = DrawKind::kFrame;
      op.rect = RectArgs(t, 1);
      op.stroke = ColorArg(t[5]);
      if (t.size() == 7) op.thickness = Integer(t[6], 1, kMaxThickness, "thickness");
    } else if (word == "round") {
      Expect(t, 8, 8, "round X Y W H RADIUS FILL OUTLINE");
      op.kind = DrawKind::kRound;
      op.rect = RectArgs(t, 1);
      op.radius = Integer(t[5], 0, kMaxCoordinate, "radius");
      op.fill = ColorArg(t[6]);
      op.stroke = ColorArg(t[7]);
    } else if (word == "ellipse") {
      Expect(t, 7, 7, "ellipse X Y W H FILL OUTLINE");
      op.kind = DrawKind::kEllipse;
      op.rect = RectArgs(t, 1);
      op.fill = ColorArg(t[5]);
      op.stroke = ColorArg(t[6]);
    } else if (word == "line") {
      Expect(t, 6, 7, "line X1 Y1 X2 Y2 COLOUR [THICKNESS]");
      op.kind = DrawKind::kLine;
      for (int i = 1; i <= 4; ++i) {
        op.points.push_back(Integer(t[i], -kMaxCoordinate, kMaxCoordinate, "coordinate"));
      }
      op.stroke = ColorArg(t[5]);
      if (t.size() == 7) op.thickness = Integer(t[6], 1, kMaxThickness, "thickness");
    } else if (word == "poly") {
      if (t.size() < 9 || (t.size() - 3) % 2 != 0) {
        Fail("'poly' expects: poly FILL OUTLINE X1 Y1 X2 Y2 X3 Y3 [...] (at least three points)");
      }
      if ((t.size() - 3) / 2 > static_cast<std::size_t>(kMaxPolygonPoints)) {
        Fail("a polygon has at most " + std::to_string(kMaxPolygonPoints) + " points");
      }
      op.kind = DrawKind::kPolygon;
      op.fill = ColorArg(t[1]);
      op.stroke = ColorArg(t[2]);
      for (std::size_t i = 3; i < t.size(); ++i) {
        op.points.push_back(Integer(t[i], -kMaxCoordinate, kMaxCoordinate, "coordinate"));
      }
    } else if (word == "text") {
      Expect(t, 9, 9, "text X Y W H FONT COLOUR left|center|right \"TEXT\"");
      op.kind = DrawKind::kText;
      op.rect = RectArgs(t, 1);
      op.font = FontArg(t[5]);
      op.fill = ColorArg(t[6]);
      op.align = AlignArg(t[7]);
      op.text = t[8].text;
    } else if (word == "bevel") {
      Expect(t, 7, 7, "bevel X Y W H LIGHT DARK");
      op.kind = DrawKind::kBevel;
      op.rect = RectArgs(t, 1);
      op.fill = ColorArg(t[5]);
      op.stroke = ColorArg(t[6]);
    } else if (word == "image") {
      Expect(t, 4, 4, "image X Y SCALE, then one 'row' line per pixel row");
      op.kind = DrawKind::kImage;
      op.rect.left = Integer(t[1], -kMaxCoordinate, kMaxCoordinate, "x");
      op.rect.top = Integer(t[2], -kMaxCoordinate, kMaxCoordinate, "y");
      op.scale = Integer(t[3], 1, kMaxScale, "scale");
      op.image = static_cast<int>(m_model.images.size());
      m_model.images.emplace_back();
      Ops(word).push_back(op);
      m_imageOpen = true;
      m_imageLine = m_line;
      return;
    } else if (word == "use") {
      Expect(t, 4, 4, "use DRAWING X Y");
      auto it = m_defines.find(t[1].text);
      if (it == m_defines.end() || &it->second == m_define) {
        Fail("unknown drawing '" + t[1].text + "' (define it above with 'define')");
      }
      const int dx = Integer(t[2], -kMaxCoordinate, kMaxCoordinate, "x");
      const int dy = Integer(t[3], -kMaxCoordinate, kMaxCoordinate, "y");
      std::vector<DrawOp>& ops = Ops(word);
      for (DrawOp copy : it->second) {
        copy.rect.left += dx;
        copy.rect.top += dy;
        for (std::size_t i = 0; i + 1 < copy.points.size(); i += 2) {
          copy.points[i] += dx;
          copy.points[i + 1] += dy;
        }
        ops.push_back(std::move(copy));
      }
      return;
    } else {
      Fail("unknown keyword '" + word + "'");
    }
    Ops(word).push_back(std::move(op));
  }

  void Row(const std::vector<Token>& t) {
    Expect(t, 2, 2, "row \"PIXELS\"");
    if (!m_imageOpen) Fail("'row' must follow an 'image' line or another 'row'");
    Image& image = m_model.images.back();
    const std::string& pixels = t[1].text;
    if (pixels.empty() || static_cast<int>(pixels.size()) > kMaxImageSide) {
      Fail("an image row has 1 to " + std::to_string(kMaxImageSide) + " pixels");
    }
    if (image.height > 0 && static_cast<int>(pixels.size()) != image.width) {
      Fail("this row has " + std::to_string(pixels.size()) + " pixels, the image's first row " +
           std::to_string(image.width));
    }
    if (image.height >= kMaxImageSide) {
      Fail("an image has at most " + std::to_string(kMaxImageSide) + " rows");
    }
    for (char c : pixels) {
      if (c == '.') {
        image.pixels.push_back(Color{});
        continue;
      }
      auto it = m_keys.find(c);
      if (it == m_keys.end()) Fail(std::string("image key '") + c + "' is not defined by 'key'");
      image.pixels.push_back(it->second);
    }
    image.width = static_cast<int>(pixels.size());
    ++image.height;
  }

  void CloseImage() {
    m_imageOpen = false;
    Image& image = m_model.images.back();
    if (image.height == 0) {
      m_line = m_imageLine;
      Fail("'image' has no 'row' lines");
    }
    // The image instruction is the last one of the list it went into.
    DrawOp& op = m_ops->back();
    op.rect.width = image.width * op.scale;
    op.rect.height = image.height * op.scale;
  }

  void Finish(int lastLine) {
    m_line = lastLine;
    if (!m_sawHeader) Fail("the file is empty; the first line must be 'brontel-skin 1'");
    if (m_imageOpen) CloseImage();
    if (m_define) {
      m_line = m_defineLine;
      Fail("'define " + m_defineName + "' is not closed with 'end'");
    }
    CheckElementDone();
    if (m_model.elements.empty()) {
      m_line = lastLine;
      Fail("the skin has no elements");
    }
  }

  SkinModel& m_model;
  int m_line = 0;
  bool m_sawHeader = false;
  std::map<std::string, Color> m_colors;
  std::map<std::string, int> m_fonts;
  std::map<char, Color> m_keys;
  std::map<std::string, std::vector<DrawOp>> m_defines;
  std::vector<DrawOp>* m_define = nullptr;
  std::string m_defineName;
  int m_defineLine = 0;
  int m_element = -1;
  std::array<bool, kFaceCount> m_faceSeen{};
  std::vector<DrawOp>* m_ops = nullptr;
  bool m_imageOpen = false;
  int m_imageLine = 0;
};

}  // namespace

bool ParseSkin(std::string_view text, SkinModel* model, SkinError* error) {
  SkinModel parsed;
  try {
    Parser parser(&parsed);
    parser.Run(text);
  } catch (const Fault& fault) {
    if (error) *error = SkinError{fault.line, fault.message};
    return false;
  } catch (const std::bad_alloc&) {
    if (error) *error = SkinError{0, "out of memory while reading the skin"};
    return false;
  }
  *model = std::move(parsed);
  return true;
}

std::string FormatSkinError(const std::string& fileName, const SkinError& error) {
  if (error.line <= 0) return fileName + ": " + error.message;
  return fileName + "(" + std::to_string(error.line) + "): " + error.message;
}

}  // namespace brontel::skin
