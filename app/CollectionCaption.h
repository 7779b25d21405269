#pragma once
// The main window's caption. It names the 104862 poems of the collection the reader ships with;
// a collection built with more or fewer poems (the builder notes their number beside the two
// files) is named with its own number, in the same words.

#include <QString>

// Reads the note in the current folder; an absent or unreadable note gives the usual caption.
QString CollectionCaption();
