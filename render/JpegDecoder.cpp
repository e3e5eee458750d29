#include "render/JpegDecoder.h"

#include "render/RenderError.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace render {

const int kJpegTooManyScansError = JERR_BAD_PROGRESSION;

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    jpeg_progress_mgr progress;
};

extern "C" void OnJpegError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

extern "C" void OnJpegMessage(j_common_ptr) { }

// Called by libjpeg between the rows and scans it reads. Every scan of a
// progressive picture is a pass over the whole image, so a small file of
// thousands of empty scans costs minutes; real pictures have a dozen or so.
extern "C" void OnJpegProgress(j_common_ptr info)
{
    if (!info->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxJpegScans) {
        info->err->msg_code = kJpegTooManyScansError;
        info->err->error_exit(info);
    }
}

// Bytes of the coefficient buffers a multi-scan picture needs: every
// component's blocks of 64 16-bit coefficients, for the whole image.
std::uint64_t FullImageBytes(const jpeg_decompress_struct& info)
{
    if (!jpeg_has_multiple_scans(const_cast<jpeg_decompress_struct*>(&info)))
        return 0;
    std::uint64_t bytes = 0;
    for (int i = 0; i < info.num_components; ++i) {
        const jpeg_component_info& c = info.comp_info[i];
        bytes += static_cast<std::uint64_t>(c.width_in_blocks + c.h_samp_factor)
            * (c.height_in_blocks + c.v_samp_factor) * DCTSIZE2 * sizeof(JCOEF);
    }
    return bytes;
}

// Runs the decode. Everything with a destructor is created by the caller
// before setjmp, so the jump back on an error skips no destructor.
// Returns 0 on success or libjpeg's message number.
int Decode(jpeg_decompress_struct& info, ErrorManager& errors, std::string_view data, int coverWidth,
    int coverHeight, DecodedJpeg& out)
{
    if (setjmp(errors.jump)) {
        const int code = errors.base.msg_code;
        jpeg_destroy_decompress(&info);
        return code == 0 ? JERR_INPUT_EMPTY : code;
    }
    jpeg_create_decompress(&info);
    info.progress = &errors.progress; // creating clears it
    // libjpeg asks its memory manager before it allocates its big buffers
    // (a progressive picture keeps every coefficient of the full image);
    // past this bound it fails with an error instead of taking the memory.
    info.mem->max_memory_to_use = static_cast<long>(Canvas::kMaxDecoderBytes);
    jpeg_mem_src(
        &info, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    out.fullWidth = static_cast<int>(info.image_width);
    out.fullHeight = static_cast<int>(info.image_height);
    // The budget holds for the picture's own size: a reduced decode still
    // makes libjpeg work on the full image.
    if (static_cast<std::uint64_t>(info.image_width) * info.image_height > Canvas::kMaxPixels
        || FullImageBytes(info) > Canvas::kMaxDecoderBytes) {
        jpeg_destroy_decompress(&info);
        return JERR_IMAGE_TOO_BIG;
    }
    info.out_color_space = JCS_EXT_BGR;
    info.scale_num = 1;
    info.scale_denom = 1;
    if (coverWidth > 0 && coverHeight > 0) {
        for (unsigned denom = 8; denom > 1; denom /= 2) {
            const unsigned long w = (info.image_width + denom - 1) / denom;
            const unsigned long h = (info.image_height + denom - 1) / denom;
            if (w >= static_cast<unsigned long>(coverWidth) && h >= static_cast<unsigned long>(coverHeight)) {
                info.scale_denom = denom;
                break;
            }
        }
    }
    jpeg_calc_output_dimensions(&info);
    // A picture far larger than the screen in one direction only covers no
    // reduced size; it is reduced anyway while its decode would still hold
    // more than a few screens of pixels.
    const std::uint64_t wanted
        = std::max<std::uint64_t>(4 * static_cast<std::uint64_t>(std::max(coverWidth, 0))
                * static_cast<std::uint64_t>(std::max(coverHeight, 0)),
            std::uint64_t { Canvas::kLargestScreenWidth } * Canvas::kLargestScreenHeight);
    while (
        info.scale_denom < 8 && static_cast<std::uint64_t>(info.output_width) * info.output_height > wanted) {
        info.scale_denom *= 2;
        jpeg_calc_output_dimensions(&info);
    }
    if (static_cast<std::uint64_t>(info.output_width) * info.output_height > Canvas::kMaxPixels) {
        jpeg_destroy_decompress(&info);
        return JERR_IMAGE_TOO_BIG;
    }
    return -1; // header done; the caller allocates and comes back
}

int DecodeRows(jpeg_decompress_struct& info, ErrorManager& errors, Canvas& image)
{
    if (setjmp(errors.jump)) {
        const int code = errors.base.msg_code;
        jpeg_destroy_decompress(&info);
        return code == 0 ? JERR_INPUT_EMPTY : code;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[4];
        int count = 0;
        for (; count < 4 && info.output_scanline + static_cast<unsigned>(count) < info.output_height; ++count)
            rows[count]
                = image.Data() + image.Stride() * (info.output_scanline + static_cast<unsigned>(count));
        jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return 0;
}

// Errors end the decode through errors' jump instead of exiting.
void UseErrorManager(jpeg_decompress_struct& info, ErrorManager& errors)
{
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = &OnJpegError;
    errors.base.output_message = &OnJpegMessage;
}

int ReadHeader(jpeg_decompress_struct& info, ErrorManager& errors, std::string_view data, DecodedJpeg& out)
{
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return 1;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(
        &info, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    out.fullWidth = static_cast<int>(info.image_width);
    out.fullHeight = static_cast<int>(info.image_height);
    jpeg_destroy_decompress(&info);
    return 0;
}

} // namespace

DecodedJpeg JpegHeaderSize(std::string_view data)
{
    DecodedJpeg out;
    jpeg_decompress_struct info {};
    ErrorManager errors {};
    UseErrorManager(info, errors);
    if (ReadHeader(info, errors, data, out) != 0)
        return {};
    return out;
}

DecodedJpeg DecodeJpeg(std::string_view data, int coverWidth, int coverHeight)
{
    DecodedJpeg out;
    jpeg_decompress_struct info {};
    ErrorManager errors {};
    UseErrorManager(info, errors);
    errors.progress.progress_monitor = &OnJpegProgress;

    int code = Decode(info, errors, data, coverWidth, coverHeight, out);
    if (code >= 0)
        throw RenderError(JpegErrorMessage(code));
    Canvas image;
    try {
        image = Canvas(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
            Canvas::Init::Uninitialized);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    code = DecodeRows(info, errors, image);
    if (code != 0)
        throw RenderError(JpegErrorMessage(code));
    out.image = std::move(image);
    return out;
}

} // namespace render
