#pragma once

// The application's look: maps the Windows faces the window's layout names
// to installed faces, makes "MS Sans Serif" 11 px the default font and sets
// the style. Call once, after the application object exists and before any
// window is built.
void InstallWorkbenchLook();

class QWidget;

// Gives the controls of `window` that the layout dresses differently from
// the default their faces and colours, by object name. Plain fonts and
// palettes: style sheets would cost milliseconds at every show and enable.
void DressControls(QWidget *window);
