// Event routing: every SDL event reaches exactly one handler with its fields unpacked, or none.
#include "app/cevent.h"
#include "game_fixture.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// Writes one line per handler call: the handler's name and its arguments.
class RecordingEvents : public CEvent {
public:
    std::vector<std::string> calls;

    void OnInputFocus() override { Record("InputFocus"); }
    void OnInputBlur() override { Record("InputBlur"); }
    void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode) override
    {
        Record("KeyDown", static_cast<int>(sym), static_cast<int>(mod), unicode);
    }
    void OnKeyUp(SDLKey sym, SDLMod mod, Uint16 unicode) override
    {
        Record("KeyUp", static_cast<int>(sym), static_cast<int>(mod), unicode);
    }
    void OnMouseFocus() override { Record("MouseFocus"); }
    void OnMouseBlur() override { Record("MouseBlur"); }
    void OnMouseMove(int32_t x, int32_t y, int32_t relX, int32_t relY, bool left, bool right,
                     bool middle) override
    {
        Record("MouseMove", x, y, relX, relY, left ? "L" : "-", right ? "R" : "-", middle ? "M" : "-");
    }
    void OnMouseSpare(int32_t a, int32_t b) override { Record("MouseSpare", a, b); }
    void OnLButtonDown(int32_t x, int32_t y) override { Record("LButtonDown", x, y); }
    void OnLButtonUp(int32_t x, int32_t y) override { Record("LButtonUp", x, y); }
    void OnRButtonDown(int32_t x, int32_t y) override { Record("RButtonDown", x, y); }
    void OnRButtonUp(int32_t x, int32_t y) override { Record("RButtonUp", x, y); }
    void OnMButtonDown(int32_t x, int32_t y) override { Record("MButtonDown", x, y); }
    void OnMButtonUp(int32_t x, int32_t y) override { Record("MButtonUp", x, y); }
    void OnMinimize() override { Record("Minimize"); }
    void OnRestore() override { Record("Restore"); }
    void OnResize(int32_t w, int32_t h) override { Record("Resize", w, h); }
    void OnExpose() override { Record("Expose"); }
    void OnExit() override { Record("Exit"); }
    void OnUser(Uint8 type, int32_t code, void* data1, void* data2) override
    {
        Record("User", static_cast<int>(type), code, data1, data2);
    }

private:
    template <typename... Args>
    void Record(const char* name, const Args&... args)
    {
        std::ostringstream line;
        line << name;
        ((line << ' ' << args), ...);
        calls.push_back(line.str());
    }
};

// The handler calls one event causes, as "Name arg arg ..." lines.
std::vector<std::string> Dispatch(SDL_Event event)
{
    RecordingEvents events;
    events.OnEvent(&event);
    return events.calls;
}

using Calls = std::vector<std::string>;

SDL_Event Active(Uint8 state, Uint8 gain)
{
    SDL_Event event{};
    event.type = SDL_ACTIVEEVENT;
    event.active.type = SDL_ACTIVEEVENT;
    event.active.state = state;
    event.active.gain = gain;
    return event;
}

SDL_Event OfType(Uint8 type)
{
    SDL_Event event{};
    event.type = type;
    return event;
}

std::string Pointer(const void* p)
{
    std::ostringstream text;
    text << p;
    return text.str();
}

}  // namespace

TEST(CEventTest, ActiveEventsRouteOneFlagAtATimeAndCombinationsReachNothing)
{
    struct Case {
        Uint8 state;
        Uint8 gain;
        Calls expected;
    };
    const Case cases[] = {
        {SDL_APPMOUSEFOCUS, 1, {"MouseFocus"}},
        {SDL_APPMOUSEFOCUS, 0, {"MouseBlur"}},
        {SDL_APPINPUTFOCUS, 1, {"InputFocus"}},
        {SDL_APPINPUTFOCUS, 0, {"InputBlur"}},
        {SDL_APPACTIVE, 1, {"Restore"}},
        {SDL_APPACTIVE, 0, {"Minimize"}},
        // Any nonzero gain counts as a gain.
        {SDL_APPINPUTFOCUS, 7, {"InputFocus"}},
        // Several flags at once, or none: no handler.
        {SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS, 1, {}},
        {SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS, 0, {}},
        {SDL_APPINPUTFOCUS | SDL_APPACTIVE, 1, {}},
        {SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS | SDL_APPACTIVE, 0, {}},
        {0, 1, {}},
        {0x08, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "active event, state " << int(c.state) << ", gain " << int(c.gain));
        EXPECT_EQ(Dispatch(Active(c.state, c.gain)), c.expected);
    }
}

