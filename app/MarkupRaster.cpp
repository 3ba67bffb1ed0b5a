#include "app/MarkupRaster.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMarkerStrength = 0.9; // how far the marker goes towards full ink
constexpr double kLightColour = 0.6;    // luminance above which a step's number is black

// Where the pixel (x, y) of area is in memory laid out row by row.
size_t IndexIn(const TScreenRect& area, int x, int y)
{
    return size_t(y - area.top) * size_t(area.Width()) + size_t(x - area.left);
}

// How much ink each pixel of an area gets, the largest of all the shapes
// that cover it: a mark is blended once, so its parts never add up.
// The stretches of rows the shapes went over are kept, so that blending a
// thin stroke or frame across a large area visits only its pixels.
struct TCoverMap {
    struct TStretch {
        int y, from, to;
    };
    TScreenRect area;
    std::vector<uint8_t> cover; // in 255ths, as the blend's 8-bit channels need it
    std::vector<TStretch> stretches;

    explicit TCoverMap(const TScreenRect& rect)
        : area(rect.Empty() ? TScreenRect{} : rect), cover(size_t(area.Width()) * size_t(area.Height()), 0)
    {
    }
    void Raise(int x, int y, double amount)
    {
        uint8_t& cell = cover[IndexIn(area, x, y)];
        cell = std::max(cell, uint8_t(std::lround(std::min(amount, 1.0) * 255)));
    }
    void Went(int y, int from, int to)
    {
        if (from < to)
            stretches.push_back({y, from, to});
    }
};

// The length of (dx, dy): std::hypot guards against overflow, which these
// small numbers never need, at several times the cost.
double Length(double dx, double dy)
{
    return std::sqrt(dx * dx + dy * dy);
}

double Clamp01(double value)
{
    return std::clamp(value, 0.0, 1.0);
}

TPathPoint Centre(TScreenPoint point)
{
    return {point.x + 0.5, point.y + 0.5};
}

