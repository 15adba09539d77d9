#include "settings/fine_tune.h"

#include <algorithm>
#include <cstdio>

namespace brontel {

int FineTunePosition(std::int32_t offsetHertz) {
  // Rounded rather than truncated: an offset read back from its "%.3f"
  // text may lie a hertz below the step it was saved from.
  const std::int64_t hertz = offsetHertz;
  const std::int64_t half = kFineTuneStepHertz / 2;
  const std::int64_t steps =
      hertz >= 0 ? (hertz + half) / kFineTuneStepHertz : -((-hertz + half) / kFineTuneStepHertz);
  return static_cast<int>(
      std::clamp<std::int64_t>(steps, kFineTuneMinPosition, kFineTuneMaxPosition));
}

std::int32_t FineTuneOffsetHertz(int position) {
  return static_cast<std::int32_t>(
             std::clamp(position, kFineTuneMinPosition, kFineTuneMaxPosition)) *
         kFineTuneStepHertz;
}

double FineTuneOffsetMegahertz(int position) {
  return FineTuneOffsetHertz(position) / 1000000.0;
}

int StepFineTune(int position, bool up) {
  return std::clamp(position + (up ? 1 : -1), kFineTuneMinPosition, kFineTuneMaxPosition);
}

std::string MegahertzText(double hertz) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", hertz * 1e-6);
  return text;
}

}  // namespace brontel
