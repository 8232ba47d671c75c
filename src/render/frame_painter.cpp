// Drawing only what changed between two frames, pixel for pixel what a full redraw draws.
#include "render/frame_painter.h"

#include "assets/cimage.h"

#include <algorithm>

namespace {

// How far ahead the comparison looks for a blit that was taken out of the frame or put into it
// (a block broken, a shot gone), so that the blits behind it still pair with last frame's.
constexpr size_t kLookAhead = 8;
// More changed rectangles than this and the frame is drawn whole: hundreds of shots flying.
constexpr size_t kMostChanges = 256;
// The rectangles handed to the window are merged down to at most this many.
constexpr size_t kMaxRegions = 8;
// Merging pair by pair costs the cube of the count; past this many the rectangles are first
// gathered by where their centres lie on a coarse grid over the window.
constexpr size_t kGatherFrom = 24;
constexpr int32_t kGatherColumns = 5;
constexpr int32_t kGatherRows = 4;
// From this share of the window on, the frame is drawn whole and flipped.
constexpr int64_t kWholeNumerator = 1;
constexpr int64_t kWholeDenominator = 2;

}  // namespace

bool FramePainter::Blit::operator==(const Blit& other) const
{
    return source == other.source && wholePicture == other.wholePicture && x == other.x && y == other.y &&
           part.x == other.part.x && part.y == other.part.y && part.w == other.part.w &&
           part.h == other.part.h;
}

int64_t FramePainter::Box::Area() const
{
    return Empty() ? 0 : int64_t{right - left} * int64_t{bottom - top};
}

void FramePainter::Begin()
{
    frame.clear();
    framePictures.clear();
}

void FramePainter::Draw(SDL_Surface* source, int32_t x, int32_t y)
{
    if (source == nullptr) {
        return;
    }
    Blit blit;
    blit.source = source;
    const SDL_Rect place = CImage::Rect(x, y, 0, 0);
    blit.x = place.x;
    blit.y = place.y;
    blit.covered = {blit.x, blit.y, blit.x + source->w, blit.y + source->h};
    frame.push_back(blit);
}

void FramePainter::Draw(const std::shared_ptr<SDL_Surface>& source, int32_t x, int32_t y)
{
    if (source == nullptr) {
        return;
    }
    Draw(source.get(), x, y);
    framePictures.push_back(source);
}

void FramePainter::DrawPart(SDL_Surface* source, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t w,
                            int32_t h)
{
    if (source == nullptr) {
        return;
    }
    Blit blit;
    blit.source = source;
    blit.wholePicture = false;
    blit.part = CImage::Rect(srcX, srcY, w, h);
    const SDL_Rect place = CImage::Rect(x, y, 0, 0);
    blit.x = place.x;
    blit.y = place.y;
    // SDL cuts a part that leaves the source and moves the destination by what it cut from the
    // left or top, so the part's size from the given corner always holds what is drawn.
    blit.covered = {blit.x, blit.y, blit.x + blit.part.w, blit.y + blit.part.h};
    frame.push_back(blit);
}

void FramePainter::Perform(SDL_Surface* target, const Blit& blit)
{
    if (blit.wholePicture) {
        CImage::Draw(target, blit.source, blit.x, blit.y);
    } else {
        CImage::DrawPart(target, blit.source, blit.x, blit.y, blit.part.x, blit.part.y, blit.part.w,
                         blit.part.h);
    }
}

void FramePainter::DrawWhole(SDL_Surface* target) const
{
    if (target == nullptr) {
        return;
    }
    for (const Blit& blit : frame) {
        Perform(target, blit);
    }
}

void FramePainter::RedrawWholeWindow()
{
    wholeNext = true;
}

void FramePainter::SetAlwaysWhole(bool whole)
{
    alwaysWhole = whole;
}

void FramePainter::Forget()
{
    shown.clear();
    frame.clear();
    shownPictures.clear();
    framePictures.clear();
    shownOn = nullptr;
    wholeNext = true;
}

double FramePainter::RedrawnShare() const
{
    return stats.windowPixels == 0
               ? 0.0
               : static_cast<double>(stats.pixelsDrawn) / static_cast<double>(stats.windowPixels);
}

