#include "gui/screenshot/ScrView.h"

#include "gui/common/Cp1251Text.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/UserDialogs.h"
#include "gui/screenshot/PngFile.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cstdlib>

namespace pw {

namespace {

constexpr int kNotch = 120; // one notch of a wheel, in the units of QWheelEvent::angleDelta

} // namespace

TScrViewFrm& TScrViewFrm::Shared() {
    static QPointer<TScrViewFrm> viewer;
    if (!viewer) {
        viewer = new TScrViewFrm;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer, &QObject::deleteLater);
    }
    return *viewer;
}

TScrViewFrm::TScrViewFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ScrViewFrm"));
    setWindowTitle(QStringLiteral("Screenshot"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    resize(673, 567);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(grey);
    setAutoFillBackground(true);

    ImgView = new QLabel;
    ImgView->setObjectName(QStringLiteral("ImgView"));
    ImgView->setContextMenuPolicy(Qt::CustomContextMenu);
    ScrlBox = new QScrollArea;
    ScrlBox->setObjectName(QStringLiteral("ScrlBox"));
    ScrlBox->setWidget(ImgView);
    ScrlBox->viewport()->setBackgroundRole(QPalette::Window);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ScrlBox);

    ImgPop = new QMenu(this);
    ImgPop->setObjectName(QStringLiteral("ImgPop"));
    Savetofile1 = ImgPop->addAction(QStringLiteral("Save to file"));
    Savetofile1->setObjectName(QStringLiteral("Savetofile1"));
    connect(Savetofile1, &QAction::triggered, this, &TScrViewFrm::Savetofile1Click);
    connect(ImgView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ImgPop->popup(ImgView->mapToGlobal(at)); });

    // The wheel is the window's before it is any control's, wherever the pointer is.
    for (QWidget* widget : findChildren<QWidget*>())
        widget->installEventFilter(this);
}

void TScrViewFrm::ShowPicture(const QImage& picture) {
    mPicture = picture;
    ImgView->setPixmap(QPixmap::fromImage(picture));
    ImgView->adjustSize(); // the scroll ranges follow the picture's size
}

bool TScrViewFrm::FormMouseWheel(const QPoint& globalPos, int delta) {
    QWidget* inside = ScrlBox->viewport();
    if (!inside->rect().contains(inside->mapFromGlobal(globalPos)))
        return false;
    // A wheel reports whole notches; a touchpad reports small turns, which add up to notches.
    if ((mWheelTurn < 0) != (delta < 0))
        mWheelTurn = 0;
    mWheelTurn += delta;
    const int notches = mWheelTurn / kNotch;
    mWheelTurn %= kNotch;
    const int lines = QApplication::wheelScrollLines(); // a system set to no lines scrolls nothing
    const auto step =
        notches < 0 ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub;
    for (int i = 0; i < lines * std::abs(notches); ++i)
        ScrlBox->verticalScrollBar()->triggerAction(step);
    return true;
}

void TScrViewFrm::Savetofile1Click() {
    const auto path = Dialogs().ChooseSaveFile(this, QString(), QString(), QString(), QStringLiteral("PNG"));
    if (!path)
        return;
    RunGuarded(this, [this, &path] {
        const QImage rgb = mPicture.convertToFormat(QImage::Format_RGB888);
        WritePngFile(ToNativePath(*path), {rgb.constBits(), rgb.width(), rgb.height(),
                                           static_cast<std::size_t>(rgb.bytesPerLine())});
    });
}

bool TScrViewFrm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return QDialog::eventFilter(watched, event);
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const int delta = wheel->angleDelta().y();
    if (delta == 0)
        return false; // a sideways turn: the scroll box's own
    return FormMouseWheel(wheel->globalPosition().toPoint(), delta);
}

void TScrViewFrm::showEvent(QShowEvent* event) {
    const QRect desktop = screen()->availableGeometry();
    move(desktop.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

} // namespace pw