TScreenRect Union(const TScreenRect& a, const TScreenRect& b)
{
    if (a.Empty())
        return b;
    if (b.Empty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// The whole pixels around a box of real coordinates grown by pad.
TScreenRect PixelsAround(double left, double top, double right, double bottom, double pad)
{
    return {int(std::floor(left - pad)), int(std::floor(top - pad)), int(std::ceil(right + pad)),
            int(std::ceil(bottom + pad))};
}

TScreenRect PathBounds(const std::vector<TPathPoint>& path, double pad)
{
    TScreenRect bounds;
    for (const TPathPoint& p : path)
        bounds = Union(bounds, PixelsAround(p.x, p.y, p.x, p.y, pad));
    return bounds;
}

// Calls coverageAt with the centre of every pixel of box inside the map.
template <class Coverage>
void Cover(TCoverMap& map, const TScreenRect& box, Coverage coverageAt)
{
    const TScreenRect area = Intersection(box, map.area);
    for (int y = area.top; y < area.bottom; ++y) {
        map.Went(y, area.left, area.right);
        for (int x = area.left; x < area.right; ++x) {
            const double amount = coverageAt(x + 0.5, y + 0.5);
            if (amount > 0)
                map.Raise(x, y, amount);
        }
    }
}

// The same for the pixels of each row whose centres lie within the row's
// span (span(yc, lo, hi) gives it; false: none), with a pixel's margin.
template <class Span, class Coverage>
void CoverSpans(TCoverMap& map, const TScreenRect& box, Span span, Coverage coverageAt)
{
    const TScreenRect area = Intersection(box, map.area);
    for (int y = area.top; y < area.bottom; ++y) {
        double lo = 0, hi = 0;
        if (!span(y + 0.5, lo, hi))
            continue;
        const int from = std::max(area.left, int(std::floor(lo)) - 1);
        const int to = std::min(area.right, int(std::ceil(hi)) + 1);
        map.Went(y, from, to);
        for (int x = from; x < to; ++x) {
            const double amount = coverageAt(x + 0.5, y + 0.5);
            if (amount > 0)
                map.Raise(x, y, amount);
        }
    }
}

// Where the row at height yc crosses the disc: widens [lo, hi].
void WidenByDisc(TPathPoint centre, double radius, double yc, double& lo, double& hi)
{
    const double dy = yc - centre.y;
    if (std::abs(dy) > radius)
        return;
    const double half = std::sqrt(radius * radius - dy * dy);
    lo = std::min(lo, centre.x - half);
    hi = std::max(hi, centre.x + half);
}

// Where the row crosses the band of half-width radius along the segment,
// between its ends' perpendiculars: two conditions linear in x.
void WidenByBand(TPathPoint a, TPathPoint b, double radius, double yc, double& lo, double& hi)
{
    const double dx = b.x - a.x, dy = b.y - a.y, length = Length(dx, dy);
    const double ry = yc - a.y;
    if (length <= 0)
        return;
    double from = -1e300, to = 1e300;
    if (std::abs(dy) > 1e-12) {
        const double x1 = (ry * dx - radius * length) / dy, x2 = (ry * dx + radius * length) / dy;
        from = std::max(from, std::min(x1, x2));
        to = std::min(to, std::max(x1, x2));
    } else if (std::abs(ry) > radius) {
        return;
    }
    if (std::abs(dx) > 1e-12) {
        const double x1 = -ry * dy / dx, x2 = (length * length - ry * dy) / dx;
        from = std::max(from, std::min(x1, x2));
        to = std::min(to, std::max(x1, x2));
    } else if (ry * dy < 0 || ry * dy > length * length) {
        return;
    }
    if (from <= to) {
        lo = std::min(lo, a.x + from);
        hi = std::max(hi, a.x + to);
    }
}

// The row's span of everything within radius of the segment (convex, so
// one span).
bool CapsuleSpan(TPathPoint a, TPathPoint b, double radius, double yc, double& lo, double& hi)
{
    lo = 1e300;
    hi = -1e300;
    WidenByDisc(a, radius, yc, lo, hi);
    WidenByDisc(b, radius, yc, lo, hi);
    WidenByBand(a, b, radius, yc, lo, hi);
    return lo <= hi;
}

double DistanceToSegment(double px, double py, TPathPoint a, TPathPoint b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / lengthSquared : 0.0;
    t = Clamp01(t);
    return Length(px - (a.x + t * dx), py - (a.y + t * dy));
}

// A stroke of half-width r around the segment, with round ends.
void CoverCapsule(TCoverMap& map, TPathPoint a, TPathPoint b, double r)
{
    const TScreenRect box =
        PixelsAround(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y), r + 1);
    CoverSpans(
        map, box, [&](double yc, double& lo, double& hi) { return CapsuleSpan(a, b, r + 1, yc, lo, hi); },
        [&](double x, double y) { return Clamp01(r + 0.5 - DistanceToSegment(x, y, a, b)); });
}

// A single point gives a dot.
void CoverPolyline(TCoverMap& map, const std::vector<TPathPoint>& path, double r)
{
    for (size_t i = 0; i < path.size(); ++i)
        CoverCapsule(map, path[i > 0 ? i - 1 : 0], path[i], r);
}

// The pixels of a rectangle, ellipse or pixelate drag: both ends included.
TScreenRect DraggedPixels(const TMark& mark)
{
    const TScreenPoint a = mark.points.front(), b = mark.points.back();
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}

int StrokeWidth(const TMark& mark)
{
    return std::max(1, mark.width);
}

// The frame between the dragged pixels and the rectangle inset by the width:
// both lie on whole pixels, so each pixel is wholly in it or wholly out.
void CoverFrame(TCoverMap& map, const TScreenRect& outer, int width)
{
    const int top = std::min(outer.bottom, outer.top + width);
    const int bottom = std::max(outer.top, outer.bottom - width);
    const int left = std::min(outer.right, outer.left + width);
    const int right = std::max(outer.left, outer.right - width);
    const auto full = [](double, double) { return 1.0; };
    Cover(map, {outer.left, outer.top, outer.right, top}, full);
    Cover(map, {outer.left, bottom, outer.right, outer.bottom}, full);
    Cover(map, {outer.left, top, left, bottom}, full);
    Cover(map, {right, top, outer.right, bottom}, full);
}

// The distance from a point (relative to the centre) to the ellipse of
// radii a and b: first-order, exact for circles.
double DistanceToEllipse(double x, double y, double a, double b)
{
    const double k0 = Length(x / a, y / b);
    const double k1 = Length(x / (a * a), y / (b * b));
    if (k1 <= 0)
        return std::min(a, b);
    return std::abs(k0 * (k0 - 1) / k1);
}

// Half the width of the ellipse of radii a and b at height dy from its
// centre; negative where the row misses it (or the ellipse is empty).
double HalfChord(double a, double b, double dy)
{
    if (a <= 0 || b <= 0 || std::abs(dy) > b)
        return -1;
    return a * std::sqrt(1 - (dy / b) * (dy / b));
}

void CoverEllipse(TCoverMap& map, const TScreenRect& outer, int width)
{
    const double r = width / 2.0;
    const double cx = (outer.left + outer.right) / 2.0, cy = (outer.top + outer.bottom) / 2.0;
    const double a = std::max(0.5, outer.Width() / 2.0 - r), b = std::max(0.5, outer.Height() / 2.0 - r);
    const auto coverage = [&](double x, double y) {
        return Clamp01(r + 0.5 - DistanceToEllipse(x - cx, y - cy, a, b));
    };
    // The ring's left and right parts of each row: between the ellipses
    // grown and shrunk by the stroke (and a pixel).
    const double grow = r + 2;
    for (const double side : {-1.0, 1.0})
        CoverSpans(
            map, outer,
            [&](double yc, double& lo, double& hi) {
                const double outerHalf = HalfChord(a + grow, b + grow, yc - cy);
                if (outerHalf < 0)
                    return false;
                const double innerHalf = std::max(0.0, HalfChord(a - grow, b - grow, yc - cy));
                lo = side < 0 ? cx - outerHalf : cx + innerHalf;
                hi = side < 0 ? cx - innerHalf : cx + outerHalf;
                return true;
            },
            coverage);
}

void CoverDisc(TCoverMap& map, TPathPoint centre, double radius)
{
    const TScreenRect box = PixelsAround(centre.x, centre.y, centre.x, centre.y, radius + 1);
    Cover(map, box, [&](double x, double y) { return Clamp01(radius + 0.5 - Length(x - centre.x, y - centre.y)); });
}

double Cross(TPathPoint o, TPathPoint p, double x, double y)
{
    return (p.x - o.x) * (y - o.y) - (p.y - o.y) * (x - o.x);
}

// Signed distance outwards from a triangle's edges (the largest of the
// three edge lines'), with corners given in either turning direction.
double TriangleDistance(const std::vector<TPathPoint>& corners, double turn, double x, double y)
{
    double distance = -1e9;
    for (int i = 0; i < 3; ++i) {
        const TPathPoint p = corners[i], q = corners[(i + 1) % 3];
        distance = std::max(distance, -turn * Cross(p, q, x, y) / Length(q.x - p.x, q.y - p.y));
    }
    return distance;
}

std::vector<TPathPoint> HeadCorners(const TMark& mark)
{
    const TArrowHead h = ArrowHead(mark.points.front(), mark.points.back(), StrokeWidth(mark));
    return {{h.tipX, h.tipY}, {h.leftX, h.leftY}, {h.rightX, h.rightY}};
}

void CoverTriangle(TCoverMap& map, const std::vector<TPathPoint>& corners)
{
    const double area = Cross(corners[0], corners[1], corners[2].x, corners[2].y);
    if (std::abs(area) < 1e-9)
        return;
    const double turn = area > 0 ? 1.0 : -1.0;
    Cover(map, PathBounds(corners, 1),
          [&](double x, double y) { return Clamp01(0.5 - TriangleDistance(corners, turn, x, y)); });
}

uint32_t Channel(uint32_t colour, int shift)
{
    return (colour >> shift) & 0xFF;
}

uint32_t Mixed(uint32_t source, uint32_t colour, double amount)
{
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double s = Channel(source, shift), c = Channel(colour, shift);
        result |= uint32_t(std::lround(s + (c - s) * amount)) << shift;
    }
    return result;
}

