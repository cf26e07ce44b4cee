#pragma once

// The application's set-up that every window relies on, done once before the first window:
// the names the desktop knows it by, its icon, the style, the classic grey palette and the
// substitutes of the fonts that the window designs name. The program, the tests that show
// windows and the benchmarks all start with it, so that they lay out the same windows.
namespace Apparence {

void appliquer();

// Whether the windows are Wayland surfaces, which the compositor places and decorates.
bool surWayland();

} // namespace Apparence
