#pragma once

#include <string>

#include "image/bank_image_decoder.h"

namespace tessara::image {

// A decoded configuration image for people (a table) and for scripts (JSON): the header offsets, every node
// with its selected bytes, and the parameter block with the baud rates by name.
std::string ImageTable(const DecodedImage& image);
std::string ImageJson(const DecodedImage& image);

}  // namespace tessara::image
