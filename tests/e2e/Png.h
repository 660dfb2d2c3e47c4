#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A PNG file of an RGB image, rows top first, 3 bytes a pixel. Compression is plain (runs only), which
// suits flat window screenshots.
std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);
