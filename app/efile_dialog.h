#pragma once
// The dialog of "전자신고 파일": the summary of what the workbook would lack or leave out, the
// codes the clerk fills in (the job types of this sheet, its foreigners), the insurance kind and
// the tax office's option with the month of payment. It shows and collects; the command keeps
// the codes and writes the workbook when the clerk asks to save.

#include "core/efile_codes.h"
#include "core/efile_rows.h"

#include <QDialog>
#include <QStringList>

#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace lavodc {

class TitleStrip;

// What the dialog works on. Texts CP949.
struct EfileDialogInput {
    std::vector<WorkerRow> workers;   // the table's current order
    std::string year;                 // the header's boxes
    std::string month;
    JobCodes jobs;                    // kept from earlier months
    PeopleCodes people;
    std::vector<CodeFileProblem> peopleFileProblems;
};

class EfileDialog : public QDialog {
    Q_OBJECT
public:
    explicit EfileDialog(EfileDialogInput input, QWidget* owner = nullptr);

    // The examples offered for a job code, each marked as one to check: code and occupation.
    static const std::vector<std::pair<QString, QString>>& ExampleJobCodes();

    TitleStrip* TopTitle = nullptr;
    QPlainTextEdit* SummaryView = nullptr;
    QTableWidget* JobGrid = nullptr;      // job type, workers, code (an editable list)
    QTableWidget* PeopleGrid = nullptr;   // name, number, nationality code, stay-status code
    QRadioButton* Insurance5 = nullptr;
    QRadioButton* Insurance1 = nullptr;
    QRadioButton* Insurance3 = nullptr;
    QCheckBox* TaxReport = nullptr;
    QLineEdit* PaymentMonth = nullptr;
    QPushButton* SaveBtn = nullptr;
    QPushButton* CloseBtn = nullptr;

    // The code box of a job row and the two code boxes of a foreigner's row.
    QComboBox* jobCodeBox(int row) const;
    QLineEdit* nationalityBox(int row) const;
    QLineEdit* stayStatusBox(int row) const;

    // The job types of the sheet in the grid's order (keys, "A").
    const std::vector<std::string>& jobKeys() const { return jobKeys_; }
    // Its foreigners (13 digits).
    const std::vector<std::string>& foreignerNumbers() const { return foreignerNumbers_; }

    // What is entered now: codes as stored, empty where a box is empty or holds no code.
    JobCodes enteredJobCodes() const;
    PeopleCodes enteredPeopleCodes() const;
    // The boxes that hold something that is no code, as "B.철골공 직종코드 \"7O1\"".
    QStringList invalidEntries() const;
    EfileOptions options() const;
    // The workbook's rows with what is entered now.
    EfileSheet sheet() const;

    const EfileDialogInput& input() const { return input_; }

signals:
    void saveRequested();

private:
    void buildJobGrid(const EfileSheet& first);
    void buildPeopleGrid(const EfileSheet& first);
    void refreshSummary();

    EfileDialogInput input_;
    std::vector<std::string> jobKeys_;
    std::vector<std::string> foreignerNumbers_;
};

// The job code in what a job code box shows: "701" for "701" or for an example's text
// "701 건설구조 기능원 (예시, 확인 필요)"; empty for anything else.
std::string JobCodeOfBoxText(const QString& text);

} // namespace lavodc
