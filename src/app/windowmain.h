#pragma once

// The window module, libfennick-window.so: the widgets, the controller and
// Qt's GUI libraries. The program loads it only once it knows that a window
// is wanted and a display is there, so that the terminal commands start on
// QtCore alone.

extern "C" {

// What main() does for the windows once the arguments and the display were
// checked: the application, the single-instance claim, the controller and
// the event loop. Takes the program's own arguments; returns its exit status.
int fennick_window_main(int argc, char* argv[]);
}
