#include "skin/skin_model.h"

#include <algorithm>

namespace brontel::skin {
namespace {

Rect Intersect(const Rect& a, const Rect& b) {
  const int left = std::max(a.left, b.left);
  const int top = std::max(a.top, b.top);
  const int right = std::min(a.left + a.width, b.left + b.width);
  const int bottom = std::min(a.top + a.height, b.top + b.height);
  if (right <= left || bottom <= top) return Rect{left, top, 0, 0};
  return Rect{left, top, right - left, bottom - top};
}

}  // namespace

int SkinModel::Find(const std::string& name) const {
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (elements[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

bool SkinModel::IsVisible(int index) const {
  if (!IsValidIndex(index) || elements[index].kind == ElementKind::kRegion) return false;
  // Parents always come earlier in the file, so this walk ends.
  for (int i = index; i >= 0; i = elements[i].parent) {
    if (elements[i].current.IsEmpty()) return false;
  }
  return true;
}

Rect SkinModel::VisibleRect(int index) const {
  if (!IsValidIndex(index)) return Rect{};
  Rect rect = elements[index].current;
  for (int p = elements[index].parent; p >= 0; p = elements[p].parent) {
    rect = Intersect(rect, elements[p].current);
  }
  return rect;
}

int SkinModel::HitTest(int x, int y) const {
  for (int i = static_cast<int>(elements.size()) - 1; i >= 0; --i) {
    const ElementKind kind = elements[i].kind;
    if (kind != ElementKind::kPanel && kind != ElementKind::kButton &&
        kind != ElementKind::kOverlay) {
      continue;
    }
    if (IsVisible(i) && VisibleRect(i).Contains(x, y)) return i;
  }
  return -1;
}

Rect SkinModel::Bounds() const {
  if (width > 0 && height > 0) return Rect{0, 0, width, height};
  int right = 0;
  int bottom = 0;
  for (const Element& element : elements) {
    right = std::max(right, element.design.left + element.design.width);
    bottom = std::max(bottom, element.design.top + element.design.height);
  }
  return Rect{0, 0, right, bottom};
}

void SkinModel::ResetRects() {
  for (Element& element : elements) element.current = element.design;
}

const char* KindName(ElementKind kind) {
  switch (kind) {
    case ElementKind::kPanel:
      return "panel";
    case ElementKind::kIndicator:
      return "indicator";
    case ElementKind::kButton:
      return "button";
    case ElementKind::kOverlay:
      return "overlay";
    case ElementKind::kLabel:
      return "label";
    case ElementKind::kRegion:
      return "region";
  }
  return "?";
}

const char* FaceName(Face face) {
  switch (face) {
    case Face::kNormal:
      return "normal";
    case Face::kHover:
      return "hover";
    case Face::kPressed:
      return "pressed";
  }
  return "?";
}

std::string DescribeElement(const SkinModel& model, int index, Face face) {
  if (!model.IsValidIndex(index)) return "(no element)";
  const Element& element = model.elements[index];
  const Rect& r = element.current;
  std::string text = element.name + " " + KindName(element.kind) + " " +
                     (model.IsVisible(index) ? "shown " : "hidden ") + std::to_string(r.left) +
                     "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
                     std::to_string(r.height) + " face=" + FaceName(face);
  if (element.action != 0) text += " action=" + std::to_string(element.action);
  if (element.press != 0) text += " press=" + std::to_string(element.press);
  if (element.release != 0) text += " release=" + std::to_string(element.release);
  return text;
}

}  // namespace brontel::skin