void FramePainter::Show(SDL_Surface* screen)
{
    if (screen == nullptr) {
        return;
    }
    MeetWindow(screen);
    const bool whole = !OnlyPartsChanged();
    if (whole) {
        ShowWhole(screen);
    } else {
        PaintRegions(screen);
        PresentRegions(screen);
    }
    Count(whole);
    KeepAsShown(screen);
}

// Another screen surface, or one of another size, holds nothing this painter drew.
void FramePainter::MeetWindow(SDL_Surface* screen)
{
    if (screen != shownOn || screen->w != windowWidth || screen->h != windowHeight) {
        wholeNext = true;
    }
    windowWidth = screen->w;
    windowHeight = screen->h;
}

// True with the changed parts merged into the regions, when they are few and small enough to
// be redrawn alone.
bool FramePainter::OnlyPartsChanged()
{
    if (wholeNext || alwaysWhole || !CollectChanges()) {
        return false;
    }
    MergeRegions();
    return !HalfWindowOrMore(RegionsArea());
}

bool FramePainter::CollectChanges()
{
    changed.clear();
    CompareWithShown();
    if (changed.size() > kMostChanges) {
        return false;
    }
    // Merging only ever grows the rectangles: when they already cover half the window apart,
    // the frame is drawn whole without merging them first.
    int64_t area = 0;
    for (const Box& box : changed) {
        area += box.Area();
    }
    return !HalfWindowOrMore(area);
}

// Blits are paired in order, each with an equal one; a pixel that no unpaired blit covers is
// drawn by the same blits in the same order as last frame, so it has not changed. Stops early
// once there are too many changes to redraw them apart.
void FramePainter::CompareWithShown()
{
    size_t before = 0;
    size_t now = 0;
    while ((before < shown.size() || now < frame.size()) && changed.size() <= kMostChanges) {
        if (before < shown.size() && now < frame.size() && shown[before] == frame[now]) {
            ++before;
            ++now;
            continue;
        }
        const Gap gap = FindGap(before, now);
        if (gap.gone > 0) {
            DirtyRun(shown, before, gap.gone);
        } else if (gap.added > 0) {
            DirtyRun(frame, now, gap.added);
        } else {
            if (before < shown.size()) {
                Dirty(shown[before++]);
            }
            if (now < frame.size()) {
                Dirty(frame[now++]);
            }
        }
    }
}

FramePainter::Gap FramePainter::FindGap(size_t before, size_t now) const
{
    Gap gap;
    for (size_t k = 1; k <= kLookAhead && gap.gone == 0 && gap.added == 0; ++k) {
        if (now < frame.size() && before + k < shown.size() && shown[before + k] == frame[now]) {
            gap.gone = k;
        } else if (before < shown.size() && now + k < frame.size() && shown[before] == frame[now + k]) {
            gap.added = k;
        }
    }
    return gap;
}

void FramePainter::DirtyRun(const std::vector<Blit>& blits, size_t& at, size_t count)
{
    for (; count > 0; --count) {
        Dirty(blits[at++]);
    }
}

void FramePainter::Dirty(const Blit& blit)
{
    // Read from the record only: last frame's source may be gone by now.
    Box box = blit.covered;
    box.left = std::max(box.left, 0);
    box.top = std::max(box.top, 0);
    box.right = std::min(box.right, windowWidth);
    box.bottom = std::min(box.bottom, windowHeight);
    if (!box.Empty()) {
        changed.push_back(box);
    }
}

bool FramePainter::HalfWindowOrMore(int64_t area) const
{
    return area * kWholeDenominator >= int64_t{windowWidth} * windowHeight * kWholeNumerator;
}

void FramePainter::MergeRegions()
{
    std::vector<Box>& merged = spare;
    Absorb(changed, merged);
    if (merged.size() > kGatherFrom) {
        GatherOnGrid(merged, changed);
        Absorb(changed, merged);
    }
    while (merged.size() > kMaxRegions) {
        JoinCheapestPair(merged);
    }
    SetRegions(merged);
}

