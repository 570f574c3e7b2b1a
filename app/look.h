#pragma once

// The application's look: maps the Windows faces the window's layout names
// to installed faces, makes "MS Sans Serif" 11 px the default font and sets
// the style. Call once, after the application object exists and before any
// window is built.
void InstallWorkbenchLook();
