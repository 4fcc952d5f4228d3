#include "editing/key_maps.h"

#include "editing/pending_input.h"

#include <QKeyEvent>
#include <QWidget>

#include <functional>

namespace lavodc {

namespace {

using Command = std::function<void()>;

// The keys both maps bind: F1, F2 (whatever modifiers are held), Alt+N, O, S, M, I and D.
Command sharedCommand(const QKeyEvent& key, EditingCommands& c)
{
    switch (key.key()) {
    case Qt::Key_F1: return [&c] { c.help(); };
    case Qt::Key_F2: return [&c] { c.addWorker(); };
    default: break;
    }
    if (!(key.modifiers() & Qt::AltModifier))
        return {};
    switch (key.key()) {
    case Qt::Key_N: return [&c] { c.newSheet(); };
    case Qt::Key_O: return [&c] { c.openSheet(); };
    case Qt::Key_S: return [&c] { c.saveSheet(); };
    case Qt::Key_M: return [&c] { c.nextMonth(); };
    case Qt::Key_I: return [&c] { c.importWorkers(); };
    case Qt::Key_D: return [&c] { c.openMonthGrid(); };
    default: return {};
    }
}

// The grids' own keys: F3 and Delete (whatever modifiers are held), Alt+E and Alt+R.
Command gridCommand(const QKeyEvent& key, EditingCommands& c, GridKind grid)
{
    switch (key.key()) {
    case Qt::Key_F3: return [&c] { c.modifyWorker(); };
    case Qt::Key_Delete: return [&c] { c.deleteWorker(); };
    default: break;
    }
    if (!(key.modifiers() & Qt::AltModifier))
        return {};
    switch (key.key()) {
    case Qt::Key_E: return [&c, grid] { c.exportGrid(grid); };
    case Qt::Key_R: return [&c] { c.recountAll(); };
    default: return {};
    }
}

// Runs the command of a key press, if it has one; Insert is consumed and does nothing.
// Commands that move the focus or save take what is still being composed first.
bool runKey(QObject* watched, QEvent* event, const std::function<Command(const QKeyEvent&)>& commandFor)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Insert)
        return true;
    const Command command = commandFor(*key);
    if (!command)
        return false;
    CommitPendingInput(watched->isWidgetType() ? static_cast<QWidget*>(watched) : nullptr);
    command();
    return true;
}

} // namespace

GridKeyMap::GridKeyMap(EditingCommands& commands, GridKind grid, QObject* parent)
    : QObject(parent), commands_(commands), grid_(grid) {}

bool GridKeyMap::eventFilter(QObject* watched, QEvent* event)
{
    return runKey(watched, event, [this](const QKeyEvent& key) {
        Command command = gridCommand(key, commands_, grid_);
        return command ? command : sharedCommand(key, commands_);
    });
}

HeaderKeyMap::HeaderKeyMap(EditingCommands& commands, QObject* parent)
    : QObject(parent), commands_(commands) {}

bool HeaderKeyMap::eventFilter(QObject* watched, QEvent* event)
{
    return runKey(watched, event, [this](const QKeyEvent& key) { return sharedCommand(key, commands_); });
}

} // namespace lavodc
