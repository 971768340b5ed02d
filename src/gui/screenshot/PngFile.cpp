#include "gui/screenshot/PngFile.h"

#include "core/data/FileIO.h"

#include <png.h>

#include <stdexcept>

namespace pw {

namespace {

// What the libpng callbacks need: the growing file, and the text of an error.
struct EncodeState {
    std::string bytes;
    std::string error;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* state = static_cast<EncodeState*>(png_get_io_ptr(png));
    state->bytes.append(reinterpret_cast<const char*>(data), length);
}

void FlushNothing(png_structp) {}

// libpng's errors end in a jump back to the encoder; the text is kept for its exception.
[[noreturn]] void KeepError(png_structp png, png_const_charp message) {
    auto* state = static_cast<EncodeState*>(png_get_error_ptr(png));
    state->error = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Owns libpng's structures on every way out of the encoder.
class WriteStruct {
public:
    explicit WriteStruct(EncodeState& state)
        : mPng(png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, KeepError, IgnoreWarning)) {
        if (mPng)
            mInfo = png_create_info_struct(mPng);
    }
    ~WriteStruct() { png_destroy_write_struct(&mPng, &mInfo); }
    WriteStruct(const WriteStruct&) = delete;
    WriteStruct& operator=(const WriteStruct&) = delete;
    png_structp Png() const { return mPng; }
    png_infop Info() const { return mInfo; }

private:
    png_structp mPng = nullptr;
    png_infop mInfo = nullptr;
};

// The libpng calls proper. Nothing here owns a resource, since an error jumps out of it.
bool Encode(const WriteStruct& write, const Rgb24Picture& picture) {
    png_structp png = write.Png();
    png_infop info = write.Info();
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, picture.pixels + static_cast<std::size_t>(y) * picture.stride);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::string EncodePng(const Rgb24Picture& picture) {
    EncodeState state;
    WriteStruct write(state);
    if (!write.Png() || !write.Info())
        throw std::runtime_error("Out of memory");
    png_set_write_fn(write.Png(), &state, AppendBytes, FlushNothing);
    if (!Encode(write, picture))
        throw std::runtime_error(state.error);
    return std::move(state.bytes);
}

void WritePngFile(const std::string& path, const Rgb24Picture& picture) {
    std::string bytes;
    try {
        bytes = EncodePng(picture);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(CannotCreateFileMessage(path, error.what()));
    }
    std::string reason;
    if (!WriteFileAtomic(path, bytes, &reason))
        throw std::runtime_error(CannotCreateFileMessage(path, reason));
}

} // namespace pw
