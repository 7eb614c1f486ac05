#pragma once
// Where printed text stands, window-free so that it is tested natively.

namespace tollwick {

// x of a text of textWidth centred across width, the quotient truncated toward zero.
int CentredX(int width, int textWidth);

}  // namespace tollwick
