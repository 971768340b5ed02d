#pragma once
// What the command grid tells of its rows' rules while they are edited: the argument cells that a row's
// command wants empty are greyed (they stay editable, and the compile still names them), and the help of
// the current row's command is handed on for the status bar. Both follow every change of the rows, by the
// user, a load or a row operation.

#include <QObject>
#include <QString>

class QTableWidget;

namespace pw {

class CommandRowHints : public QObject {
    Q_OBJECT
public:
    // Watches commandList (the grid of CommandRow cells) and becomes its child.
    explicit CommandRowHints(QTableWidget* commandList);

signals:
    // The help of the current row's command (see CommandHelp); empty when no row is current or no rule
    // knows its command. Told on every change of it.
    void HelpChanged(const QString& help);

private:
    void GreyRows(int first, int last);
    void UpdateHelp();

    QTableWidget* CommandList;
    QString mHelp;
};

} // namespace pw
