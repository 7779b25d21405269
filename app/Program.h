#pragma once
// The program block: the application's title and its two windows.

#include <memory>

class TApplication;
class Tfsici;

// Creates the main window and the About window over the database files in the current
// folder. A failure is shown in the error box and yields null.
std::unique_ptr<Tfsici> CreateWindows(TApplication& application);

// Everything from start to end of the process, on the process's application object; the
// exit status.
int RunProgram(TApplication& application, int argc, char** argv);
