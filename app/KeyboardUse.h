#pragma once
// The main window worked with the keyboard alone: Tab walks the controls in their screen order
// (out of the lists as well), Enter on a row of a list does what a click on that row does,
// Escape empties the quick-search input, the links open with Enter or Space, and the poem's
// text can be selected with the keys, for the text menu's copying and searching.

class Tfsici;

void SetUpKeyboardUse(Tfsici& window);
