#pragma once

// Maps the Windows faces the window's layout names to installed faces and
// makes "MS Sans Serif" 11 px the application's default font. Call once,
// after the application object exists and before any window is built.
void InstallWorkbenchFonts();
