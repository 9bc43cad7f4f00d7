#include "imaging/ImageCodecs.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

// libjpeg and libpng report fatal errors by longjmp. Every function below
// that calls setjmp keeps only plain C data in its frame and in the job it
// works on, so a jump skips no destructor; the Image and any other C++
// object are made and released by the callers around those functions.

namespace {

// ---------------------------------------------------------------- libjpeg

// A picture read in several scans (progressive, or sequential with the
// components in separate scans) keeps all its coefficients in memory until
// the end. Beyond this, as much as the largest Image, it is refused before
// libjpeg allocates them.
constexpr std::uint64_t kCoefficientMemoryLimit = 256ull * 1024 * 1024;

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void abandonJpeg(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

void discardJpegMessage(j_common_ptr) {}

void installJpegErrors(JpegErrors& errors)
{
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = abandonJpeg;
    errors.manager.output_message = discardJpegMessage;
}

// Reads from one buffer that is available whole from the start. Past its
// end the source keeps answering with an end-of-image marker, so a picture
// cut short decodes as far as its data goes.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void startSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean supplyEndOfImage(j_decompress_ptr cinfo)
{
    cinfo->src->next_input_byte = kEndOfImage;
    cinfo->src->bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* source = cinfo->src;
    const std::size_t step = std::min(static_cast<std::size_t>(count), source->bytes_in_buffer);
    source->next_input_byte += step;
    source->bytes_in_buffer -= step;
}

void installMemorySource(jpeg_source_mgr& source, const std::uint8_t* data, std::size_t size)
{
    source.next_input_byte = data;
    source.bytes_in_buffer = size;
    source.init_source = startSource;
    source.fill_input_buffer = supplyEndOfImage;
    source.skip_input_data = skipInput;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = termSource;
}

bool readsInSeveralScans(const jpeg_decompress_struct& cinfo)
{
    return cinfo.progressive_mode || cinfo.comps_in_scan < cinfo.num_components;
}

// What libjpeg sets aside for the whole-image coefficient buffers.
std::uint64_t coefficientMemory(const jpeg_decompress_struct& cinfo)
{
    const auto roundUp = [](std::uint64_t value, std::uint64_t step) { return (value + step - 1) / step * step; };
    std::uint64_t bytes = 0;
    for (int i = 0; i < cinfo.num_components; ++i) {
        const jpeg_component_info& component = cinfo.comp_info[i];
        bytes += roundUp(component.width_in_blocks, std::uint64_t(component.h_samp_factor))
               * roundUp(component.height_in_blocks, std::uint64_t(component.v_samp_factor)) * sizeof(JBLOCK);
    }
    return bytes;
}

struct JpegDecoding {
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    jpeg_source_mgr source;
};

// Reads the header and starts decompression. False when libjpeg gives up,
// or when the output is neither colour nor grey or too large: all decided
// before libjpeg sets up its decoding buffers.
bool startJpeg(JpegDecoding& job, const std::uint8_t* data, std::size_t size)
{
    installJpegErrors(job.errors);
    job.cinfo.err = &job.errors.manager;
    if (setjmp(job.errors.jump))
        return false;
    jpeg_create_decompress(&job.cinfo);
    installMemorySource(job.source, data, size);
    job.cinfo.src = &job.source;
    jpeg_read_header(&job.cinfo, TRUE);
    // Colour comes out as libjpeg's RGB, delivered straight in the picture's
    // blue-green-red order (the same conversion, without a pass of our own).
    if (job.cinfo.out_color_space == JCS_RGB)
        job.cinfo.out_color_space = JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(&job.cinfo);
    if (job.cinfo.output_components != 1 && job.cinfo.out_color_space != JCS_EXT_BGRX)
        return false;
    if (job.cinfo.output_width > JDIMENSION(Image::kMaxSide)
        || job.cinfo.output_height > JDIMENSION(Image::kMaxSide))
        return false;
    if (readsInSeveralScans(job.cinfo) && coefficientMemory(job.cinfo) > kCoefficientMemoryLimit)
        return false;
    jpeg_start_decompress(&job.cinfo);
    return true;
}

// Four pixels at a time as one 16-byte vector (a plain byte loop is not
// vectorised at -O2 and costs a third of the decode).
void clearFourthBytes(std::uint8_t* row, JDIMENSION width)
{
    using FourPixels = std::uint32_t __attribute__((vector_size(16)));
    JDIMENSION x = 0;
    for (; x + 4 <= width; x += 4) {
        FourPixels v;
        std::memcpy(&v, row + 4 * x, sizeof v);
        v &= 0x00FFFFFFu; // little-endian: the fourth byte is the top one
        std::memcpy(row + 4 * x, &v, sizeof v);
    }
    for (; x < width; ++x)
        row[4 * x + 3] = 0;
}

// Stores the scanlines from the top of the picture downwards into the
// memory rows from the last to the first, as blue, green, red, 0.
bool readJpegRows(JpegDecoding& job, std::uint8_t* pixels, std::size_t stride)
{
    if (setjmp(job.errors.jump))
        return false;
    j_decompress_ptr cinfo = &job.cinfo;
    const JDIMENSION width = cinfo->output_width;
    const bool colour = cinfo->out_color_space == JCS_EXT_BGRX;
    JSAMPARRAY grey = colour ? nullptr
                             : (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                           (width + 3) & ~JDIMENSION(3), 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        std::uint8_t* out = pixels + (cinfo->output_height - 1 - cinfo->output_scanline) * stride;
        JSAMPROW target = colour ? out : grey[0];
        if (jpeg_read_scanlines(cinfo, &target, 1) != 1)
            return false;
        if (colour) {
            clearFourthBytes(out, width); // libjpeg fills them with 0xFF
        } else {
            const JSAMPLE* in = grey[0];
            for (JDIMENSION x = 0; x < width; ++x, ++in, out += 4) {
                out[0] = out[1] = out[2] = *in;
                out[3] = 0;
            }
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

struct JpegEncoding {
    jpeg_compress_struct cinfo;
    JpegErrors errors;
    unsigned char* output;
    unsigned long outputSize;
};

// The rows are handed to libjpeg as they lie in the Image (blue, green,
// red, unused byte), top row first; it converts them itself.
bool compressJpeg(JpegEncoding& job, JSAMPARRAY topDownRows, int width, int height, int quality)
{
    installJpegErrors(job.errors);
    job.cinfo.err = &job.errors.manager;
    if (setjmp(job.errors.jump))
        return false;
    jpeg_create_compress(&job.cinfo);
    jpeg_mem_dest(&job.cinfo, &job.output, &job.outputSize);
    job.cinfo.image_width = JDIMENSION(width);
    job.cinfo.image_height = JDIMENSION(height);
    job.cinfo.input_components = 4;
    job.cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&job.cinfo);
    jpeg_set_quality(&job.cinfo, quality, TRUE);
    jpeg_start_compress(&job.cinfo, TRUE);
    while (job.cinfo.next_scanline < job.cinfo.image_height) {
        const JDIMENSION line = job.cinfo.next_scanline;
        jpeg_write_scanlines(&job.cinfo, topDownRows + line, job.cinfo.image_height - line);
    }
    jpeg_finish_compress(&job.cinfo);
    return true;
}

// ----------------------------------------------------------------- libpng

struct PngInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

// Copies the next bytes of the buffer; a request past its end is an error
// of the data, never a read beyond the buffer.
void readPngBytes(png_structp png, png_bytep target, png_size_t count)
{
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (count > input->size - input->position)
        png_error(png, "PNG data ends early");
    std::memcpy(target, input->data + input->position, count);
    input->position += count;
}

[[noreturn]] void abandonPng(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

struct PngDecoding {
    png_structp png;
    png_infop info;
    PngInput input;
    png_uint_32 width;
    png_uint_32 height;
};

// Reads the header and asks libpng for BGR plus a fourth byte in every
// colour type: the PNG's alpha where it has any, else 0.
bool startPng(PngDecoding& job)
{
    if (setjmp(png_jmpbuf(job.png)))
        return false;
    png_set_read_fn(job.png, &job.input, readPngBytes);
    png_read_info(job.png, job.info);
    int bitDepth = 0;
    int colourType = 0;
    png_get_IHDR(job.png, job.info, &job.width, &job.height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    if (job.width > png_uint_32(Image::kMaxSide) || job.height > png_uint_32(Image::kMaxSide))
        return false;

    const bool hasTransparency = png_get_valid(job.png, job.info, PNG_INFO_tRNS) != 0;
    const bool isGrey = (colourType & PNG_COLOR_MASK_COLOR) == 0;
    if (hasTransparency || colourType == PNG_COLOR_TYPE_PALETTE || (isGrey && bitDepth < 8))
        png_set_expand(job.png);
    if (bitDepth > 8)
        png_set_strip_16(job.png);
    // Grey with alpha is turned to colour too, so that every pixel ends up
    // four bytes wide.
    if (isGrey)
        png_set_gray_to_rgb(job.png);
    if ((colourType & PNG_COLOR_MASK_ALPHA) == 0)
        png_set_filler(job.png, 0, PNG_FILLER_AFTER);
    png_set_bgr(job.png);
    png_set_interlace_handling(job.png);
    png_read_update_info(job.png, job.info);
    return png_get_rowbytes(job.png, job.info) == png_size_t(job.width) * 4;
}

bool readPngRows(PngDecoding& job, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(job.png)))
        return false;
    png_read_image(job.png, rows);
    return true;
}

} // namespace

std::unique_ptr<Image> decodeJpeg(const std::uint8_t* data, std::size_t size)
{
    JpegDecoding job{};
    std::unique_ptr<Image> image;
    if (startJpeg(job, data, size)) {
        image = Image::create(int(job.cinfo.output_width), int(job.cinfo.output_height));
        if (image && !readJpegRows(job, image->pixels(), std::size_t(image->stride())))
            image.reset();
    }
    jpeg_destroy_decompress(&job.cinfo);
    return image;
}

std::unique_ptr<Image> decodePng(const std::uint8_t* data, std::size_t size)
{
    if (png_sig_cmp(data, 0, std::min<std::size_t>(size, 8)) != 0)
        return nullptr;
    PngDecoding job{};
    job.input = {data, size, 0};
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, abandonPng, nullptr);
    if (!job.png)
        return nullptr;
    job.info = png_create_info_struct(job.png);
    std::unique_ptr<Image> image;
    if (job.info && startPng(job)) {
        image = Image::create(int(job.width), int(job.height));
        if (image) {
            // PNG row i goes to memory row height - 1 - i: the Image is bottom-up.
            std::vector<png_bytep> rows(job.height);
            for (png_uint_32 i = 0; i < job.height; ++i)
                rows[i] = image->memoryRow(int(job.height - 1 - i));
            if (!readPngRows(job, rows.data()))
                image.reset();
        }
    }
    png_destroy_read_struct(&job.png, job.info ? &job.info : nullptr, nullptr);
    return image;
}

std::vector<std::uint8_t> encodeJpeg(const Image& image, int quality)
{
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(image.height()));
    for (int i = 0; i < image.height(); ++i)
        rows[std::size_t(i)] = const_cast<JSAMPROW>(image.memoryRow(image.height() - 1 - i));

    JpegEncoding job{};
    std::vector<std::uint8_t> encoded;
    if (compressJpeg(job, rows.data(), image.width(), image.height(), quality))
        encoded.assign(job.output, job.output + job.outputSize);
    jpeg_destroy_compress(&job.cinfo);
    std::free(job.output);
    return encoded;
}