// Ink on paper: each channel multiplied by the colour's.
uint32_t Multiplied(uint32_t source, uint32_t colour)
{
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        result |= ((Channel(source, shift) * Channel(colour, shift) + 127) / 255) << shift;
    return result;
}

uint32_t& PixelAt(TPixelSpan& target, int x, int y)
{
    return target.pixels[IndexIn(target.Area(), x, y)];
}

// Each pixel once: a blended pixel's cover is spent, for stretches that
// overlap.
void Blend(TPixelSpan& target, TCoverMap& map, uint32_t colour, bool multiply)
{
    for (const TCoverMap::TStretch& stretch : map.stretches)
        for (int x = stretch.from; x < stretch.to; ++x) {
            uint8_t& cell = map.cover[IndexIn(map.area, x, stretch.y)];
            if (cell == 0)
                continue;
            const double amount = cell / 255.0;
            cell = 0;
            uint32_t& pixel = PixelAt(target, x, stretch.y);
            pixel = multiply ? Mixed(pixel, Multiplied(pixel, colour), amount * kMarkerStrength)
                             : Mixed(pixel, colour, amount);
        }
}

double Luminance(uint32_t colour)
{
    return (0.2126 * Channel(colour, 16) + 0.7152 * Channel(colour, 8) + 0.0722 * Channel(colour, 0)) / 255.0;
}

