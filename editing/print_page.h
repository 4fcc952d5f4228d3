#pragma once
// The print page: printer, the two shifts of the print, the report date and the page
// range, with "확인" to print, "미리보기", "PDF 저장" and "취소". It only gathers and checks
// the values; the print command does the printing. It sits in the input dialog's shet02.

#include "services/prompts.h"

#include <QStringList>
#include <QWidget>

#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lavodc {

class MaskedLineEdit;

// What the boxes say when the user asks for the pages.
struct PrintChoice {
    QString printer;          // PrtComb's text
    int printerIndex = -1;    // the entry selected, -1 when none is
    int topShift = 0;         // tenths of a millimetre, down
    int leftShift = 0;        // tenths of a millimetre, right
    std::string reportDate;   // CP949, as the date box gives it (dots kept, blanks unfilled)
    int firstPage = 0;        // 0 and 0: every page
    int lastPage = 0;
};

class PrintPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 260;
    static constexpr int kHeight = 176;

    explicit PrintPage(Prompts& prompts, QWidget* parent = nullptr);

    // The boxes as the command opens the page: shifts from the settings file, `reportDate`
    // in the date box, pages 1 to `pageCount`, the printers with `current` selected, "전체"
    // ticked, the focus in the date box.
    void Open(const QStringList& printers, const QString& current, int pageCount, const std::string& reportDate);

    // The boxes' values, checked; a message and nothing when a box cannot be used.
    std::optional<PrintChoice> Choice();

    void mOk2Click();
    void pCheckClick();
    // The date box's check when it is left; false (message, focus back) when it fails.
    bool prtdayExit();

    QComboBox* PrtComb = nullptr;
    QLineEdit* TopEdit2 = nullptr;
    QLineEdit* LftEdit2 = nullptr;
    MaskedLineEdit* prtday = nullptr;
    QCheckBox* pCheck = nullptr;
    QLineEdit* FCntEdt2 = nullptr;
    QLineEdit* LCntEdt2 = nullptr;
    QPushButton* mOk2 = nullptr;
    QPushButton* mPrv2 = nullptr;
    QPushButton* mPdf2 = nullptr;
    QPushButton* mVde2 = nullptr;

signals:
    void printRequested(const lavodc::PrintChoice& choice);
    void previewRequested(const lavodc::PrintChoice& choice);
    void pdfRequested(const lavodc::PrintChoice& choice);
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void focusDate();
    std::optional<int> shiftOf(const QLineEdit* box);
    std::optional<int> pageOf(const QLineEdit* box);

    Prompts& prompts_;
    int pageCount_ = 1;
    bool checkingDate_ = false;
};

} // namespace lavodc
