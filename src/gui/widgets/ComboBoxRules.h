#pragma once
// How every combo box of the program behaves, as on Windows, where its forms come from:
// - the mouse wheel changes a box's entry only while the box has the keyboard focus; over any other box
//   a wheel notch goes on to the box's parent (a list under it scrolls) and changes nothing, so a wheel
//   turned while the pointer merely rests on a box cannot pick another entry unseen (over the
//   dialogue search box it would load another dialogue and lose the unsaved edits);
// - a box takes the focus from a click or from Tab, never from the wheel;
// - its drop-down list opens as wide as its longest entry, and no entry is cut short.
//
// A combo box gets these rules in one of three ways:
// - a TLabeledComboBox has them from its constructor;
// - a combo box made a cell editor (TEditableListView::SetListEditor, CellEditPolicy::SetEditor) gets
//   them then;
// - any other QComboBox gets them by one call of ApplyComboBoxRules right after it is made.

class QComboBox;

namespace pw {

// Applies the rules above to box for the rest of its life; a second call changes nothing. The list
// width follows the entries as they are added, changed or removed (and the box's font).
void ApplyComboBoxRules(QComboBox* box);

} // namespace pw
