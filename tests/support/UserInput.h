#pragma once
// Input that reaches the widgets as a user's does, for what QTest offers no function.

#include <QtGlobal>

#include <memory>

class QWidget;

namespace pwtest {

// Turns the mouse wheel by notches (positive: towards the user, down a list) with the pointer over the
// centre of widget. The notch enters through the widget's window as the platform's would: Qt picks the
// widget under the pointer, gives focus as the widgets' focus policies say, and passes an ignored notch
// on to the parents.
void TurnWheel(QWidget* widget, int notches);

// Another window of the program takes the activation, as a click on it would, and the events that
// change queues are handled (a cell editor asks then whether its window was minimised). The window
// goes with the pointer returned.
std::unique_ptr<QWidget> ActivateAnotherWindow();

// The native scan codes this platform gives the two Shift keys.
#if defined(Q_OS_WIN)
inline constexpr quint32 kLeftShift = 0x2A;
inline constexpr quint32 kRightShift = 0x36;
#else
inline constexpr quint32 kLeftShift = 50;
inline constexpr quint32 kRightShift = 62;
#endif

// Shift (the one with the scan code shift) held down while Print Screen is pressed and released, the
// keys delivered as the platform delivers them: into the window, which passes them on to its focused
// widget.
void PressShiftPrintScreen(QWidget& window, quint32 shift = kLeftShift);

} // namespace pwtest
