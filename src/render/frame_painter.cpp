// Drawing only what changed between two frames, pixel for pixel what a full redraw draws.
#include "render/frame_painter.h"

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
    return source == other.source && whole == other.whole && x == other.x && y == other.y &&
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
    // SDL keeps the low 16 bits of a position, as CImage hands it over.
    Blit blit;
    blit.source = source;
    blit.x = static_cast<Sint16>(x);
    blit.y = static_cast<Sint16>(y);
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
    blit.whole = false;
    blit.part.x = static_cast<Sint16>(srcX);
    blit.part.y = static_cast<Sint16>(srcY);
    blit.part.w = static_cast<Uint16>(w);
    blit.part.h = static_cast<Uint16>(h);
    blit.x = static_cast<Sint16>(x);
    blit.y = static_cast<Sint16>(y);
    // SDL cuts a part that leaves the source and moves the destination by what it cut from the
    // left or top, so the part's size from the given corner always holds what is drawn.
    blit.covered = {blit.x, blit.y, blit.x + blit.part.w, blit.y + blit.part.h};
    frame.push_back(blit);
}

void FramePainter::Perform(SDL_Surface* target, const Blit& blit)
{
    SDL_Rect destination{blit.x, blit.y, 0, 0};  // SDL writes the clipped size into this copy
    SDL_Rect part = blit.part;
    SDL_BlitSurface(blit.source, blit.whole ? nullptr : &part, target, &destination);
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

bool FramePainter::CollectChanges()
{
    // Blits are paired in order, each with an equal one; a pixel that no unpaired blit covers
    // is drawn by the same blits in the same order as last frame, so it has not changed.
    changed.clear();
    size_t before = 0;
    size_t now = 0;
    while (before < shown.size() || now < frame.size()) {
        if (changed.size() > kMostChanges) {
            return false;
        }
        if (before < shown.size() && now < frame.size() && shown[before] == frame[now]) {
            ++before;
            ++now;
            continue;
        }
        size_t gone = 0;
        size_t added = 0;
        for (size_t k = 1; k <= kLookAhead && gone == 0 && added == 0; ++k) {
            if (now < frame.size() && before + k < shown.size() && shown[before + k] == frame[now]) {
                gone = k;
            } else if (before < shown.size() && now + k < frame.size() && shown[before] == frame[now + k]) {
                added = k;
            }
        }
        if (gone > 0) {
            for (; gone > 0; --gone) {
                Dirty(shown[before++]);
            }
        } else if (added > 0) {
            for (; added > 0; --added) {
                Dirty(frame[now++]);
            }
        } else {
            if (before < shown.size()) {
                Dirty(shown[before++]);
            }
            if (now < frame.size()) {
                Dirty(frame[now++]);
            }
        }
    }
    if (changed.size() > kMostChanges) {
        return false;
    }
    // Merging only ever grows the rectangles: when they already cover half the window apart,
    // the frame is drawn whole without merging them first.
    int64_t area = 0;
    for (const Box& box : changed) {
        area += box.Area();
    }
    return area * kWholeDenominator < int64_t{windowWidth} * windowHeight * kWholeNumerator;
}

void FramePainter::MergeRegions()
{
    auto join = [](const Box& a, const Box& b) {
        return Box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom)};
    };
    // First every pair whose joint rectangle is no larger than the two apart: a sprite's old and
    // new place, neighbouring blocks.
    auto absorb = [&join](const std::vector<Box>& boxes, std::vector<Box>& into) {
        into.clear();
        for (const Box& box : boxes) {
            Box growing = box;
            for (bool joined = true; joined;) {
                joined = false;
                for (size_t i = 0; i < into.size(); ++i) {
                    const Box both = join(growing, into[i]);
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
    };
    std::vector<Box>& merged = spare;
    absorb(changed, merged);
    if (merged.size() > kGatherFrom) {
        Box cells[kGatherColumns * kGatherRows];
        for (const Box& box : merged) {
            const int32_t column =
                std::clamp((box.left + box.right) / 2 * kGatherColumns / windowWidth, 0, kGatherColumns - 1);
            const int32_t row =
                std::clamp((box.top + box.bottom) / 2 * kGatherRows / windowHeight, 0, kGatherRows - 1);
            Box& cell = cells[row * kGatherColumns + column];
            cell = cell.Empty() ? box : join(cell, box);
        }
        changed.clear();
        for (const Box& cell : cells) {
            if (!cell.Empty()) {
                changed.push_back(cell);
            }
        }
        absorb(changed, merged);
    }
    // Then the pair that adds the fewest pixels, until few enough are left.
    while (merged.size() > kMaxRegions) {
        size_t bestA = 0;
        size_t bestB = 1;
        int64_t bestCost = INT64_MAX;
        for (size_t a = 0; a < merged.size(); ++a) {
            for (size_t b = a + 1; b < merged.size(); ++b) {
                const int64_t cost = join(merged[a], merged[b]).Area() - merged[a].Area() - merged[b].Area();
                if (cost < bestCost) {
                    bestCost = cost;
                    bestA = a;
                    bestB = b;
                }
            }
        }
        merged[bestA] = join(merged[bestA], merged[bestB]);
        merged.erase(merged.begin() + static_cast<std::ptrdiff_t>(bestB));
    }
    regions.clear();
    for (const Box& box : merged) {
        regions.push_back(SDL_Rect{static_cast<Sint16>(box.left), static_cast<Sint16>(box.top),
                                   static_cast<Uint16>(box.right - box.left),
                                   static_cast<Uint16>(box.bottom - box.top)});
    }
}

void FramePainter::ShowWhole(SDL_Surface* screen)
{
    SDL_SetClipRect(screen, nullptr);
    DrawWhole(screen);
    SDL_Flip(screen);
    regions.assign(1, SDL_Rect{0, 0, static_cast<Uint16>(windowWidth), static_cast<Uint16>(windowHeight)});
    ++stats.wholeFrames;
    stats.pixelsDrawn += static_cast<uint64_t>(windowWidth) * static_cast<uint64_t>(windowHeight);
}

void FramePainter::Show(SDL_Surface* screen)
{
    if (screen == nullptr) {
        return;
    }
    if (screen != shownOn || screen->w != windowWidth || screen->h != windowHeight) {
        wholeNext = true;
    }
    windowWidth = screen->w;
    windowHeight = screen->h;
    ++stats.frames;
    stats.windowPixels += static_cast<uint64_t>(windowWidth) * static_cast<uint64_t>(windowHeight);

    bool whole = wholeNext || alwaysWhole || !CollectChanges();
    if (!whole) {
        MergeRegions();
        int64_t area = 0;
        for (const SDL_Rect& region : regions) {
            area += int64_t{region.w} * int64_t{region.h};
        }
        whole = area * kWholeDenominator >= int64_t{windowWidth} * windowHeight * kWholeNumerator;
        if (!whole) {
            for (SDL_Rect& region : regions) {
                SDL_SetClipRect(screen, &region);
                const Box clip{region.x, region.y, region.x + region.w, region.y + region.h};
                for (const Blit& blit : frame) {
                    const Box& covered = blit.covered;
                    if (covered.left < clip.right && clip.left < covered.right && covered.top < clip.bottom &&
                        clip.top < covered.bottom) {
                        Perform(screen, blit);
                    }
                }
            }
            SDL_SetClipRect(screen, nullptr);
            if (regions.empty()) {
                ++stats.quietFrames;
            } else {
                SDL_UpdateRects(screen, static_cast<int>(regions.size()), regions.data());
            }
            stats.pixelsDrawn += static_cast<uint64_t>(area);
        }
    }
    if (whole) {
        ShowWhole(screen);
    }
    wholeNext = false;
    shownOn = screen;
    // Copies rather than swaps: the frame stays collected for DrawWhole until the next Begin.
    shown = frame;
    shownPictures = framePictures;
}
