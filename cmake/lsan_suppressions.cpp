// Linked into every program of a sanitizer build: SDL 2, under the SDL 1.2 compatibility
// layer, keeps a few small allocations until exit that are not the game's to free.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_options();

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libSDL2\n"
           "leak:libSDL-1.2\n"
           "leak:libX11\n";
}

// Keeps a clean run silent, as the game itself is.
extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}
