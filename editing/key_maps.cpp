#include "editing/key_maps.h"

#include "editing/pending_input.h"

#include <QKeyEvent>
#include <QWidget>

namespace lavodc {

namespace {

// Commands that move the focus or save take what is still being composed first.
template <typename Command>
bool run(QObject* watched, Command&& command)
{
    CommitPendingInput(watched->isWidgetType() ? static_cast<QWidget*>(watched) : nullptr);
    command();
    return true;
}

} // namespace

GridKeyMap::GridKeyMap(EditingCommands& commands, GridKind grid, QObject* parent)
    : QObject(parent), commands_(commands), grid_(grid) {}

bool GridKeyMap::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    EditingCommands& c = commands_;
    switch (key->key()) {
    case Qt::Key_F1: return run(watched, [&] { c.help(); });
    case Qt::Key_F2: return run(watched, [&] { c.addWorker(); });
    case Qt::Key_F3: return run(watched, [&] { c.modifyWorker(); });
    case Qt::Key_Delete: return run(watched, [&] { c.deleteWorker(); });
    case Qt::Key_Insert: return true;
    default: break;
    }
    if (!(key->modifiers() & Qt::AltModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_N: return run(watched, [&] { c.newSheet(); });
    case Qt::Key_O: return run(watched, [&] { c.openSheet(); });
    case Qt::Key_S: return run(watched, [&] { c.saveSheet(); });
    case Qt::Key_E: return run(watched, [&] { c.exportGrid(grid_); });
    case Qt::Key_R: return run(watched, [&] { c.recountAll(); });
    default: return false;
    }
}

HeaderKeyMap::HeaderKeyMap(EditingCommands& commands, QObject* parent)
    : QObject(parent), commands_(commands) {}

bool HeaderKeyMap::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    EditingCommands& c = commands_;
    switch (key->key()) {
    case Qt::Key_F1: return run(watched, [&] { c.help(); });
    case Qt::Key_F2: return run(watched, [&] { c.addWorker(); });
    case Qt::Key_Insert: return true;
    default: break;
    }
    if (!(key->modifiers() & Qt::AltModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_N: return run(watched, [&] { c.newSheet(); });
    case Qt::Key_O: return run(watched, [&] { c.openSheet(); });
    case Qt::Key_S: return run(watched, [&] { c.saveSheet(); });
    default: return false;
    }
}

} // namespace lavodc
