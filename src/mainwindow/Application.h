#pragma once

namespace fernquill {

// Creates the application object and the main window and runs the event loop
// until the main window closes.
int runApplication(int argc, char* argv[]);

} // namespace fernquill
