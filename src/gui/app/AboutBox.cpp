#include "gui/app/AboutBox.h"

#include "core/data/Version.h"

#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace pw {

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    auto* name = new QLabel(QStringLiteral("Gothic lll Plotwright"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* credit = new QLabel(QStringLiteral("Редактор диалогов и квестов Gothic 3"));
    auto* version = new QLabel(QStringLiteral("Версия %1").arg(QString::fromLatin1(kProgramVersion)));
    version->setObjectName(QStringLiteral("VersionLbl"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    layout->addStretch();
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(credit, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addStretch();
    setFixedSize(298, 87);
}

void TAboutBox::showEvent(QShowEvent* event) {
    // Centred on the screen, whichever window asked for it.
    const QRect screen = (parentWidget() ? parentWidget()->screen() : this->screen())->availableGeometry();
    move(screen.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

} // namespace pw
