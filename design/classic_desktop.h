#pragma once

class QWidget;

// How the classic desktop these windows were drawn for looks and answers the keyboard, kept
// whatever theme the user's desktop has: a dark theme would otherwise put the windows'
// black captions on dark faces and their fields in dark colours the layout never chose.
namespace design {

// The classic colours (grey button faces and window backgrounds with black text, white fields
// with black text) and Qt's solid, bevelled "Windows" faces for the window and every
// control it holds. Call it once the controls are made; colours of the window's own follow.
void giveClassicLook(QWidget &window);

// Enter presses the window's command and picture buttons when they have the focus, as Space
// does, once per key press: a held key must not pile up summaries. Call it once the buttons
// are made. No button becomes a default button: Enter in a field still presses nothing.
void letEnterPressButtons(QWidget &window);

} // namespace design