TEST(CEventTest, KeysPassSymModifierAndCharacterUnchanged)
{
    EXPECT_EQ(Dispatch(KeyEvent(SDL_KEYDOWN, SDLK_x, KMOD_LSHIFT, 'X')),
              (Calls{"KeyDown " + std::to_string(SDLK_x) + " " + std::to_string(KMOD_LSHIFT) + " 88"}));
    EXPECT_EQ(Dispatch(KeyEvent(SDL_KEYUP, SDLK_ESCAPE, KMOD_NONE, 27)),
              (Calls{"KeyUp " + std::to_string(SDLK_ESCAPE) + " 0 27"}));
    // The character is passed as the full 16-bit value.
    EXPECT_EQ(Dispatch(KeyEvent(SDL_KEYDOWN, SDLK_c, static_cast<SDLMod>(KMOD_RCTRL | KMOD_LALT), 0xFFFF)),
              (Calls{"KeyDown " + std::to_string(SDLK_c) + " " + std::to_string(KMOD_RCTRL | KMOD_LALT) +
                     " 65535"}));
}

TEST(CEventTest, KeyCodesOutsideSdlsRangeReachNoHandler)
{
    // The queue carries key codes as plain integers; write them as such.
    const auto rawKey = [](Uint8 type, long long sym, long long mod) {
        SDL_Event event = KeyEvent(type, SDLK_UNKNOWN);
        const auto rawSym = static_cast<std::underlying_type_t<SDLKey>>(sym);
        const auto rawMod = static_cast<std::underlying_type_t<SDLMod>>(mod);
        std::memcpy(&event.key.keysym.sym, &rawSym, sizeof(rawSym));
        std::memcpy(&event.key.keysym.mod, &rawMod, sizeof(rawMod));
        return event;
    };
    for (const long long sym : {static_cast<long long>(SDLK_LAST), 511LL, 35023LL, 65535LL, -1LL}) {
        SCOPED_TRACE(testing::Message() << "key code " << sym);
        EXPECT_EQ(Dispatch(rawKey(SDL_KEYDOWN, sym, KMOD_NONE)), Calls{});
        EXPECT_EQ(Dispatch(rawKey(SDL_KEYUP, sym, KMOD_LSHIFT)), Calls{});
    }
    EXPECT_EQ(Dispatch(rawKey(SDL_KEYDOWN, SDLK_UNDO, 0x1FFFF)),
              (Calls{"KeyDown " + std::to_string(SDLK_UNDO) + " 65535 0"}))
        << "the last key is known; modifiers keep SDL's 16 bits";
}

TEST(CEventTest, MouseMotionUnpacksPositionsRelativeMotionAndButtonsInLeftRightMiddleOrder)
{
    // Mask bits: left 1, middle 2, right 4; the handler takes left, right, middle.
    struct Case {
        Uint8 buttons;
        const char* flags;
    };
    const Case cases[] = {
        {0, "- - -"},
        {SDL_BUTTON_LMASK, "L - -"},
        {SDL_BUTTON_MMASK, "- - M"},
        {SDL_BUTTON_RMASK, "- R -"},
        {SDL_BUTTON_LMASK | SDL_BUTTON_RMASK, "L R -"},
        {SDL_BUTTON_LMASK | SDL_BUTTON_MMASK, "L - M"},
        {SDL_BUTTON_MMASK | SDL_BUTTON_RMASK, "- R M"},
        {SDL_BUTTON_LMASK | SDL_BUTTON_MMASK | SDL_BUTTON_RMASK, "L R M"},
        // Wheel bits are not buttons of the handler.
        {SDL_BUTTON(SDL_BUTTON_WHEELUP) | SDL_BUTTON(SDL_BUTTON_WHEELDOWN), "- - -"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "button mask " << int(c.buttons));
        EXPECT_EQ(Dispatch(MotionEvent(120, 340, 3, 4, c.buttons)),
                  (Calls{std::string("MouseMove 120 340 3 4 ") + c.flags}));
    }

    SCOPED_TRACE("negative relative motion and large positions");
    EXPECT_EQ(Dispatch(MotionEvent(5, 6, -7, -300, SDL_BUTTON_LMASK)),
              (Calls{"MouseMove 5 6 -7 -300 L - -"}));
    EXPECT_EQ(Dispatch(MotionEvent(0, 0, -32768, 32767, 0)), (Calls{"MouseMove 0 0 -32768 32767 - - -"}));
    // Positions are unsigned 16-bit: the top half of the range must not turn negative.
    EXPECT_EQ(Dispatch(MotionEvent(65535, 40000, 0, 0, 0)), (Calls{"MouseMove 65535 40000 0 0 - - -"}));
}

TEST(CEventTest, ButtonsRouteByNumberAndWheelAndExtraButtonsReachNothing)
{
    struct Case {
        Uint8 type;
        Uint8 button;
        Calls expected;
    };
    const Case cases[] = {
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, {"LButtonDown 17 29"}},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, {"LButtonUp 17 29"}},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, {"RButtonDown 17 29"}},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, {"RButtonUp 17 29"}},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, {"MButtonDown 17 29"}},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, {"MButtonUp 17 29"}},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP, {}},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP, {}},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN, {}},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELDOWN, {}},
        {SDL_MOUSEBUTTONDOWN, 6, {}},
        {SDL_MOUSEBUTTONUP, 7, {}},
        {SDL_MOUSEBUTTONDOWN, 0, {}},
        {SDL_MOUSEBUTTONUP, 255, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.type == SDL_MOUSEBUTTONDOWN ? "press" : "release")
                                        << " of button " << int(c.button));
        EXPECT_EQ(Dispatch(ButtonEvent(c.type, c.button, 17, 29)), c.expected);
    }

    SCOPED_TRACE("positions are unsigned 16-bit");
    EXPECT_EQ(Dispatch(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 65535, 32768)),
              (Calls{"LButtonDown 65535 32768"}));
    EXPECT_EQ(Dispatch(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 0, 0)), (Calls{"RButtonUp 0 0"}));
}

