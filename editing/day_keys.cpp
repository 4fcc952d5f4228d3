#include "editing/day_keys.h"

#include "editing/box_text.h"

#include <QKeyEvent>

namespace lavodc {

std::optional<std::string> TypedDayKey(const QKeyEvent& key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    if (key.key() == Qt::Key_Backspace)
        return std::string("\b");
    const QString text = key.text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return std::nullopt;
    return TypedBytes(text);
}

} // namespace lavodc
