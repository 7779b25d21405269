#pragma once
// Reading and working the main window as people do today, beside what it was built to do: the
// poem view's zoom, keyboard-only use with the focus always in sight, and names for screen
// readers.

class Tfsici;

void AddReadingComfort(Tfsici& window);
