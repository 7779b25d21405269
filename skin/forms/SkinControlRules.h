#pragma once
// Which skinner each control of a window gets. The rules are tried in order and the first that
// applies decides: the disable tag and the control's own refusal, the component's handler, the
// Skin3rd list of class names and kinds, the classes never skinned, then the standard classes.

#include <vector>

class QWidget;
class TSkinControl;
class TSkinData;

// Skins every control inside `parent`, depth first, and appends the skinners it attached.
void SkinControlsOf(TSkinData& data, QWidget* form, QWidget* parent, std::vector<TSkinControl*>& skinners);
