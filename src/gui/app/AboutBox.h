#pragma once
// The About window: a small tool window with the program's name and a credit line, closed with its
// title-bar close box. Created once at start-up and only shown and hidden afterwards.

#include <QDialog>

namespace pw {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace pw
