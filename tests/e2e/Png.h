#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// Writes a PNG file of an image whose pixels are 0x00RRGGBB, rows top first, with Windows Imaging Component;
// false when it could not.
bool WritePng(const std::filesystem::path& path, int width, int height,
              const std::vector<std::uint32_t>& pixels);
