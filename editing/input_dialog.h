#pragma once
// The input dialog frame: a modal window without the system's title bar, a blue title strip
// that drags it, a close button kept near the right edge, and a page book of three pages
// (worker entry, batch by date, print settings). Each command makes a fresh one, shows one
// page and destroys it afterwards.

#include <QDialog>
#include <vector>

class QLabel;
class QStackedWidget;
class QToolButton;

namespace lavodc {

class TInPutf : public QDialog {
    Q_OBJECT
public:
    enum Page { Entry = 0, Batch = 1, Print = 2 };
    enum Mode { NoMode = 0, AddMode = 1, ModifyMode = 2 };

    explicit TInPutf(QWidget* owner);

    QLabel* TopTitle = nullptr;
    QToolButton* mExit0 = nullptr;
    QStackedWidget* nPage = nullptr;
    QWidget* shet00 = nullptr;
    QWidget* shet01 = nullptr;
    QWidget* shet02 = nullptr;

    int mode = NoMode;

    void showPage(Page page);
    void setStripText(const QString& text);
    // Top, left, height and width as a window with a system caption would have them; the
    // frame drops the caption and keeps the client area's size.
    void place(int top, int left, int height, int width);
    // Keeps `widget` at `distance` pixels from the right edge whenever the frame resizes.
    void keepFromRight(QWidget* widget, int distance);

    static int captionHeight();

    void mExit0Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<std::pair<QWidget*, int>> rightAnchored_;
};

} // namespace lavodc