double StepRadius(const TMark& mark)
{
    return (4.0 * StrokeWidth(mark) + 12.0) / 2.0;
}

// The half-width of the stroke a line-like mark draws.
double StrokeRadius(const TMark& mark)
{
    return mark.tool == TMarkTool::Marker ? 2.0 * StrokeWidth(mark) : StrokeWidth(mark) / 2.0;
}

std::vector<TPathPoint> Path(const TMark& mark)
{
    if (mark.tool == TMarkTool::Pen || mark.tool == TMarkTool::Marker)
        return SmoothedStroke(mark.points);
    const TPathPoint from = Centre(mark.points.front());
    if (mark.tool != TMarkTool::Arrow)
        return {from, Centre(mark.points.back())};
    const TArrowHead head = ArrowHead(mark.points.front(), mark.points.back(), StrokeWidth(mark));
    return {from, {(head.leftX + head.rightX) / 2, (head.leftY + head.rightY) / 2}};
}

void FillBlocks(TPixelSpan& target, const TMark& mark, const TScreenRect& clip)
{
    const int columns = BlockCount(mark.blocksArea.Width(), mark.blockSize);
    const int rows = BlockCount(mark.blocksArea.Height(), mark.blockSize);
    if (mark.blocksArea.Empty() || mark.blocks.size() != size_t(columns) * size_t(rows))
        return;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const TScreenRect block = Intersection(BlockRect(mark.blocksArea, mark.blockSize, column, row), clip);
            for (int y = block.top; y < block.bottom; ++y)
                std::fill_n(&PixelAt(target, block.left, y), block.Width(), mark.blocks[row * columns + column]);
        }
}

