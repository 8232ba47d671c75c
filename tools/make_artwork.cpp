// Draws every picture of the game (24-bit BMPs, magenta = see-through) and its desktop icons (PNGs).
// Run: make_artwork [bmp_dir [icon_dir]]. To change a sprite, change its drawing in tools/artwork/.
#include "artwork/drawings.h"
#include "assets/asset_catalog.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

// One bitmap the tool writes and the drawing that makes it; the drawing must match the bitmap's size.
struct Output {
    Asset::Bitmap bitmap;
    Image (*draw)();
};

// Every bitmap of Asset::kBitmaps, in the same order.
const Output kOutputs[] = {
    {Asset::kBackground, DrawBackground},
    {Asset::kBlockTileset, DrawBlockTileset},
    {Asset::kTopBar, DrawTopBar},
    {Asset::kBotBar, DrawBotBar},
    {Asset::kTarget1, [] { return DrawCrosshair(Asset::kTarget1.width); }},
    {Asset::kTarget1Interface, [] { return DrawCrosshair(Asset::kTarget1Interface.width); }},
    {Asset::kTarget2, [] { return DrawCrosshair(Asset::kTarget2.width); }},
    {Asset::kTarget2Interface, [] { return DrawCrosshair(Asset::kTarget2Interface.width); }},
    {Asset::kCake, [] { return DrawCake(Asset::kCake.width); }},
    {Asset::kStartButton, DrawStartButton},
    {Asset::kEndPicture, DrawEndPicture},
    {Asset::kCannon, DrawCannon},
    {Asset::kBullet, DrawBall},
    {Asset::kPig, DrawPig},
    {Asset::kCow, DrawCow},
    {Asset::kSheep, DrawSheep},
    {Asset::kWindowIcon, [] { return DrawIcon(Asset::kWindowIcon.width); }},
    {Asset::kLitPig, DrawLitPig},
    {Asset::kLitCow, DrawLitCow},
    {Asset::kLitSheep, DrawLitSheep},
    {Asset::kLitTrick, DrawLitTrick},
};

static_assert(std::size(kOutputs) == std::size(Asset::kBitmaps), "every bitmap of the game has a drawing");

void WriteBitmaps(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    for (const Output& output : kOutputs) {
        const Image image = output.draw();
        const std::filesystem::path path = folder / output.bitmap.FileName();
        if (image.Width() != output.bitmap.width || image.Height() != output.bitmap.height) {
            throw std::runtime_error(path.string() + " is drawn at another size than the game expects");
        }
        WriteBmp(image, path);
    }
}

void WriteDesktopIcons(const std::filesystem::path& folder)
{
    for (int size : Asset::kDesktopIconSizes) {
        const std::string sizeFolder = std::to_string(size) + "x" + std::to_string(size);
        WriteIconPng(size, folder / sizeFolder / "apps" / Asset::kDesktopIconName);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const std::filesystem::path bmpFolder = argc > 1 ? argv[1] : "bmp";
        const std::filesystem::path iconFolder = argc > 2 ? argv[2] : "desktop/icons";
        WriteBitmaps(bmpFolder);
        WriteDesktopIcons(iconFolder);
        std::cout << "artwork written to " << bmpFolder.string() << ", icons to " << iconFolder.string()
                  << "\n";
    } catch (const std::exception& e) {
        std::cerr << "make_artwork: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
