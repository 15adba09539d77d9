#pragma once
// GDI drawing of a skin model. Owns the fonts the skin names.

#include "win32/windows_include.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "skin/skin_model.h"

namespace brontel::skin {

// One move-only owner for a GDI object.
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(HGDIOBJ object) : m_object(object) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      m_object = other.m_object;
      other.m_object = nullptr;
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ get() const { return m_object; }
  void Reset() {
    if (m_object) DeleteObject(m_object);
    m_object = nullptr;
  }

 private:
  HGDIOBJ m_object = nullptr;
};

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

class SkinPainter {
 public:
  // Builds the fonts of `model`; call again after a new skin is loaded.
  void Prepare(const SkinModel& model);

  // Draws every visible element into `dc` (client coordinates), each with
  // the face `FaceOf` gives it.
  template <typename FaceOf>
  void Paint(HDC dc, const SkinModel& model, FaceOf faceOf) {
    for (int i = 0; i < static_cast<int>(model.elements.size()); ++i) {
      if (!model.IsVisible(i)) continue;
      PaintElement(dc, model, i, faceOf(i));
    }
  }

  // Draws `text` into the label element's current rectangle, in its style.
  void PaintLabelText(HDC dc, const SkinModel& model, int element, const RECT& where,
                      const std::wstring& text);

 private:
  void PaintElement(HDC dc, const SkinModel& model, int index, Face face);
  void PaintOp(HDC dc, const SkinModel& model, const DrawOp& op, int dx, int dy);
  HFONT FontFor(int index);
  // The skin's font, or a same-sized font of another family when the skin's
  // lacks characters of `text` (Japanese names, for instance).
  HFONT FontForText(HDC dc, int index, const std::wstring& text);

  std::vector<GdiObject> m_fonts;
  std::vector<Font> m_fontDescriptions;
  GdiObject m_defaultFont;
  std::map<std::pair<int, int>, GdiObject> m_fallbacks;  // (font, family) -> font
};

}  // namespace brontel::skin
