#pragma once
// A syllable that an input method is still composing is only pending text: the box does not
// hold it yet. Before the program moves the focus, saves or runs a shortcut, the pending text
// is committed into its box, so that no keystroke is lost.

class QWidget;

namespace lavodc {

// Watches the whole application (once): records what each box is composing, and commits
// it when the box loses the focus.
void WatchPendingInput();

// Commits what `box` (the focused widget when null) is composing; nothing when it composes
// nothing.
void CommitPendingInput(QWidget* box = nullptr);

} // namespace lavodc
