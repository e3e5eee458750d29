// Pieces of a 3840 x 2160 draw, one at a time: decoding the picture (full
// and at the reduced scale a picture twice the screen gets), the
// nearest-neighbour copy, the translucent box and writing the BMP.
#include "common/TempFolder.h"
#include "render/Background.h"
#include "render/Blend.h"
#include "render/BmpWriter.h"
#include "render/JpegDecoder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>

namespace {

constexpr int kWidth = 3840, kHeight = 2160;

// Where the pictures are made and the bitmap written; removed at the end.
const test_files::TempFolder& Folder()
{
    static const test_files::TempFolder folder("render-bench");
    return folder;
}

// A JPEG of the given size made with ImageMagick and cjpeg, kept in memory.
const std::string& Picture(int width, int height)
{
    static std::string data[2];
    std::string& slot = data[width == kWidth ? 0 : 1];
    if (slot.empty()) {
        const std::string base = (Folder() / "picture").string();
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        const std::string command = "convert -size " + size + " -seed 5 plasma:fractal " + base
            + ".ppm && cjpeg " + "-quality 90 -outfile " + base + ".jpg " + base + ".ppm";
        if (std::system(command.c_str()) != 0)
            std::abort();
        slot = Folder().Read(base + ".jpg");
    }
    return slot;
}

void DecodeScreenSizedJpeg(benchmark::State& state)
{
    const std::string& data = Picture(kWidth, kHeight);
    for (auto _ : state)
        benchmark::DoNotOptimize(render::DecodeJpeg(data, kWidth, kHeight));
}
BENCHMARK(DecodeScreenSizedJpeg)->Unit(benchmark::kMillisecond);

void DecodeDoubleSizedJpegReduced(benchmark::State& state)
{
    const std::string& data = Picture(2 * kWidth, 2 * kHeight);
    for (auto _ : state)
        benchmark::DoNotOptimize(render::DecodeJpeg(data, kWidth, kHeight));
}
BENCHMARK(DecodeDoubleSizedJpegReduced)->Unit(benchmark::kMillisecond);

void ScaledCopyFromHalfSize(benchmark::State& state)
{
    render::Canvas source(kWidth / 2, kHeight / 2);
    render::Canvas target(kWidth, kHeight, render::Canvas::Init::Uninitialized);
    for (auto _ : state) {
        render::ScaledCopy(source, target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ScaledCopyFromHalfSize)->Unit(benchmark::kMillisecond);

void BlendTextBox(benchmark::State& state)
{
    render::Canvas canvas(kWidth, kHeight);
    // A 20-line column of the default settings: 300 x 20 * 21 pixels.
    for (auto _ : state) {
        render::BlendRectangle(canvas, kWidth - 600, 10, 300, 420, 50, true);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BlendTextBox)->Unit(benchmark::kMicrosecond);

void WriteScreenSizedBmp(benchmark::State& state)
{
    const render::Canvas canvas(kWidth, kHeight);
    const std::string path = (Folder() / "kabegami.bmp").string();
    for (auto _ : state)
        render::WriteBmpFile(canvas, path);
}
BENCHMARK(WriteScreenSizedBmp)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