TEST(CEventTest, WindowEventsQuitAndSystemEvents)
{
    SDL_Event resize{};
    resize.type = SDL_VIDEORESIZE;
    resize.resize.type = SDL_VIDEORESIZE;
    resize.resize.w = 1280;
    resize.resize.h = 720;
    EXPECT_EQ(Dispatch(resize), (Calls{"Resize 1280 720"}));
    EXPECT_EQ(Dispatch(OfType(SDL_VIDEOEXPOSE)), (Calls{"Expose"}));
    EXPECT_EQ(Dispatch(OfType(SDL_QUIT)), (Calls{"Exit"})) << "the close request must reach OnExit";

    // A system event calls nothing, even with a message pointer in it.
    SDL_Event system{};
    system.type = SDL_SYSWMEVENT;
    system.syswm.type = SDL_SYSWMEVENT;
    system.syswm.msg = nullptr;
    EXPECT_EQ(Dispatch(system), Calls{}) << "SDL_SYSWMEVENT must reach no handler";
}

TEST(CEventTest, EveryOtherTypeReachesOnUserWithCodeAndPointersUnchanged)
{
    int first = 0;
    double second = 0.0;
    const std::string data1 = Pointer(&first);
    const std::string data2 = Pointer(&second);

    // User events, joystick events, the reserved codes and codes SDL does not know.
    const Uint8 types[] = {SDL_USEREVENT,
                           SDL_USEREVENT + 1,
                           SDL_NUMEVENTS - 1,
                           SDL_JOYAXISMOTION,
                           SDL_JOYBALLMOTION,
                           SDL_JOYHATMOTION,
                           SDL_JOYBUTTONDOWN,
                           SDL_JOYBUTTONUP,
                           SDL_EVENT_RESERVEDA,
                           SDL_EVENT_RESERVEDB,
                           0,
                           200};
    const int32_t codes[] = {0, 42, -1, 0x7FFFFFFF};
    for (Uint8 type : types) {
        for (int32_t code : codes) {
            SCOPED_TRACE(testing::Message() << "event type " << int(type) << ", code " << code);
            SDL_Event event{};
            event.user.type = type;
            event.user.code = code;
            event.user.data1 = &first;
            event.user.data2 = &second;
            EXPECT_EQ(Dispatch(event), (Calls{"User " + std::to_string(type) + " " + std::to_string(code) +
                                              " " + data1 + " " + data2}));
        }
    }

    SCOPED_TRACE("null pointers stay null");
    SDL_Event empty{};
    empty.user.type = SDL_USEREVENT;
    empty.user.code = 7;
    EXPECT_EQ(Dispatch(empty), (Calls{"User " + std::to_string(SDL_USEREVENT) + " 7 " + Pointer(nullptr) +
                                      " " + Pointer(nullptr)}));
}

TEST(CEventTest, BaseHandlersDoNothingAndTheDispatcherKeepsNoState)
{
    // A class that overrides one handler hears only its own event; every other kind reaches
    // the base class's handlers, which do nothing.
    struct PressesOnly : CEvent {
        int presses = 0;
        void OnLButtonDown(int32_t /*x*/, int32_t /*y*/) override { ++presses; }
    };
    PressesOnly pressesOnly;
    SDL_Event events[] = {Active(SDL_APPACTIVE, 1),   KeyEvent(SDL_KEYDOWN, SDLK_a, KMOD_NONE, 'a'),
                          MotionEvent(1, 2, 3, 4, 7), ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1),
                          OfType(SDL_QUIT),           OfType(SDL_USEREVENT)};
    for (SDL_Event& event : events) {
        pressesOnly.OnEvent(&event);
    }
    EXPECT_EQ(pressesOnly.presses, 1);

    // One object, many events: one call each, in order, none of them affected by the last.
    RecordingEvents recording;
    SDL_Event sequence[] = {ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20),
                            ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP, 10, 20),
                            MotionEvent(11, 21, 1, 1, SDL_BUTTON_LMASK), Active(SDL_APPMOUSEFOCUS, 0),
                            ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 11, 21)};
    for (SDL_Event& event : sequence) {
        recording.OnEvent(&event);
    }
    EXPECT_EQ(recording.calls,
              (Calls{"LButtonDown 10 20", "MouseMove 11 21 1 1 L - -", "MouseBlur", "LButtonUp 11 21"}));
}
