#pragma once

namespace zelvane {

// An angle in degrees brought into [0, 360) the way every turn of the program
// wraps: while above 359 subtract 360, then while below 0 add 360 (so 359.5
// stays, 720 becomes 0 and −30 becomes 330). Huge values are reduced first so
// that the loops end; infinities and NaN give 0.
float WrapDegrees(float degrees);

} // namespace zelvane
