#pragma once
// The cell editor of a day mark, for the day strip and the batch grid: a frameless box of at
// most the 3 bytes of a mark, without an input method, that stores only what the user typed
// (an editor that closes after a toggle must not put the old text back) and passes a
// double-click in it on to its grid.

#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>

class QLineEdit;

namespace lavodc {

class DayCellDelegate : public QStyledItemDelegate {
public:
    DayCellDelegate(QObject* parent, std::function<void()> doubleClicked);

    // The editor open now, if any.
    QWidget* openEditor() const { return open_; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    // What a grid adds to each new editor (font, alignment, key filters).
    virtual void prepareEditor(QLineEdit*) const {}

private:
    std::function<void()> doubleClicked_;
    mutable QPointer<QWidget> open_;
};

} // namespace lavodc
