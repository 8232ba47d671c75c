// The application's life cycle: start-up, the main loop and shutdown.
#include "app/shooter.h"

#include "app/process_guard.h"
#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "field/level_generator.h"
#include "field/map.h"
#include "field/projectile.h"
#include "field/tuning.h"
#include "render/bar_lights.h"
#include "render/shooter_createinterface.h"
#include "render/shooter_onrender.h"

#include <unistd.h>

#include <ctime>
#include <initializer_list>
#include <string>

namespace {

constexpr int kWindowDepth = 32;  // bits per pixel

void FreeSurface(SDL_Surface*& surface)
{
    SDL_FreeSurface(surface);
    surface = nullptr;
}

constexpr const char* kGameName = "Farmyard Cannon";

// The window list's title and the window's icon; SDL takes the icon only before the window
// opens. The icon is optional: without its picture the window simply has none.
void NameWindow()
{
    SDL_WM_SetCaption(kGameName, kGameName);
    SDL_Surface* icon = CImage::LoadUnconverted(Asset::kWindowIcon);
    if (icon == nullptr) {
        return;
    }
    SDL_SetColorKey(icon, SDL_SRCCOLORKEY,
                    SDL_MapRGB(icon->format, Asset::kColourKey.r, Asset::kColourKey.g, Asset::kColourKey.b));
    SDL_WM_SetIcon(icon, nullptr);
    SDL_FreeSurface(icon);
}

// A picture's path as the player finds it: from the folder the game runs in.
std::string WhereIs(const char* path)
{
    std::string where(path);
    if (where.starts_with("./")) {
        where.erase(0, 2);
    }
    char folder[4096];
    if (getcwd(folder, sizeof(folder)) != nullptr) {
        where = std::string(folder) + "/" + where;
    }
    return where;
}

void TellArtworkRefused(const char* path)
{
    ProcessGuard::TellLauncher("the game's artwork is not usable: " + WhereIs(path) + " is " +
                               CImage::LastRefusal());
}

// The game needs a window and its events, and nothing else of SDL's: it paces itself with the
// system's clock and reads no joystick. It plays no sound, so it never starts SDL's audio: a
// sound server that hangs cannot hold it up, and a machine without a sound card has the sound
// library print nothing.
bool StartSdl()
{
    return SDL_Init(SDL_INIT_VIDEO) >= 0;
}

SDL_Surface* NameAndOpenWindow()
{
    NameWindow();
    return SDL_SetVideoMode(Asset::kWindowWidth, Asset::kWindowHeight, kWindowDepth,
                            SDL_HWSURFACE | SDL_DOUBLEBUF);
}

}  // namespace

Shooter::Shooter() : pacer(SystemClock::Instance()) {}

Shooter::~Shooter() = default;

int Shooter::OnExecute()
{
    if (!OnInit()) {
        ReleaseImages();
        return -1;
    }
    ProcessGuard::Playing();
    while (running) {
        const uint32_t steps = pacer.StartFrame();
        RunFrame(steps);
        pacer.FinishFrame();
    }
    OnCleanup();
    return 0;
}

void Shooter::RunFrame(uint32_t steps)
{
    SDL_Event event;
    // The whole queue is handled before the frame's rules, even after a quit request.
    while (SDL_PollEvent(&event) != 0) {
        OnEvent(&event);
    }
    if (ProcessGuard::TakeQuitSignal()) {
        OnExit();
    }
    for (uint32_t step = 0; step < steps; ++step) {
        OnLoop();
    }
    OnRender();
}

bool Shooter::OnInit()
{
    // The field's pictures are checked before the display is opened, so that the launcher hears
    // of every one that is wrong.
    if (!CheckFieldPictures() || !OpenWindow() || !LoadImages()) {
        return false;
    }
    InitPhysics();
    ResetCounters();
    CreateMap();
    CreateInterface();
    return true;
}

// Under the guard's watch on the display; the launcher hears why the window did not open.
bool Shooter::OpenWindow()
{
    screen = ProcessGuard::OpenWatchedWindow({StartSdl, NameAndOpenWindow});
    return screen != nullptr;
}

bool Shooter::CheckFieldPictures()
{
    bool complete = true;
    for (const Asset::Bitmap* bitmap : Asset::kFieldBitmaps) {
        if (!CImage::Check(*bitmap)) {
            complete = false;
            TellArtworkRefused(bitmap->path);
        }
    }
    return complete;
}

