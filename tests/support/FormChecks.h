#pragma once
// Checks of a whole shown form that a user would make by eye.

#include <QStringList>

class QWidget;

namespace pwtest {

// Every shown label of form that cannot be read whole: one cut short of its text, one overlapping or
// touching another control beside it, or one reaching out of the widget that holds it. Each as
// "<label text>: <what is wrong>"; empty when all can be read.
QStringList UnreadableLabels(const QWidget& form);

} // namespace pwtest
