// The PNG, JPEG and BMP writers against the libraries (or the plain file
// write) they are measured by, on the same made-up screen shots. After the
// runs a table gives each ratio ours / reference of the real time per
// iteration, with the output sizes.
//
// The reference encoders read the 32-bit blue-green-red-unused rows
// directly: libpng strips the fourth byte itself (png_set_filler) and swaps
// to red-green-blue (png_set_bgr); libjpeg takes JCS_EXT_BGRX. Our writers
// start from the same 32-bit bitmap, so whatever conversion they make of it
// is included in what is measured.

#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include "bench/DesktopImage.h"
#include "core/Stream.h"
#include "imaging/Bitmap.h"
#include "imaging/MemoryBitmap.h"
#include "imaging/jpeg.h"
#include "imaging/pngimage.h"

namespace {

const int kDeflateLevel = 7;
const int kJpegQuality = 90;

struct Shot {
    std::string name; // "1920x1080"
    TBitmap bitmap;
    std::vector<uint8_t*> rows; // top row first, 4 bytes per pixel
    std::vector<uint8_t> bmpFile; // what the BMP writer produces, for the plain write
};

// Our writers, as the program runs them for a shot.

void SaveOurPng(const TBitmap& bitmap, TMemoryStream& out)
{
    TPNGObject png;
    png.SetDeflateLevel(kDeflateLevel);
    png.SetRowFilters(pfSub);
    png.Assign(bitmap);
    png.SaveToStream(out);
}

void SaveOurJpeg(const TBitmap& bitmap, TMemoryStream& out)
{
    TJPEGImage jpeg;
    jpeg.SetQuality(kJpegQuality);
    jpeg.Assign(bitmap);
    jpeg.SaveToStream(out);
}

// The fresh bitmap shares the source's store and its device-independent
// copy; for a memory store that copy only points at the store's rows (see
// MakeShot), so a copy made once is not being reused here.
void SaveOurBmp(const TBitmap& bitmap, const std::string& path)
{
    TBitmap fresh;
    fresh.Assign(bitmap);
    fresh.SaveToFile(path);
}

// The references.

void AppendPngBytes(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void FlushNothing(png_structp) {}

void SaveLibpng(const Shot& shot, std::vector<uint8_t>& out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("libpng: out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed");
    }
    png_set_write_fn(png, &out, AppendPngBytes, FlushNothing);
    png_set_IHDR(png, info, shot.bitmap.Width(), shot.bitmap.Height(), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, kDeflateLevel);
    png_set_compression_mem_level(png, 8);
    png_set_compression_window_bits(png, 15);
    // Left alone, libpng compresses filtered rows with Z_FILTERED.
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_rows(png, const_cast<png_bytepp>(shot.rows.data()), static_cast<png_uint_32>(shot.rows.size()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

struct JpegErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

// Returns the size of the JPEG file; keep, when given, receives its bytes.
size_t SaveLibjpeg(const Shot& shot, std::vector<uint8_t>* keep)
{
    jpeg_compress_struct cinfo{};
    JpegErrors errors{};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = JpegErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        throw std::runtime_error("libjpeg failed");
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(shot.bitmap.Width());
    cinfo.image_height = static_cast<JDIMENSION>(shot.bitmap.Height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    cinfo.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&cinfo, kJpegQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = shot.rows[cinfo.next_scanline];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const size_t result = size;
    if (keep)
        keep->assign(buffer, buffer + size);
    std::free(buffer);
    return result;
}

void PlainWrite(const std::vector<uint8_t>& bytes, const std::string& path)
{
    TFileStream file(path);
    file.WriteBuffer(bytes.data(), bytes.size());
}

// Setting up and checking.

std::unique_ptr<Shot> MakeShot(int width, int height)
{
    auto shot = std::make_unique<Shot>();
    shot->name = std::to_string(width) + "x" + std::to_string(height);
    MakeDesktopImage(shot->bitmap, width, height);
    // The BMP writer then takes the store's own rows as its device-independent
    // copy, with nothing copied.
    auto* store = dynamic_cast<TMemoryBitmap*>(const_cast<TDeviceBitmap*>(shot->bitmap.Device()));
    if (!store || store->BitCount() != 32 || store->DibRows() != store->Bits())
        throw std::runtime_error("the desktop image is not a 32-bit memory bitmap with its rows in place");
    for (int y = 0; y < height; ++y)
        shot->rows.push_back(store->Row(y));
    TMemoryStream bmp;
    shot->bitmap.SaveToStream(bmp);
    shot->bmpFile = bmp.Data();
    return shot;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The image data of a PNG file: its IDAT chunks' data run together.
std::vector<uint8_t> IdatStream(const std::vector<uint8_t>& png)
{
    std::vector<uint8_t> data;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 |
                                uint32_t(png[at + 2]) << 8 | png[at + 3];
        if (at + 12 + length > png.size())
            break;
        if (std::memcmp(&png[at + 4], "IDAT", 4) == 0)
            data.insert(data.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        at += 12 + length;
    }
    return data;
}

struct Sizes {
    size_t ours = 0;
    size_t reference = 0;
    std::string note;
};

// Keyed by "png/1920x1080" and so on.
std::map<std::string, Sizes> sizes;

bool CheckOutputs(const Shot& shot, const std::string& dir)
{
    bool ok = true;
    const auto plausible = [&ok](const std::string& what, size_t ours, size_t reference) {
        const bool fine = ours > 0 && reference > 0 && ours < reference * 3 / 2 && reference < ours * 3 / 2;
        if (!fine) {
            std::printf("CHECK FAILED: %s: ours %zu bytes, reference %zu bytes\n", what.c_str(), ours, reference);
            ok = false;
        }
    };

    TMemoryStream png;
    SaveOurPng(shot.bitmap, png);
    std::vector<uint8_t> libpng;
    SaveLibpng(shot, libpng);
    plausible("png " + shot.name, png.Size(), libpng.size());
    sizes["png/" + shot.name] = {png.Size(), libpng.size(),
                                 IdatStream(png.Data()) == IdatStream(libpng) ? "same deflate stream"
                                                                              : "deflate streams differ"};

    TMemoryStream jpeg;
    SaveOurJpeg(shot.bitmap, jpeg);
    std::vector<uint8_t> libjpeg;
    SaveLibjpeg(shot, &libjpeg);
    plausible("jpeg " + shot.name, jpeg.Size(), libjpeg.size());
    sizes["jpeg/" + shot.name] = {jpeg.Size(), libjpeg.size(),
                                  jpeg.Data() == libjpeg ? "identical files" : "files differ"};

    const std::string ours = dir + "/ours.bmp", plain = dir + "/plain.bmp";
    SaveOurBmp(shot.bitmap, ours);
    PlainWrite(shot.bmpFile, plain);
    const std::vector<uint8_t> bmp = ReadFile(ours);
    const size_t expected = 54 + size_t(DibStride(shot.bitmap.Width(), 32)) * size_t(shot.bitmap.Height());
    if (bmp.size() != expected || bmp != shot.bmpFile || ReadFile(plain) != bmp) {
        std::printf("CHECK FAILED: bmp %s: %zu bytes written, %zu expected\n", shot.name.c_str(), bmp.size(),
                    expected);
        ok = false;
    }
    sizes["bmp/" + shot.name] = {bmp.size(), shot.bmpFile.size(), "same bytes"};
    return ok;
}

// Keeps the real and CPU time per iteration of every run, by benchmark name;
// with repetitions the medians win.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0;
        double cpu = 0;
    };

    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const std::string& name = run.run_name.function_name;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !medians_.count(name)))
                times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (median)
                medians_[name] = true;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const Times* Find(const std::string& name) const
    {
        const auto found = times_.find(name);
        return found == times_.end() ? nullptr : &found->second;
    }

private:
    std::map<std::string, Times> times_;
    std::map<std::string, bool> medians_;
};

struct Pair {
    const char* writer;
    const char* reference;
    double target;
};

const Pair kPairs[] = {{"png", "libpng", 1.05}, {"jpeg", "libjpeg", 1.05}, {"bmp", "write", 1.2}};

void PrintRatios(const std::vector<std::unique_ptr<Shot>>& shots, const RatioReporter& reporter)
{
    // The CPU-time ratio is the steadier figure when other work shares the
    // machine; the real-time ratio is the one the targets are for.
    std::printf("\nours / reference, real time per iteration (CPU-time ratio in brackets)\n");
    for (const Pair& pair : kPairs) {
        for (const auto& shot : shots) {
            const std::string key = std::string(pair.writer) + "/" + shot->name;
            const RatioReporter::Times* ours = reporter.Find(key + "/ours");
            const RatioReporter::Times* reference = reporter.Find(key + "/" + pair.reference);
            if (!ours || !reference) {
                std::printf("%-4s %-9s: not run\n", pair.writer, shot->name.c_str());
                continue;
            }
            const double ratio = ours->real / reference->real;
            const Sizes& s = sizes[key];
            std::printf("%-4s %-9s: ratio %.3f [cpu %.3f] target %.2f %-6s  ours %8.2f ms, %-7s %8.2f ms  |  "
                        "%9zu vs %9zu bytes, %s\n",
                        pair.writer, shot->name.c_str(), ratio, ours->cpu / reference->cpu, pair.target,
                        ratio <= pair.target ? "met" : "MISSED", ours->real, pair.reference, reference->real, s.ours,
                        s.reference, s.note.c_str());
        }
    }
}

// Five runs of at least half a second each; the median counts.
template <typename Body>
void Register(const std::string& name, Body body)
{
    benchmark::RegisterBenchmark(name.c_str(), body)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(0.5)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

// Checks the outputs, then runs and reports the benchmarks.
int RunAll(const std::string& dir)
{
    std::vector<std::unique_ptr<Shot>> shots;
    shots.push_back(MakeShot(1920, 1080));
    shots.push_back(MakeShot(3840, 2160));

    bool ok = true;
    for (const auto& shot : shots)
        ok = CheckOutputs(*shot, dir) && ok;
    if (!ok)
        return 1;

    for (const auto& s : shots) {
        const Shot* shot = s.get();
        Register("png/" + shot->name + "/ours", [shot](benchmark::State& state) {
            for (auto _ : state) {
                TMemoryStream out;
                SaveOurPng(shot->bitmap, out);
                benchmark::DoNotOptimize(out.Size());
            }
        });
        Register("png/" + shot->name + "/libpng", [shot](benchmark::State& state) {
            for (auto _ : state) {
                std::vector<uint8_t> out;
                SaveLibpng(*shot, out);
                benchmark::DoNotOptimize(out.size());
            }
        });
    }
    for (const auto& s : shots) {
        const Shot* shot = s.get();
        Register("jpeg/" + shot->name + "/ours", [shot](benchmark::State& state) {
            for (auto _ : state) {
                TMemoryStream out;
                SaveOurJpeg(shot->bitmap, out);
                benchmark::DoNotOptimize(out.Size());
            }
        });
        Register("jpeg/" + shot->name + "/libjpeg", [shot](benchmark::State& state) {
            for (auto _ : state)
                benchmark::DoNotOptimize(SaveLibjpeg(*shot, nullptr));
        });
    }
    const std::string ours = dir + "/ours.bmp", plain = dir + "/plain.bmp";
    for (const auto& s : shots) {
        const Shot* shot = s.get();
        Register("bmp/" + shot->name + "/ours", [shot, ours](benchmark::State& state) {
            for (auto _ : state)
                SaveOurBmp(shot->bitmap, ours);
        });
        Register("bmp/" + shot->name + "/write", [shot, plain](benchmark::State& state) {
            for (auto _ : state)
                PlainWrite(shot->bmpFile, plain);
        });
    }

    RatioReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
                                                 : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintRatios(shots, reporter);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Running the repetitions of all benchmarks in random order spreads a
    // passing load on the machine over both sides of every pair. The command
    // line can turn that off.
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + 1, interleave.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;

    std::string pattern = (std::filesystem::temp_directory_path() / "snapquill-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = pattern;

    int result = 1;
    try {
        result = RunAll(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_writers: %s\n", e.what());
    }
    std::filesystem::remove_all(dir);
    return result;
}
