#include "app/power/tray_rect.h"

namespace brontel::power {
namespace {

// How far above the notification area's bottom a clock must end to sit on a
// row of its own (a tall taskbar) rather than beside the icons.
constexpr long kClockRowSlack = 5;
// The icons sit this far from the taskbar's far end when only its position is
// known.
constexpr long kIconsFarEdge = 100;
constexpr long kIconsNearEdge = 16;
// Without a taskbar: a small box in the work area's bottom-right corner.
constexpr long kCornerWidth = 150;
constexpr long kCornerHeight = 30;

Rect FromTrayWindow(const Rect& tray, const std::vector<ChildWindow>& children) {
  Rect rect = tray;
  for (const ChildWindow& child : children) {
    if (child.className == "TrayNotifyWnd") rect = child.rect;
    if (child.className == "TrayClockWClass") {
      if (child.rect.bottom < rect.bottom - kClockRowSlack) {
        rect.top = child.rect.bottom;
      } else {
        rect.right = child.rect.left;
      }
      break;
    }
  }
  return rect;
}

}  // namespace

Rect TrayWndRect(const TaskbarFacts& facts) {
  if (facts.trayWindow) return FromTrayWindow(*facts.trayWindow, facts.trayChildren);
  if (facts.edge) {
    Rect rect = facts.taskbar;
    if (*facts.edge == TaskbarEdge::kLeft || *facts.edge == TaskbarEdge::kRight) {
      rect.top = facts.taskbar.bottom - kIconsFarEdge;
      rect.bottom = facts.taskbar.bottom - kIconsNearEdge;
    } else {
      rect.left = facts.taskbar.right - kIconsFarEdge;
      rect.right = facts.taskbar.right - kIconsNearEdge;
    }
    return rect;
  }
  Rect rect = facts.workArea;
  rect.left = rect.right - kCornerWidth;
  rect.top = rect.bottom - kCornerHeight;
  return rect;
}

}  // namespace brontel::power
