// The mark-up's drawing at 3840 x 2160: what one pointer move costs while a
// mark is drawn (the pixels the overlay draws again: the whole of a shape's
// bounds, the end of a pen or marker stroke), a step and a text's ink, a
// pixelated area's averages, and the whole selection composed again with
// twenty marks on it (what moving or resizing the selection costs). The
// picture under the marks is a screen-like one: bands of dark "text" on
// light panels beside a photo-like gradient, so blending and averaging see
// real variety. Times are per call; the window side adds the copy of the
// frozen pixels and the blit to the screen on top.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/MarkupRaster.h"

namespace {

const int kWidth = 3840;
const int kHeight = 2160;
const TScreenRect kScreen{0, 0, kWidth, kHeight};

std::vector<uint32_t> ScreenLikePixels()
{
    std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint32_t c;
            if (x < kWidth / 2) {
                const bool ink = (y % 18) < 11 && ((x * 7 + y * 3) % 13) < 6;
                c = ink ? 0x202020 : 0xF3F3F3;
            } else {
                const auto r = uint32_t(128 + 127 * std::sin(x * 0.011 + y * 0.003));
                const auto g = uint32_t(128 + 127 * std::sin(y * 0.017));
                const auto b = uint32_t((x ^ y) & 0xFF);
                c = (r << 16) | (g << 8) | b;
            }
            pixels[size_t(y) * kWidth + x] = c;
        }
    return pixels;
}

struct Canvas {
    std::vector<uint32_t> pixels = ScreenLikePixels();
    TPixelSpan span{pixels.data(), kWidth, kHeight, 0, 0};
};

TMark Shape(TMarkTool tool, TScreenPoint from, TScreenPoint to, int width = 8)
{
    TMark mark;
    mark.tool = tool;
    mark.width = width;
    mark.points = {from, to};
    return mark;
}

// A wavy stroke across the screen, n points.
TMark Stroke(TMarkTool tool, int n)
{
    TMark mark;
    mark.tool = tool;
    mark.width = 8;
    for (int i = 0; i < n; ++i)
        mark.points.push_back({200 + i * 3400 / n, 1080 + int(600 * std::sin(i * 0.05))});
    return mark;
}

void DrawShapeOverItsBounds(benchmark::State& state, TMarkTool tool)
{
    Canvas canvas;
    const TMark mark = Shape(tool, {100, 100}, {3700, 2000});
    const TScreenRect bounds = MarkBounds(mark);
    for (auto _ : state)
        DrawMark(canvas.span, mark, bounds);
}

// One move at the end of a long stroke: the end's pixels drawn again, the
// whole stroke smoothed to find them.
void ExtendStroke(benchmark::State& state, TMarkTool tool)
{
    Canvas canvas;
    const TMark mark = Stroke(tool, int(state.range(0)));
    const TScreenPoint end = mark.points.back();
    const TScreenRect changed{end.x - 60, end.y - 60, end.x + 60, end.y + 60};
    for (auto _ : state)
        DrawMark(canvas.span, mark, changed);
}

void Rectangle(benchmark::State& state) { DrawShapeOverItsBounds(state, TMarkTool::Rectangle); }
void Ellipse(benchmark::State& state) { DrawShapeOverItsBounds(state, TMarkTool::Ellipse); }
void Line(benchmark::State& state) { DrawShapeOverItsBounds(state, TMarkTool::Line); }
void Arrow(benchmark::State& state) { DrawShapeOverItsBounds(state, TMarkTool::Arrow); }
void PenEnd(benchmark::State& state) { ExtendStroke(state, TMarkTool::Pen); }
void MarkerEnd(benchmark::State& state) { ExtendStroke(state, TMarkTool::Marker); }

void PixelateAverages(benchmark::State& state)
{
    Canvas canvas;
    const TScreenRect area{400, 300, 1400, 900};
    for (auto _ : state)
        benchmark::DoNotOptimize(BlockAverages(canvas.span, area, 8));
}

void ComposeTwentyMarks(benchmark::State& state)
{
    Canvas canvas;
    std::vector<TMark> marks;
    for (int i = 0; i < 5; ++i) {
        marks.push_back(Shape(TMarkTool::Rectangle, {100 + 300 * i, 100}, {500 + 300 * i, 500}, 4));
        marks.push_back(Shape(TMarkTool::Arrow, {200 + 300 * i, 1500}, {600 + 300 * i, 800}, 4));
        marks.push_back(Shape(TMarkTool::Ellipse, {2000, 100 + 300 * i}, {2600, 350 + 300 * i}, 4));
        marks.push_back(Stroke(TMarkTool::Marker, 200));
    }
    for (auto _ : state)
        for (const TMark& mark : marks)
            DrawMark(canvas.span, mark, kScreen);
}

} // namespace

BENCHMARK(Rectangle)->Unit(benchmark::kMillisecond);
BENCHMARK(Ellipse)->Unit(benchmark::kMillisecond);
BENCHMARK(Line)->Unit(benchmark::kMillisecond);
BENCHMARK(Arrow)->Unit(benchmark::kMillisecond);
BENCHMARK(PenEnd)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(MarkerEnd)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(PixelateAverages)->Unit(benchmark::kMillisecond);
BENCHMARK(ComposeTwentyMarks)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
