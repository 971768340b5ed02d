#pragma once
// TLabeledComboBox: an editable combo box that owns a caption label placed beside it. The label is a
// sibling in the combo box's parent, kept in step with the combo box's geometry, parent, visibility,
// enabled state and layout direction. The box follows the program's combo-box rules (ComboBoxRules.h).

#include <QComboBox>
#include <QLabel>
#include <QPointer>

namespace pw {

enum class TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };

class TLabeledComboBox : public QComboBox {
    Q_OBJECT
public:
    // name becomes the objectName and the label's initial text. The label is created with the combo
    // box and destroyed with it unless it was destroyed elsewhere first.
    explicit TLabeledComboBox(const QString& name, QWidget* parent = nullptr);
    ~TLabeledComboBox() override;

    // The caption label (objectName "SubLabel"), or null once it was destroyed from elsewhere.
    QLabel* EditLabel() const { return mLabel; }
    // Sets the label's text and sizes the label to it.
    void SetLabelText(const QString& text);

    TLabelPosition LabelPosition() const { return mLabelPosition; }
    void SetLabelPosition(TLabelPosition position);
    int LabelSpacing() const { return mLabelSpacing; }
    void SetLabelSpacing(int spacing);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceLabel();
    void FollowParent();
    void FollowVisibility();

    QPointer<QLabel> mLabel;
    // The label as the event filter sees it: compared by address only, because events reach the filter
    // while the label is being destroyed, when it is no longer a QLabel.
    const QObject* mLabelObject = nullptr;
    TLabelPosition mLabelPosition = TLabelPosition::lpAbove;
    int mLabelSpacing = 3;
};

} // namespace pw
