// How SDL presents the game's frames, chosen before SDL starts.
#pragma once

// The window never resizes or scales, so each frame goes straight from the screen surface to
// the window in software, without OpenGL: on a display without a GPU (a virtual display, many
// virtual machines, remote desktops) OpenGL runs in software too and costs most of the frame.
// A value the user has set in the environment wins; set all three to get the OpenGL path back:
// SDL12COMPAT_OPENGL_SCALING=1 SDL_FRAMEBUFFER_ACCELERATION=1 SDL_RENDER_DRIVER=opengl.
void SetVideoDefaults();
