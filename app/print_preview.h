#pragma once
// The preview window: the pages of a print exactly as they will print, one at a time,
// each drawn only when it is shown, with page navigation, zoom and a print button.

#include <QDialog>
#include <QImage>

#include <functional>

class QLabel;
class QScrollArea;
class QToolButton;

namespace lavodc {

class PrintPreview : public QDialog {
    Q_OBJECT
public:
    // One page drawn at `dpi` on a white A4 landscape image.
    using PageRenderer = std::function<QImage(int pageNumber, double dpi)>;

    PrintPreview(int firstPage, int lastPage, PageRenderer renderer, std::function<void()> print,
                 QWidget* parent = nullptr);

    int CurrentPage() const { return page_; }
    int ZoomPercent() const { return zoom_; }
    void ShowPage(int pageNumber);   // held within the pages of the print
    void NextPage() { ShowPage(page_ + 1); }
    void PriorPage() { ShowPage(page_ - 1); }
    void ZoomIn();
    void ZoomOut();
    const QImage& ShownImage() const { return shown_; }
    int RenderCount() const { return renders_; }

    QToolButton* PriorBtn = nullptr;
    QToolButton* NextBtn = nullptr;
    QToolButton* ZoomOutBtn = nullptr;
    QToolButton* ZoomInBtn = nullptr;
    QToolButton* PrintBtn = nullptr;
    QToolButton* CloseBtn = nullptr;
    QLabel* PageLabel = nullptr;

private:
    void render();
    void setZoom(int percent);

    int first_;
    int last_;
    PageRenderer renderPage_;
    std::function<void()> print_;
    int page_;
    int zoom_ = 100;
    int renders_ = 0;
    QImage shown_;
    QScrollArea* scroll_ = nullptr;
    QLabel* sheet_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
};

} // namespace lavodc
