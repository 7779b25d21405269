#pragma once
// What a screen reader announces for each control of the main window: its caption, or for a
// control without one the prompt or the label beside it. Controls that carry their caption
// (buttons, radio buttons, group boxes, labels) are announced by it already.

class Tfsici;

void NameControls(Tfsici& window);
