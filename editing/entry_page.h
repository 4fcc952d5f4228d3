#pragma once
// The worker entry page of the input dialog: name, registration number, job type, daily
// hours, wages, telephone, address and reason for leaving; add and modify mode, the checks
// on confirm and the store into the worker table.

#include <QWidget>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lavodc {

class MaskedLineEdit;
class NumberBox;
class Prompts;
class TChkEdit;
class TInPutf;
class WorkerTable;

class WorkerEntryPage : public QWidget {
    Q_OBJECT
public:
    // `period` is SheetPeriod at the time of the command; `markModified` sets SheetModified.
    WorkerEntryPage(TInPutf& frame, WorkerTable& table, Prompts& prompts, std::string period,
                    std::function<void()> markModified);

    QLineEdit* EdtpName = nullptr;
    MaskedLineEdit* EdtJmnNo = nullptr;
    QComboBox* CmbnName = nullptr;
    NumberBox* EdtnDay = nullptr;
    NumberBox* EdtSmMny = nullptr;
    QLineEdit* EdtnTel = nullptr;
    QLineEdit* EdtnAddr = nullptr;
    QComboBox* CmbnEtc = nullptr;
    QPushButton* mOk0 = nullptr;
    QPushButton* mVide0 = nullptr;
    TChkEdit* ChkJumin = nullptr;

    // Fill the boxes for a new worker, or from the current row.
    void prepareAdd();
    void prepareModify();
    // The page is shown: the name box gets the focus in add mode, the page itself otherwise.
    void focusFirst();

    // Confirm: false when a check refused (the dialog stays open).
    bool mOk0Click();
    // Leaving the number box; false when the user refused the number.
    bool EdtJmnNoExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    bool isDuplicateNumber(const std::string& number) const;
    // Wages above 100,000,000 won or hours above 24 are stored only when the clerk says so.
    bool amountsConfirmed();
    void store();
    void moveFocusFrom(QObject* box);

    TInPutf& frame_;
    WorkerTable& table_;
    Prompts& prompts_;
    std::string period_;
    std::function<void()> markModified_;
    bool checkingNumber_ = false;
};

} // namespace lavodc
