#include "platform/print_geometry.h"

namespace tollwick {

int CentredX(int width, int textWidth) { return (width - textWidth) / 2; }

}  // namespace tollwick
