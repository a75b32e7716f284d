#pragma once

namespace paysum {

class Form1;

// Gives the application the program's name, version, desktop entry and window icon.
void IdentifyApplication();

// Runs the program's start-up once a QApplication exists: creates the data folder of a new
// installation (none, or an empty folder), loads Qt's Chinese catalogue, refuses a second running
// copy, clears away what interrupted writes left, checks and opens the databases and only then
// shows the main window. Returns false when start-up ended the program (every message already
// shown).
bool StartUp();

// Ends what StartUp() began: closes the main window and the databases and releases the
// single-instance lock. Runs by itself when the application quits.
void ShutDown();

// The main window while the program runs, else nullptr.
Form1* MainWindow();

}  // namespace paysum
