#pragma once
// The rectangle the minimise-to-tray animation aims at, from what the
// taskbar reveals about itself.

#include <optional>
#include <string>
#include <vector>

namespace brontel::power {

struct Rect {
  long left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct ChildWindow {
  std::string className;
  Rect rect;
};

enum class TaskbarEdge { kLeft, kTop, kRight, kBottom };

struct TaskbarFacts {
  // The "Shell_TrayWnd" window and its descendants in enumeration order.
  std::optional<Rect> trayWindow;
  std::vector<ChildWindow> trayChildren;
  // The shell's answer for the taskbar's position.
  std::optional<TaskbarEdge> edge;
  Rect taskbar;
  Rect workArea;
};

Rect TrayWndRect(const TaskbarFacts& facts);

}  // namespace brontel::power
