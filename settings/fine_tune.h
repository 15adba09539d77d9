#pragma once
// The fine-tuning dialog's arithmetic: a slider position is a whole number
// of 50 kHz steps away from the channel's table frequency.

#include <cstdint>
#include <string>

namespace brontel {

constexpr int kFineTuneMinPosition = -120;
constexpr int kFineTuneMaxPosition = 120;
constexpr int kFineTuneTickEvery = 20;
constexpr std::int32_t kFineTuneStepHertz = 50000;

// The slider position of an offset in hertz: the nearest whole step, kept
// within the slider's range.
int FineTunePosition(std::int32_t offsetHertz);

// The offset of a position, in hertz.
std::int32_t FineTuneOffsetHertz(int position);

// The offset as dFreqOffset holds it, in MHz.
double FineTuneOffsetMegahertz(int position);

// One position down or up, stopping at the ends of the range.
int StepFineTune(int position, bool up);

// "%.3f" of hertz × 1e-6: the frequency column and the dialog's fields.
std::string MegahertzText(double hertz);

}  // namespace brontel
