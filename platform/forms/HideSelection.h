#pragma once
// A text view that hides its selection while it does not have the focus and shows it again
// when it gets the focus back, as the platform's read-only viewers do: text marked in colour
// and left selected by a search shows its colour, not the selection's, until the person comes
// to the view. A popup menu opened over the view keeps the selection it works on.

class QString;
class QTextEdit;

void HideSelectionWhileUnfocused(QTextEdit& view);

// The view's selected text, shown or hidden: a hidden selection is still the selection, as the
// menu's copy and search take it.
QString SelectedText(const QTextEdit& view);
