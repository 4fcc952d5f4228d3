#include "editing/day_cell_delegate.h"

#include "editing/byte_limit.h"

#include <QLineEdit>
#include <QMouseEvent>

namespace lavodc {

namespace {

class DayCellEditor : public QLineEdit {
public:
    DayCellEditor(const std::function<void()>& doubleClicked, QWidget* parent)
        : QLineEdit(parent), doubleClicked_(doubleClicked) {}

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        event->accept();
        doubleClicked_();
    }

private:
    std::function<void()> doubleClicked_;
};

} // namespace

DayCellDelegate::DayCellDelegate(QObject* parent, std::function<void()> doubleClicked)
    : QStyledItemDelegate(parent), doubleClicked_(std::move(doubleClicked))
{
}

QWidget* DayCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new DayCellEditor(doubleClicked_, parent);
    editor->setFrame(false);
    editor->setAttribute(Qt::WA_InputMethodEnabled, false);
    LimitBytes(editor, 3);
    prepareEditor(editor);
    open_ = editor;
    return editor;
}

void DayCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (open_ == editor)
        open_ = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void DayCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* box = static_cast<QLineEdit*>(editor);
    box->setText(index.data(Qt::EditRole).toString());
    box->setModified(false);
}

void DayCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* box = static_cast<QLineEdit*>(editor);
    if (!box->isModified())
        return;
    box->setModified(false);
    model->setData(index, box->text(), Qt::EditRole);
}

} // namespace lavodc
