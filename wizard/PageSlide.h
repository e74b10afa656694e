#pragma once

#include <windows.h>

// The wizard's pages stand side by side in one dialog; a slide moves every
// child window one pixel per step for a whole page width, so that the user
// sees the next page push the current one out. Only some steps repaint, more
// of them as the slide nears its end, where the eye rests on the new page.

// True when the controls are repainted after step `step` (0-based) of a
// slide over `pageWidth` pixels.
bool IsSlideRedrawStep(int step, int pageWidth);

// Moves every child of `dialog` by `pageWidth` pixels, one pixel per step,
// each step's moves in one batch: direction -1 slides to the left (the next
// page), +1 to the right. Runs to its end without processing messages.
void SlideChildWindows(HWND dialog, int pageWidth, int direction);