// Every pair whose joint rectangle is no larger than the two apart is joined: a sprite's old
// and new place, neighbouring blocks.
void FramePainter::Absorb(const std::vector<Box>& boxes, std::vector<Box>& into)
{
    into.clear();
    for (const Box& box : boxes) {
        Box growing = box;
        for (bool joined = true; joined;) {
            joined = false;
            for (size_t i = 0; i < into.size(); ++i) {
                const Box both = growing.JoinedWith(into[i]);
                if (both.Area() <= growing.Area() + into[i].Area()) {
                    growing = both;
                    into.erase(into.begin() + static_cast<std::ptrdiff_t>(i));
                    joined = true;
                    break;
                }
            }
        }
        into.push_back(growing);
    }
}

// The boxes joined by where their centres lie on a coarse grid over the window.
void FramePainter::GatherOnGrid(const std::vector<Box>& boxes, std::vector<Box>& cells) const
{
    Box grid[kGatherColumns * kGatherRows];
    for (const Box& box : boxes) {
        const int32_t column =
            std::clamp((box.left + box.right) / 2 * kGatherColumns / windowWidth, 0, kGatherColumns - 1);
        const int32_t row =
            std::clamp((box.top + box.bottom) / 2 * kGatherRows / windowHeight, 0, kGatherRows - 1);
        Box& cell = grid[row * kGatherColumns + column];
        cell = cell.Empty() ? box : cell.JoinedWith(box);
    }
    cells.clear();
    for (const Box& cell : grid) {
        if (!cell.Empty()) {
            cells.push_back(cell);
        }
    }
}

// Joins the two boxes whose joint rectangle adds the fewest pixels.
void FramePainter::JoinCheapestPair(std::vector<Box>& boxes)
{
    size_t bestA = 0;
    size_t bestB = 1;
    int64_t bestCost = INT64_MAX;
    for (size_t a = 0; a < boxes.size(); ++a) {
        for (size_t b = a + 1; b < boxes.size(); ++b) {
            const int64_t cost = boxes[a].JoinedWith(boxes[b]).Area() - boxes[a].Area() - boxes[b].Area();
            if (cost < bestCost) {
                bestCost = cost;
                bestA = a;
                bestB = b;
            }
        }
    }
    boxes[bestA] = boxes[bestA].JoinedWith(boxes[bestB]);
    boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(bestB));
}

void FramePainter::SetRegions(const std::vector<Box>& boxes)
{
    regions.clear();
    for (const Box& box : boxes) {
        regions.push_back(CImage::Rect(box.left, box.top, box.right - box.left, box.bottom - box.top));
    }
}

int64_t FramePainter::RegionsArea() const
{
    int64_t area = 0;
    for (const SDL_Rect& region : regions) {
        area += int64_t{region.w} * int64_t{region.h};
    }
    return area;
}

// Each region is redrawn by the blits that reach into it, clipped to it.
void FramePainter::PaintRegions(SDL_Surface* screen) const
{
    for (const SDL_Rect& region : regions) {
        SDL_SetClipRect(screen, &region);
        const Box clip{region.x, region.y, region.x + region.w, region.y + region.h};
        for (const Blit& blit : frame) {
            if (blit.covered.Overlaps(clip)) {
                Perform(screen, blit);
            }
        }
    }
    SDL_SetClipRect(screen, nullptr);
}

void FramePainter::PresentRegions(SDL_Surface* screen)
{
    if (!regions.empty()) {
        SDL_UpdateRects(screen, static_cast<int>(regions.size()), regions.data());
    }
}

void FramePainter::ShowWhole(SDL_Surface* screen)
{
    SDL_SetClipRect(screen, nullptr);
    DrawWhole(screen);
    SDL_Flip(screen);
    regions.assign(1, CImage::Rect(0, 0, windowWidth, windowHeight));
}

void FramePainter::Count(bool whole)
{
    const uint64_t window = static_cast<uint64_t>(windowWidth) * static_cast<uint64_t>(windowHeight);
    ++stats.frames;
    stats.windowPixels += window;
    if (whole) {
        ++stats.wholeFrames;
        stats.pixelsDrawn += window;
    } else {
        stats.quietFrames += regions.empty() ? 1 : 0;
        stats.pixelsDrawn += static_cast<uint64_t>(RegionsArea());
    }
}

void FramePainter::KeepAsShown(SDL_Surface* screen)
{
    wholeNext = false;
    shownOn = screen;
    // Copies rather than swaps: the frame stays collected for DrawWhole until the next Begin.
    shown = frame;
    shownPictures = framePictures;
}
