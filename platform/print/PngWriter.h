#pragma once

// Inside the print layer: a painted picture's pixels written as a PNG quickly. Pictures are
// written at every step a journey or a demo reaches, so the encoder favours speed over the
// last bytes: each row filtered by its difference to the row above, and the runs that
// leaves written as back-references with deflate's fixed codes (zlib, opened as Cairo is
// on first use, gives the checksums). An opaque picture is written as RGB, one with any
// transparency as RGBA.

#include "platform/base/Error.h"

#include <cstdint>
#include <string>

namespace print::detail {

// Pixels as a Cairo image surface holds them: 32-bit native-endian premultiplied ARGB
// rows `stride` bytes apart. Fails with an error naming the file when it cannot be written.
base::Result<void> writePremultipliedARGB(const uint8_t* pixels, int width, int height, int stride, const std::string& path);

} // namespace print::detail
