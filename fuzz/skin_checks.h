#pragma once
// What must hold for every input of the skin reader: LZHUF streams, skin containers and skin
// files, and description texts. The libFuzzer targets and a seeded test both run these;
// a broken invariant raises EInputCheck (fuzz/input_checks.h).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/input_checks.h"
#include "skin/SkinWrite.h"

struct TSkinDescription;

// A check of a description that was read, run after the reader's own: the component's loading of
// the pictures (fuzz/skin_picture_checks.h) passes this way.
using TSkinDescriptionCheck = std::function<void(const TSkinDescription&)>;

// Any bytes round-trip through the encoder and decoder. Two bytes of size and a stream decode
// to exactly that many bytes or raise ELzhError, and a shorter size decodes to a prefix.
void CheckLzhufInput(std::string_view input);

// The input as a container, as a skin file and as a window description's skin stream: either
// it is refused with ESkinReadError or ELzhError, or every file read lies within it, is found by
// its name, writes back to the same container, and its description reads as
// CheckSkinDescriptionInput requires; `alsoCheck` then runs on every description read.
void CheckSkinContainerInput(std::string_view input, const TSkinDescriptionCheck& alsoCheck = {});

// The input as the description of a container that also holds sound and broken bitmaps: every
// image kept is a sound bitmap of the container, counts and edges are in their ranges, and no
// ignored caption button is kept, nor more than the most read; `alsoCheck` then runs on it.
void CheckSkinDescriptionInput(std::string_view input, const TSkinDescriptionCheck& alsoCheck = {});

// A device-independent bitmap of that size and depth with a pattern for pixels.
std::string SampleBitmap(int width, int height, int bitCount);
// A description that reads every section and key the skin knows, naming the files of
// SampleSkinFiles().
std::string SampleSkinDescription();
// "skin.ini" with SampleSkinDescription() and the bitmaps it names.
std::vector<TSkinFileData> SampleSkinFiles();

std::vector<std::string> LzhufSeeds();
std::vector<std::string> SkinContainerSeeds();
std::vector<std::string> SkinDescriptionSeeds();
