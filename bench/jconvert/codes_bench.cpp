// Throughput of code detection, the four conversions to and from Shift_JIS
// and code page 932 <-> UTF-8 on 10 MB of Japanese text, next to glibc
// iconv(3) doing the same conversions in the same process.
//
//   jconvert_bench [benchmark options]
//   jconvert_bench --write-samples DIR   write the sample texts and exit
//
// The samples are generated, not read: lines of JIS X 0208 kanji, hiragana,
// katakana and full-width symbols mixed with ASCII words, LF line ends, in
// Shift_JIS, EUC-JP, JIS and UTF-8.
#include "jconvert/codes.h"
#include "jconvert/cp932.h"
#include "jconvert/line_ends.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iconv.h>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kSampleBytes = 10 * 1024 * 1024;

// The JIS row/column pairs the sample draws from: rows 4 and 5 (kana),
// 16-46 (first-level kanji) and the common symbols of row 1. All are
// mapped identically by CP932, EUC-JP and ISO-2022-JP.
std::vector<std::pair<unsigned char, unsigned char>> SampleCharacters()
{
    std::vector<std::pair<unsigned char, unsigned char>> chars;
    for (unsigned char col = 0x21; col <= 0x73; ++col)
        chars.emplace_back(0x24, col);
    for (unsigned char col = 0x21; col <= 0x76; ++col)
        chars.emplace_back(0x25, col);
    for (unsigned char row = 0x30; row <= 0x4E; ++row)
        for (unsigned char col = 0x21; col <= 0x7E; ++col)
            chars.emplace_back(row, col);
    for (unsigned char col : { 0x22, 0x23, 0x24, 0x25, 0x26, 0x3C, 0x56, 0x57 })
        chars.emplace_back(0x21, col);
    return chars;
}

struct Samples {
    std::string sjis, euc, jis, utf8, ascii, ambiguous;
};

const Samples& GetSamples()
{
    static const Samples samples = [] {
        const auto chars = SampleCharacters();
        const char* const words[] = { "POP3", "memo", "2026", "OK", "Corkpane", "10:30", "wallpaper" };
        Samples s;
        s.sjis.reserve(kSampleBytes + 256);
        std::uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return seed >> 8;
        };
        while (s.sjis.size() < kSampleBytes) {
            // A line of 20-60 characters with an ASCII word now and then.
            const unsigned length = 20 + next() % 41;
            for (unsigned i = 0; i < length; ++i) {
                if (next() % 12 == 0) {
                    s.sjis += ' ';
                    s.sjis += words[next() % std::size(words)];
                    s.sjis += ' ';
                } else {
                    const auto [row, col] = chars[next() % chars.size()];
                    s.sjis += jconvert::ToSjis(row, col);
                }
            }
            s.sjis += '\n';
        }
        s.euc = jconvert::sjis2euc(s.sjis);
        s.jis = jconvert::sjis2jis83(s.sjis);
        s.utf8 = jconvert::Cp932ToUtf8(s.sjis);
        // Worst cases for detection: nothing decisive anywhere.
        s.ascii.assign(kSampleBytes, 'a');
        for (std::size_t i = 79; i < s.ascii.size(); i += 80)
            s.ascii[i] = '\n';
        s.ambiguous.reserve(kSampleBytes);
        while (s.ambiguous.size() < kSampleBytes)
            s.ambiguous += "\xB1\xB2\xB3\xB4\n";
        return s;
    }();
    return samples;
}

void Convert(benchmark::State& state, const std::string Samples::*input, int out)
{
    const std::string& text = GetSamples().*input;
    for (auto _ : state)
        benchmark::DoNotOptimize(jconvert::ConvertJCode(text, out));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Detect(benchmark::State& state, const std::string Samples::*input)
{
    const std::string& text = GetSamples().*input;
    for (auto _ : state)
        benchmark::DoNotOptimize(jconvert::InCodeCheck(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Iconv(benchmark::State& state, const std::string Samples::*input, const char* from, const char* to)
{
    const std::string& text = GetSamples().*input;
    std::vector<char> out(text.size() * 4 + 64);
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        state.SkipWithError("iconv_open failed");
        return;
    }
    for (auto _ : state) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(text.data());
        std::size_t inLeft = text.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            state.SkipWithError("iconv failed");
            break;
        }
        benchmark::DoNotOptimize(outPtr);
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Unicode(
    benchmark::State& state, const std::string Samples::*input, std::string (*convert)(std::string_view))
{
    const std::string& text = GetSamples().*input;
    for (auto _ : state)
        benchmark::DoNotOptimize(convert(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void LineEnds(benchmark::State& state)
{
    const std::string& text = GetSamples().sjis;
    for (auto _ : state)
        benchmark::DoNotOptimize(jconvert::ConvertReturnCode(text, jconvert::RET_CRLF));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK_CAPTURE(Convert, jis_to_sjis, &Samples::jis, jconvert::CODE_SJIS)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iconv, jis_to_sjis, &Samples::jis, "ISO-2022-JP", "CP932")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Convert, euc_to_sjis, &Samples::euc, jconvert::CODE_SJIS)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iconv, euc_to_sjis, &Samples::euc, "EUC-JP", "CP932")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Convert, sjis_to_jis, &Samples::sjis, jconvert::CODE_JIS83)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iconv, sjis_to_jis, &Samples::sjis, "CP932", "ISO-2022-JP")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Convert, sjis_to_euc, &Samples::sjis, jconvert::CODE_EUC)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iconv, sjis_to_euc, &Samples::sjis, "CP932", "EUC-JP")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Detect, sjis, &Samples::sjis)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Detect, euc, &Samples::euc)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Detect, jis, &Samples::jis)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Detect, ascii_worst_case, &Samples::ascii)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Detect, euc_or_sjis_worst_case, &Samples::ambiguous)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iconv, decode_sjis_to_utf8, &Samples::sjis, "CP932", "UTF-8")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Unicode, cp932_to_utf8, &Samples::sjis, &jconvert::Cp932ToUtf8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iconv, cp932_to_utf8, &Samples::sjis, "CP932", "UTF-8")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Unicode, utf8_to_cp932, &Samples::utf8, &jconvert::Utf8ToCp932)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iconv, utf8_to_cp932, &Samples::utf8, "UTF-8", "CP932")->Unit(benchmark::kMillisecond);
BENCHMARK(LineEnds)->Unit(benchmark::kMillisecond);

bool WriteSamples(const std::string& dir)
{
    const Samples& s = GetSamples();
    const std::pair<const char*, const std::string*> files[]
        = { { "sample.sjis", &s.sjis }, { "sample.euc", &s.euc }, { "sample.jis", &s.jis },
              { "sample.utf8", &s.utf8 }, { "sample.ascii", &s.ascii } };
    for (const auto& [name, text] : files) {
        std::ofstream out(dir + "/" + name, std::ios::binary);
        out.write(text->data(), static_cast<std::streamsize>(text->size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-samples") == 0)
        return WriteSamples(argv[2]) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
