#pragma once
// An Alt+letter is a command key, never typing: a box that receives one whose command nobody
// binds must not insert the letter (X11 hands Alt+E over with the text "e").

namespace lavodc {

// Watches the whole application (once): key presses with Alt held reach their widgets
// without text, so key maps still see the key and boxes type nothing.
void KeepAltFromTyping();

} // namespace lavodc
