#pragma once
// PNG files of 24-bit pictures, encoded with libpng and written through the program's one atomic writer.

#include <cstddef>
#include <cstdint>
#include <string>

namespace pw {

// A 24-bit picture in memory: rows of red, green, blue bytes, top row first, `stride` bytes apart.
struct Rgb24Picture {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
};

// The PNG file of picture: 8 bits per channel, RGB, no alpha, not interlaced. Throws
// std::runtime_error with libpng's text when the picture cannot be encoded (an empty one, for instance).
std::string EncodePng(const Rgb24Picture& picture);

// Encodes picture and replaces the file at path (native bytes) with it atomically. Throws
// std::runtime_error("Cannot create file "%s". %s") when it cannot be encoded or written; the file at
// path is then unchanged.
void WritePngFile(const std::string& path, const Rgb24Picture& picture);

} // namespace pw
