// A number as the window shows it, for decisions that must agree with what the user reads.
#pragma once

namespace conversion {

// The value rounded to the three decimals it is shown with; NaN where it cannot be written.
double ShownValue(double value);

}  // namespace conversion