void CoverShape(TCoverMap& map, const TMark& mark)
{
    switch (mark.tool) {
    case TMarkTool::Rectangle: CoverFrame(map, DraggedPixels(mark), StrokeWidth(mark)); break;
    case TMarkTool::Ellipse: CoverEllipse(map, DraggedPixels(mark), StrokeWidth(mark)); break;
    case TMarkTool::Step: CoverDisc(map, Centre(mark.points.front()), StepRadius(mark)); break;
    default:
        CoverPolyline(map, Path(mark), StrokeRadius(mark));
        if (mark.tool == TMarkTool::Arrow)
            CoverTriangle(map, HeadCorners(mark));
    }
}

} // namespace

TScreenRect MarkBounds(const TMark& mark)
{
    if (mark.tool == TMarkTool::Pixelate)
        return mark.blocksArea;
    if (mark.tool == TMarkTool::Text)
        return mark.ink.area;
    if (mark.points.empty())
        return {};
    switch (mark.tool) {
    case TMarkTool::Rectangle:
    case TMarkTool::Ellipse: return Inflated(DraggedPixels(mark), 1);
    case TMarkTool::Step: return Union(PathBounds({Centre(mark.points[0])}, StepRadius(mark) + 1), mark.ink.area);
    case TMarkTool::Arrow:
        return Union(PathBounds(Path(mark), StrokeRadius(mark) + 1), PathBounds(HeadCorners(mark), 1));
    default: return PathBounds(Path(mark), StrokeRadius(mark) + 1);
    }
}

void DrawMark(TPixelSpan& target, const TMark& mark, const TScreenRect& clip)
{
    const TScreenRect area = Intersection(Intersection(MarkBounds(mark), clip), target.Area());
    if (area.Empty() || target.pixels == nullptr)
        return;
    if (mark.tool == TMarkTool::Pixelate)
        return FillBlocks(target, mark, area);
    if (mark.tool == TMarkTool::Text)
        return DrawCoverage(target, mark.ink, mark.colour, clip);
    TCoverMap map(area);
    CoverShape(map, mark);
    Blend(target, map, mark.colour, mark.tool == TMarkTool::Marker);
    if (mark.tool == TMarkTool::Step)
        DrawCoverage(target, mark.ink, Luminance(mark.colour) > kLightColour ? 0x000000 : 0xFFFFFF, clip);
}

void DrawCoverage(TPixelSpan& target, const TCoverage& ink, uint32_t colour, const TScreenRect& clip)
{
    if (ink.Empty() || ink.alpha.size() != size_t(ink.area.Width()) * size_t(ink.area.Height()) ||
        target.pixels == nullptr)
        return;
    const TScreenRect area = Intersection(Intersection(ink.area, clip), target.Area());
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const uint8_t alpha = ink.alpha[IndexIn(ink.area, x, y)];
            if (alpha != 0)
                PixelAt(target, x, y) = Mixed(PixelAt(target, x, y), colour, alpha / 255.0);
        }
}

TArrowHead ArrowHead(TScreenPoint from, TScreenPoint to, int width)
{
    const TPathPoint start = Centre(from), tip = Centre(to);
    const double length = Length(tip.x - start.x, tip.y - start.y);
    if (length <= 0)
        return {tip.x, tip.y, tip.x, tip.y, tip.x, tip.y};
    const double ux = (tip.x - start.x) / length, uy = (tip.y - start.y) / length;
    const double headLength = std::min(3.0 * std::max(1, width) + 6.0, length / 2);
    const double halfWidth = 0.6 * headLength;
    const double backX = tip.x - ux * headLength, backY = tip.y - uy * headLength;
    // Left of the direction of travel, on a screen whose y runs down.
    return {tip.x, tip.y, backX + uy * halfWidth, backY - ux * halfWidth, backX - uy * halfWidth,
            backY + ux * halfWidth};
}

