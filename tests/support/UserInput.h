#pragma once
// Input that reaches the widgets as a user's does, for what QTest offers no function.

class QWidget;

namespace pwtest {

// Turns the mouse wheel by notches (positive: towards the user, down a list) with the pointer over the
// centre of widget. The notch enters through the widget's window as the platform's would: Qt picks the
// widget under the pointer, gives focus as the widgets' focus policies say, and passes an ignored notch
// on to the parents.
void TurnWheel(QWidget* widget, int notches);

} // namespace pwtest
