#pragma once

// Whether the panel has a job on this machine when the session's autostart
// entry starts it: a touchscreen, an accelerometer, or a built-in screen that
// folds into a tablet (a convertible's tablet-mode switch beside a built-in
// panel), as the device manager's records tell. Elsewhere, a desktop PC say,
// the autostart start ends at once; a start from the menu or the command line
// always shows the panel.
bool PanelHasAJob();