bool Shooter::LoadImages()
{
    struct Wanted {
        const Asset::Bitmap& bitmap;
        OwnedSurface* field;
    };
    const Wanted wanted[] = {
        {Asset::kBlockTileset, &blockTileset}, {Asset::kBackground, &background}, {Asset::kCannon, &p1Cannon},
        {Asset::kTarget1, &target1},           {Asset::kTarget2, &target2},       {Asset::kBullet, &ball},
    };
    // Every picture is tried, so that the launcher can name each one that is wrong.
    bool complete = true;
    for (const Wanted& image : wanted) {
        *image.field = CImage::LoadOwned(image.bitmap);
        if (*image.field == nullptr) {
            complete = false;
            TellArtworkRefused(image.bitmap.path);
        }
    }
    if (!complete) {
        return false;
    }
    // Everything but the background shows the field behind its colour key.
    for (const OwnedSurface* keyed : {&blockTileset, &p1Cannon, &target1, &target2, &ball}) {
        CImage::SetTransparent(keyed->get(), Asset::kColourKey.r, Asset::kColourKey.g, Asset::kColourKey.b);
    }
    // The shots' pictures too, so that firing never reads the disk.
    ShotPictures::Load();
    return true;
}

void Shooter::InitPhysics()
{
    gravity = b2Vec2(0.0f, Tuning::kGravityY);
    doSleep = Tuning::kAllowSleep;
    velocityIterations = Tuning::kVelocityIterations;
    positionIterations = Tuning::kPositionIterations;
    timeStep = Tuning::kTimeStep;
}

void Shooter::ResetCounters()
{
    targetsLeft = Tuning::kTargetCount;
    aimState = AimState::Idle;
    aimScale = Tuning::kAimForcePerPixel;
    aim = b2Vec2(0.0f, 0.0f);
    projectileKind = ProjectileKind::Pig;
    lastProjectile.reset();
    gridWidth = Tuning::kFieldWidth;
    gridHeight = Tuning::kFieldHeight;
    gameState = GameState::StartScreen;
}

void Shooter::SetLevelSeed(unsigned seed)
{
    levelSeed = seed;
}

void Shooter::GenerateLevel()
{
    GenerateLevel(levelSeed ? *levelSeed : static_cast<unsigned>(std::time(nullptr)));
}

void Shooter::GenerateLevel(unsigned seed)
{
    Levels::GenerateLevel(CurrentMap(), seed, targetsLeft);
}

void Shooter::CreateMap()
{
    map = std::make_unique<Map>(gridWidth, gridHeight, gravity, doSleep);
}

Map& Shooter::CurrentMap()
{
    return *map;
}

void Shooter::OnCleanup()
{
    painter.Forget();  // it holds on to the pictures of the shots last drawn
    blockTileset.reset();
    background.reset();
    p1Cannon.reset();

    // The pictures of the projectiles still flying, shared by kind, also with the launch record.
    ShotPictures::Release();
    lastProjectile.reset();
    if (map != nullptr) {
        for (Projectile& projectile : map->projectiles) {
            projectile.sprite.reset();
        }
    }

    // Each interface picture once, also the one every cake icon shows.
    interfaces.ReleasePictures();

    target1.reset();
    target2.reset();
    ball.reset();

    FreeSurface(screen);  // SDL leaves the display surface alone; SDL_Quit releases it
    SDL_Quit();
}

void Shooter::ReleaseImages()
{
    for (OwnedSurface* image : {&blockTileset, &background, &p1Cannon, &target1, &target2, &ball}) {
        image->reset();
    }
    ShotPictures::Release();
}

void Shooter::SetClock(FrameClock& clock)
{
    pacer.SetClock(clock);
}

void Shooter::AllowCatchUp(uint32_t maxSteps, uint32_t mostFramesBehind)
{
    pacer.AllowCatchUp(maxSteps, mostFramesBehind);
}

void Shooter::OnEvent(SDL_Event* event)
{
    // The window may have lost what it showed (uncovered, restored, resized, focus handed
    // back), whichever handler the event reaches, if any: the next frame is drawn whole.
    if (event->type == SDL_VIDEOEXPOSE || event->type == SDL_ACTIVEEVENT || event->type == SDL_VIDEORESIZE) {
        painter.RedrawWholeWindow();
    }
    CEvent::OnEvent(event);
}

void Shooter::CreateInterface()
{
    Render::CreateInterface(interfaces, targetsLeft);
    BarLights::Show(interfaces, projectileKind, aimState == AimState::WaitingForAction);
}

void Shooter::OnRender()
{
    painter.Begin();
    RenderBackground();
    if (gameState == GameState::Playing || gameState == GameState::Ended) {
        RenderMap();
    }
    RenderInterface();
    painter.Show(screen);
}

void Shooter::RenderBackground()
{
    Render::Background(painter, background.get());
}

void Shooter::RenderMap()
{
    Render::Field(painter, CurrentMap(), {blockTileset.get(), p1Cannon.get(), ball.get()});
}

void Shooter::RenderInterface()
{
    Render::Interface(painter, interfaces);
}

int Shooter::DamageFrame(float strength, float fullStrength)
{
    return Render::DamageFrame(strength, fullStrength);
}

void Shooter::OnExit()
{
    running = false;
}
