#pragma once
// GDI drawing of a skin model. Owns the fonts the skin names.

#include "win32/windows_include.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "skin/skin_model.h"
#include "win32/handles.h"
#include "win32/text_convert.h"

namespace brontel::skin {

// The skin's bitmaps, pens, brushes and fonts.
using GdiObject = UniqueGdi<HGDIOBJ>;

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
