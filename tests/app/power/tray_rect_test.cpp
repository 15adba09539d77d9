#include <gtest/gtest.h>

#include "app/power/tray_rect.h"

namespace brontel::power {
namespace {

TEST(TrayWndRect, EachFallbackInTurn) {
  const Rect bar{0, 738, 1024, 768};
  const Rect notify{880, 740, 1020, 766};
  struct Case {
    const char* name;
    TaskbarFacts facts;
    Rect expected;
  };
  TaskbarFacts besideClock;
  besideClock.trayWindow = bar;
  besideClock.trayChildren = {{"Button", {0, 738, 60, 768}},
                              {"TrayNotifyWnd", notify},
                              {"TrayClockWClass", {970, 742, 1018, 764}},
                              {"TrayNotifyWnd", {0, 0, 1, 1}}};  // after the clock: not looked at
  TaskbarFacts clockBelow = besideClock;
  clockBelow.trayChildren[2].rect = {884, 742, 1018, 755};  // ends 11 px above
  TaskbarFacts buttonsOnly;                                 // as under Wine's virtual desktop
  buttonsOnly.trayWindow = bar;
  buttonsOnly.trayChildren = {{"Button", {0, 738, 60, 768}}};
  TaskbarFacts rightEdge;
  rightEdge.edge = TaskbarEdge::kRight;
  rightEdge.taskbar = {964, 0, 1024, 768};
  TaskbarFacts topEdge;
  topEdge.edge = TaskbarEdge::kTop;
  topEdge.taskbar = {0, 0, 1024, 30};
  TaskbarFacts none;
  none.workArea = {0, 0, 800, 600};
  const Case cases[] = {
      {"beside clock", besideClock, {880, 740, 970, 766}},
      {"clock below", clockBelow, {880, 755, 1020, 766}},
      {"buttons only", buttonsOnly, bar},
      {"right edge", rightEdge, {964, 668, 1024, 752}},
      {"top edge", topEdge, {924, 0, 1008, 30}},
      {"work area", none, {650, 570, 800, 600}},
  };
  for (const Case& c : cases) {
    const Rect r = TrayWndRect(c.facts);
    EXPECT_EQ(r, c.expected) << c.name << ": " << r.left << "," << r.top << "," << r.right << ","
                             << r.bottom;
  }
}

}  // namespace
}  // namespace brontel::power
