#pragma once
// TScrViewFrm, the screenshot viewer: one window shared by every capture, showing the picture in a
// scroll box, with "Save to file" on the picture's context menu.

#include <QDialog>
#include <QImage>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;

namespace pw {

class TScrViewFrm : public QDialog {
    Q_OBJECT
public:
    // The one viewer, created on first use and kept until the application ends; closing it hides it.
    static TScrViewFrm& Shared();

    explicit TScrViewFrm(QWidget* parent = nullptr);

    // Shows picture, replacing the one shown before.
    void ShowPicture(const QImage& picture);
    const QImage& Picture() const { return mPicture; }

    // A vertical wheel turn at globalPos: over the scroll box's inside it scrolls the picture by the
    // system's line count per notch and returns true; anywhere else it returns false and leaves the
    // event to the control under the pointer.
    bool FormMouseWheel(const QPoint& globalPos, int delta);
    // "Save to file": asks for a file name and writes the picture there as PNG.
    void Savetofile1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QScrollArea* ScrlBox = nullptr;
    QLabel* ImgView = nullptr;
    QMenu* ImgPop = nullptr;
    QAction* Savetofile1 = nullptr;
    QImage mPicture;
    int mWheelTurn = 0; // the part of a notch that smooth-scrolling devices have turned so far
};

} // namespace pw
