#include "settings/sheet_font_win.h"

namespace brontel {
namespace {

// A menu or class field: none (one zero word), an ordinal (0xFFFF and a
// word) or a string.
const WORD* SkipNameOrOrdinal(const WORD* field) {
  if (*field == 0x0000) return field + 1;
  if (*field == 0xFFFF) return field + 2;
  while (*field != 0) ++field;
  return field + 1;
}

const WORD* SkipString(const WORD* text) {
  while (*text != 0) ++text;
  return text + 1;
}

// The point-size word of a template that sets a font, else null.
WORD* FontSizeField(void* dialogTemplate) {
  auto* words = static_cast<WORD*>(dialogTemplate);
  DWORD style = 0;
  const WORD* field = nullptr;
  if (words[0] == 1 && words[1] == 0xFFFF) {
    // DLGTEMPLATEEX: version, signature, help id, extended style, style,
    // item count, x, y, cx, cy.
    const auto* bytes = reinterpret_cast<const BYTE*>(words);
    CopyMemory(&style, bytes + 12, sizeof(style));
    field = reinterpret_cast<const WORD*>(bytes + 26);
  } else {
    const auto* plain = static_cast<const DLGTEMPLATE*>(dialogTemplate);
    style = plain->style;
    field = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(plain) + 18);
  }
  if ((style & DS_SETFONT) == 0) return nullptr;
  field = SkipNameOrOrdinal(field);  // menu
  field = SkipNameOrOrdinal(field);  // class
  field = SkipString(field);         // title
  return const_cast<WORD*>(field);
}

}  // namespace

WORD DialogFontSize(HINSTANCE resources, int templateId) {
  HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(resources, found) : nullptr;
  void* data = loaded ? LockResource(loaded) : nullptr;
  if (data == nullptr) return 0;
  const WORD* size = FontSizeField(data);
  return size ? *size : 0;
}

bool SetDialogFontSize(void* dialogTemplate, WORD pointSize) {
  WORD* size = FontSizeField(dialogTemplate);
  if (size == nullptr) return false;
  *size = pointSize;
  return true;
}

}  // namespace brontel
