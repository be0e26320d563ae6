#pragma once

#include "platform/ui/Font.h"

namespace lectoro {

// The reader's face at the size and weight, or the system face of the same size and weight
// while the reader's fonts are not registered.
ui::Font readerFont(double size, ui::FontWeight weight = ui::FontWeight::Regular);

} // namespace lectoro
