#pragma once
// What must hold when the skin component loads the pictures of a description that was read:
// either the skin is refused for its budget with ESkinReadError, or every picture is a sound
// image of a bitmap of the skin, the distinct images stay within the budget, and every frame
// of every picture paints into targets of any size (empty, smaller than its edges, larger)
// without reading outside the image. Needs a Qt GUI application object for painting.

struct TSkinDescription;

void CheckSkinPictures(const TSkinDescription& description);
