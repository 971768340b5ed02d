#include "gui/common/Jumps.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

namespace pw {
namespace {

bool Blank(const std::string& name) {
    return name.find_first_not_of(" \t") == std::string::npos;
}

std::vector<JumpItem> Items(const std::string& name, Jump::Thing thing,
                            std::initializer_list<std::pair<const char*, Jump::Kind>> kinds) {
    std::vector<JumpItem> items;
    if (Blank(name))
        return items;
    for (const auto& [caption, kind] : kinds)
        items.push_back({QString::fromUtf8(caption), {kind, name, thing}});
    items.push_back({QStringLiteral("Переименовать во всей библиотеке…"), {Jump::Kind::Rename, name, thing}});
    return items;
}

// Watches one line edit for its context menu and Ctrl+click.
class JumpWatcher : public QObject {
public:
    JumpWatcher(QLineEdit* edit, std::function<std::vector<JumpItem>(int)> items,
                std::function<void(const Jump&)> go)
        : QObject(edit), mEdit(edit), mItems(std::move(items)), mGo(std::move(go)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ContextMenu) {
            auto* menuEvent = static_cast<QContextMenuEvent*>(event);
            ShowMenu(menuEvent->pos(), menuEvent->globalPos());
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
                const std::vector<JumpItem> items =
                    mItems(mEdit->cursorPositionAt(mouse->position().toPoint()));
                if (!items.empty()) {
                    mGo(items.front().jump);
                    return true;
                }
            }
        }
        return false;
    }

private:
    void ShowMenu(const QPoint& pos, const QPoint& globalPos) {
        QMenu* menu = mEdit->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        const std::vector<JumpItem> items = mItems(mEdit->cursorPositionAt(pos));
        if (!items.empty())
            menu->addSeparator();
        for (const JumpItem& item : items) {
            QAction* action = menu->addAction(item.caption);
            connect(action, &QAction::triggered, this, [this, jump = item.jump] { mGo(jump); });
        }
        menu->popup(globalPos);
    }

    QLineEdit* mEdit;
    std::function<std::vector<JumpItem>(int)> mItems;
    std::function<void(const Jump&)> mGo;
};

} // namespace

std::vector<JumpItem> DialogueJumps(const std::string& name) {
    return Items(name, Jump::Thing::Dialogue,
                 {{"Перейти к диалогу", Jump::Kind::Dialogue}, {"Где используется", Jump::Kind::WhereUsed}});
}

std::vector<JumpItem> QuestJumps(const std::string& name) {
    return Items(name, Jump::Thing::Quest,
                 {{"Перейти к квесту", Jump::Kind::Quest}, {"Где используется", Jump::Kind::WhereUsed}});
}

std::vector<JumpItem> StringJumps(const std::string& id) {
    return Items(id, Jump::Thing::String,
                 {{"Показать в редакторе строк", Jump::Kind::StringEntry},
                  {"Где используется", Jump::Kind::WhereUsed}});
}

std::vector<JumpItem> WhereUsedJumps(const std::string& name, Jump::Thing thing) {
    return Items(name, thing, {{"Где используется", Jump::Kind::WhereUsed}});
}

void AttachJumps(QLineEdit* edit, std::function<std::vector<JumpItem>(int)> items,
                 std::function<void(const Jump&)> go) {
    edit->installEventFilter(new JumpWatcher(edit, std::move(items), std::move(go)));
}

} // namespace pw