// Chaikin's corner cutting: each segment gives its points at a quarter and
// three quarters, the ends stay.
static std::vector<TPathPoint> CornersCut(const std::vector<TPathPoint>& path)
{
    if (path.size() < 3)
        return path;
    std::vector<TPathPoint> result{path.front()};
    for (size_t i = 1; i < path.size(); ++i) {
        const TPathPoint a = path[i - 1], b = path[i];
        result.push_back({0.75 * a.x + 0.25 * b.x, 0.75 * a.y + 0.25 * b.y});
        result.push_back({0.25 * a.x + 0.75 * b.x, 0.25 * a.y + 0.75 * b.y});
    }
    result.push_back(path.back());
    return result;
}

std::vector<TPathPoint> SmoothedStroke(const std::vector<TScreenPoint>& points)
{
    std::vector<TPathPoint> path;
    for (size_t i = 0; i < points.size(); ++i)
        if (i == 0 || !(points[i] == points[i - 1]))
            path.push_back(Centre(points[i]));
    return CornersCut(CornersCut(path));
}

// One axis of a pixelate drag: grown to blockSize around the dragged pixels
// and moved onto the screen's span.
static void PixelateSpan(int press, int release, int blockSize, int screenLow, int screenHigh, int& low, int& high)
{
    low = std::clamp(std::min(press, release), screenLow, screenHigh);
    high = std::clamp(std::max(press, release) + 1, screenLow, screenHigh);
    if (high - low < blockSize) {
        low -= (blockSize - (high - low)) / 2;
        high = low + blockSize;
    }
    const int length = std::min(high - low, screenHigh - screenLow);
    low = std::clamp(low, screenLow, std::max(screenLow, screenHigh - length));
    high = low + length;
}

TScreenRect PixelateArea(TScreenPoint press, TScreenPoint release, int blockSize, const TScreenRect& screen)
{
    TScreenRect area;
    PixelateSpan(press.x, release.x, blockSize, screen.left, screen.right, area.left, area.right);
    PixelateSpan(press.y, release.y, blockSize, screen.top, screen.bottom, area.top, area.bottom);
    return area;
}

int BlockCount(int length, int blockSize)
{
    return std::max(1, length / std::max(1, blockSize));
}

TScreenRect BlockRect(const TScreenRect& area, int blockSize, int column, int row)
{
    const long long columns = BlockCount(area.Width(), blockSize), rows = BlockCount(area.Height(), blockSize);
    const auto edgeX = [&](long long i) { return area.left + int(i * area.Width() / columns); };
    const auto edgeY = [&](long long i) { return area.top + int(i * area.Height() / rows); };
    return {edgeX(column), edgeY(row), edgeX(column + 1), edgeY(row + 1)};
}

static uint32_t Average(const TPixelSpan& source, const TScreenRect& block)
{
    const TScreenRect pixels = Intersection(block, source.Area());
    if (pixels.Empty())
        return 0;
    const unsigned long long count = (unsigned long long)(pixels.Width()) * (unsigned long long)(pixels.Height());
    unsigned long long sums[3] = {0, 0, 0};
    for (int y = pixels.top; y < pixels.bottom; ++y)
        for (int x = pixels.left; x < pixels.right; ++x) {
            const uint32_t pixel = source.pixels[IndexIn(source.Area(), x, y)];
            for (int c = 0; c < 3; ++c)
                sums[c] += Channel(pixel, 8 * c);
        }
    uint32_t result = 0;
    for (int c = 0; c < 3; ++c)
        result |= uint32_t((sums[c] + count / 2) / count) << (8 * c);
    return result;
}

std::vector<uint32_t> BlockAverages(const TPixelSpan& source, const TScreenRect& area, int blockSize)
{
    std::vector<uint32_t> averages;
    if (area.Empty() || source.pixels == nullptr)
        return averages;
    const int columns = BlockCount(area.Width(), blockSize), rows = BlockCount(area.Height(), blockSize);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            averages.push_back(Average(source, BlockRect(area, blockSize, column, row)));
    return averages;
}
