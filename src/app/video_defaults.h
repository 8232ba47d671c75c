// How SDL presents the game's frames, chosen before SDL starts.
#pragma once

// The window never resizes or scales, so each frame goes straight from the screen surface to
// the window in software, without OpenGL: on a display without a GPU (a virtual display, many
// virtual machines, remote desktops) OpenGL runs in software too and costs most of the frame.
// A value the user has set in the environment wins; set all three to get the OpenGL path back:
// SDL12COMPAT_OPENGL_SCALING=1 SDL_FRAMEBUFFER_ACCELERATION=1 SDL_RENDER_DRIVER=opengl.
// While all three say software, SDL is also told that there is no OpenGL library to load
// (unless the user named one in SDL_OPENGL_LIBRARY): newer sdl12-compat asks for an OpenGL-capable
// window whenever OpenGL is SDL's first renderer, whichever renderer it then uses, and on X
// that alone loads the OpenGL libraries and fills the player's ~/.cache with Mesa's shaders.
// Without the library it opens a plain window, as older versions always did.
void SetVideoDefaults();
