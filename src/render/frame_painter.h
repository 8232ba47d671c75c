// Putting a frame on the window: the blits of a full redraw are collected in drawing order and
// compared with the frame shown before, and only the parts of the window that changed are
// drawn again and handed to the window.
#pragma once

#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class FramePainter {
public:
    // Starts collecting a frame. Each blit below stands for one CImage::Draw or DrawPart of a
    // full redraw, in the order a full redraw makes them, and is drawn with that operation; a
    // null source draws nothing.
    void Begin();
    void Draw(SDL_Surface* source, int32_t x, int32_t y);
    // Holds on to the picture until the next frame has been compared with this one, so that no
    // other picture can take its address in the meantime and pass for it.
    void Draw(const std::shared_ptr<SDL_Surface>& source, int32_t x, int32_t y);
    void DrawPart(SDL_Surface* source, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t w,
                  int32_t h);

    // Puts the collected frame on the window. Every blit whose source, part or position differs
    // from the frame shown before dirties the rectangle it covered then or covers now; those
    // rectangles, merged into a few, are redrawn with the whole frame clipped to them and handed
    // to SDL_UpdateRects. The whole window is redrawn and flipped instead on the first frame,
    // after RedrawWholeWindow, when the screen surface is another one, and when the rectangles
    // would cover half the window or more. A frame that changed nothing draws nothing.
    // Pictures are taken to keep their pixels: a sprite shows something else by pointing at
    // another surface, or by being hidden or shown.
    void Show(SDL_Surface* screen);
    // The whole collected frame onto any surface, as a full redraw draws it, without a flip.
    void DrawWhole(SDL_Surface* target) const;

    // The window may have lost its picture (uncovered, restored, focus handed back): the next
    // frame is drawn and flipped whole.
    void RedrawWholeWindow();
    // Every frame drawn and flipped whole, as a full redraw does: for comparisons with drawing
    // only what changed.
    void SetAlwaysWhole(bool whole);
    // Lets go of the frames kept for comparison and of the pictures they hold; the next frame
    // is drawn whole.
    void Forget();

    struct Statistics {
        uint64_t frames = 0;
        uint64_t wholeFrames = 0;   // drawn and flipped whole
        uint64_t quietFrames = 0;   // nothing changed, nothing drawn
        uint64_t pixelsDrawn = 0;   // summed over the rectangles redrawn
        uint64_t windowPixels = 0;  // summed over the frames: the window's size each time
    };
    const Statistics& Stats() const { return stats; }
    void ResetStats() { stats = Statistics{}; }
    // Average share of the window redrawn per frame, 0 to 1.
    double RedrawnShare() const;
    // The rectangles the last Show handed to the window: the whole window after a full redraw,
    // none after a quiet frame.
    const std::vector<SDL_Rect>& LastRegions() const { return regions; }

private:
    struct Box {  // half-open pixel rectangle, in int32 so nothing wraps
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;
        int32_t bottom = 0;

        int64_t Area() const;
        bool Empty() const { return right <= left || bottom <= top; }
        bool Overlaps(const Box& other) const
        {
            return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
        }
        Box JoinedWith(const Box& other) const  // the smallest box holding both
        {
            return Box{std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                       std::max(bottom, other.bottom)};
        }
    };

    struct Blit {
        SDL_Surface* source = nullptr;
        SDL_Rect part{};  // of the source, as SDL receives it; whole source when w and h are 0
        Sint16 x = 0;     // destination, as SDL receives it
        Sint16 y = 0;
        bool wholePicture = true;  // Draw rather than DrawPart
        Box covered;               // every pixel it may change, worked out while the source was there

        bool operator==(const Blit& other) const;
    };
    // How many blits of the frame shown before were taken out (gone) or put in (added) at one
    // point of the comparison; both 0 when neither pairs the two frames up again.
    struct Gap {
        size_t gone = 0;
        size_t added = 0;
    };

    static void Perform(SDL_Surface* target, const Blit& blit);

    // Deciding: which parts of the window changed, or whether it is drawn whole.
    void MeetWindow(SDL_Surface* screen);
    bool OnlyPartsChanged();
    bool CollectChanges();  // false when the whole window should be redrawn instead
    void CompareWithShown();
    Gap FindGap(size_t before, size_t now) const;
    void DirtyRun(const std::vector<Blit>& blits, size_t& at, size_t count);
    void Dirty(const Blit& blit);
    bool HalfWindowOrMore(int64_t area) const;
    void MergeRegions();
    static void Absorb(const std::vector<Box>& boxes, std::vector<Box>& into);
    void GatherOnGrid(const std::vector<Box>& boxes, std::vector<Box>& cells) const;
    static void JoinCheapestPair(std::vector<Box>& boxes);
    void SetRegions(const std::vector<Box>& boxes);
    int64_t RegionsArea() const;

    // Painting and presenting.
    void PaintRegions(SDL_Surface* screen) const;
    void PresentRegions(SDL_Surface* screen);
    void ShowWhole(SDL_Surface* screen);

    // Keeping count and keeping the frame.
    void Count(bool whole);
    void KeepAsShown(SDL_Surface* screen);

    std::vector<Blit> shown;  // the frame on the window
    std::vector<Blit> frame;  // the frame being collected
    std::vector<std::shared_ptr<SDL_Surface>> shownPictures;
    std::vector<std::shared_ptr<SDL_Surface>> framePictures;
    std::vector<Box> changed;
    std::vector<Box> spare;
    std::vector<SDL_Rect> regions;
    SDL_Surface* shownOn = nullptr;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    bool wholeNext = true;
    bool alwaysWhole = false;
    Statistics stats;
};
