#include "app/efile_dialog.h"

#include "app/title_strip.h"
#include "core/cp949.h"
#include "services/efile_code_store.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QToolButton>

#include <map>

namespace lavodc {

namespace {

constexpr int kWidth = 640;
constexpr int kCodeColumn = 2;
constexpr int kNationalityColumn = 2;
constexpr int kStayStatusColumn = 3;

QString shown(const std::string& cp949) { return QString::fromStdString(fromCp949(cp949)); }
std::string ascii(const QString& text) { return text.toStdString(); }

QTableWidgetItem* fixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

QTableWidget* makeGrid(const QStringList& titles, QWidget* parent)
{
    auto* grid = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    grid->setHorizontalHeaderLabels(titles);
    grid->verticalHeader()->hide();
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

} // namespace

std::string JobCodeOfBoxText(const QString& text)
{
    const QString trimmed = text.trimmed();
    return JobCodeOf(ascii(trimmed.section(QLatin1Char(' '), 0, 0)).c_str());
}

const std::vector<std::pair<QString, QString>>& EfileDialog::ExampleJobCodes()
{
    static const std::vector<std::pair<QString, QString>> examples = {
        {QStringLiteral("701"), QStringLiteral("건설구조 기능원")},
        {QStringLiteral("704"), QStringLiteral("건설·채굴 기계 운전원")},
        {QStringLiteral("705"), QStringLiteral("기타 건설 기능원")},
        {QStringLiteral("706"), QStringLiteral("건설·채굴 단순 종사자")},
        {QStringLiteral("013"), QStringLiteral("건설·채굴·제조·생산 관리자")},
    };
    return examples;
}

EfileDialog::EfileDialog(EfileDialogInput input, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), input_(std::move(input))
{
    setObjectName(QStringLiteral("EfileDialog"));
    setWindowTitle(QStringLiteral("전자신고 파일"));
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    TopTitle = new TitleStrip(QStringLiteral("전자신고 파일 (근로내용확인신고 전자신고용 엑셀)"), this);
    TopTitle->placeCloseButton(kWidth - 20);
    connect(TopTitle->mExit0, &QToolButton::clicked, this, &QDialog::reject);
    outer->addWidget(TopTitle);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 8, 10, 10);
    outer->addLayout(body);

    body->addWidget(new QLabel(QStringLiteral("확인할 것"), this));
    SummaryView = new QPlainTextEdit(this);
    SummaryView->setObjectName(QStringLiteral("SummaryView"));
    SummaryView->setReadOnly(true);
    SummaryView->setFixedHeight(110);
    body->addWidget(SummaryView);

    const EfileSheet first = BuildEfileSheet(input_.workers, input_.year, input_.month, input_.jobs, input_.people, {});
    buildJobGrid(first);
    body->addWidget(new QLabel(QStringLiteral("직종코드 (이 시트의 직종)"), this));
    body->addWidget(JobGrid);
    auto* note = new QLabel(QStringLiteral("목록의 다섯 코드는 예시입니다. 직종에 맞는지 확인하고 고르거나, "
                                           "세 자리 코드를 직접 입력하세요."),
                            this);
    note->setWordWrap(true);
    body->addWidget(note);

    buildPeopleGrid(first);
    body->addWidget(new QLabel(QStringLiteral("외국인의 국적코드와 체류자격코드"), this));
    body->addWidget(PeopleGrid);

    auto* options = new QHBoxLayout;
    auto* insurance = new QGroupBox(QStringLiteral("보험구분"), this);
    auto* insuranceRow = new QHBoxLayout(insurance);
    Insurance5 = new QRadioButton(QStringLiteral("5 고용·산재 모두"), insurance);
    Insurance1 = new QRadioButton(QStringLiteral("1"), insurance);
    Insurance3 = new QRadioButton(QStringLiteral("3"), insurance);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* button : {Insurance5, Insurance1, Insurance3}) {
        group->addButton(button);
        insuranceRow->addWidget(button);
    }
    Insurance5->setChecked(true);
    options->addWidget(insurance);

    auto* tax = new QGroupBox(QStringLiteral("국세청"), this);
    auto* taxRow = new QHBoxLayout(tax);
    TaxReport = new QCheckBox(QStringLiteral("일용근로소득 지급명세서도 함께 신고"), tax);
    PaymentMonth = new QLineEdit(QString::fromStdString(PaymentMonthOf(input_.year, input_.month)), tax);
    PaymentMonth->setObjectName(QStringLiteral("PaymentMonth"));
    PaymentMonth->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), PaymentMonth));
    PaymentMonth->setPlaceholderText(QStringLiteral("yyyymm"));
    PaymentMonth->setFixedWidth(70);
    PaymentMonth->setEnabled(false);
    taxRow->addWidget(TaxReport);
    taxRow->addWidget(new QLabel(QStringLiteral("지급월"), tax));
    taxRow->addWidget(PaymentMonth);
    options->addWidget(tax);
    body->addLayout(options);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    SaveBtn = new QPushButton(QStringLiteral("저장..."), this);
    CloseBtn = new QPushButton(QStringLiteral("닫기"), this);
    SaveBtn->setDefault(true);
    buttons->addWidget(SaveBtn);
    buttons->addWidget(CloseBtn);
    body->addLayout(buttons);

    connect(SaveBtn, &QPushButton::clicked, this, &EfileDialog::saveRequested);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(TaxReport, &QCheckBox::toggled, PaymentMonth, &QWidget::setEnabled);
    connect(TaxReport, &QCheckBox::toggled, this, &EfileDialog::refreshSummary);
    connect(PaymentMonth, &QLineEdit::textChanged, this, &EfileDialog::refreshSummary);

    setFixedWidth(kWidth);
    refreshSummary();
}

void EfileDialog::buildJobGrid(const EfileSheet& first)
{
    JobGrid = makeGrid({QStringLiteral("직종"), QStringLiteral("인원"), QStringLiteral("직종코드")}, this);
    JobGrid->setObjectName(QStringLiteral("JobGrid"));
    std::map<std::string, int> workers;
    for (const WorkerRow& row : input_.workers)
        ++workers[JobKey(row.nName)];
    jobKeys_ = first.jobsUsed;
    JobGrid->setRowCount(static_cast<int>(jobKeys_.size()));
    for (int row = 0; row < static_cast<int>(jobKeys_.size()); ++row) {
        const std::string& key = jobKeys_[static_cast<std::size_t>(row)];
        JobGrid->setItem(row, 0, fixedItem(shown(JobEntryOfKey(key))));
        JobGrid->setItem(row, 1, fixedItem(QString::number(workers[key]) + QStringLiteral("명")));
        auto* box = new QComboBox(JobGrid);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItem(QString());
        for (const auto& [code, occupation] : ExampleJobCodes())
            box->addItem(code + QLatin1Char(' ') + occupation + QStringLiteral(" (예시, 확인 필요)"), code);
        const auto kept = input_.jobs.find(key);
        box->setCurrentIndex(0);
        box->setEditText(kept == input_.jobs.end() ? QString() : QString::fromStdString(kept->second));
        box->lineEdit()->setPlaceholderText(QStringLiteral("코드 없음"));
        connect(box, &QComboBox::editTextChanged, this, &EfileDialog::refreshSummary);
        JobGrid->setCellWidget(row, kCodeColumn, box);
    }
    JobGrid->setColumnWidth(0, 200);
    JobGrid->setColumnWidth(1, 60);
    JobGrid->setFixedHeight(130);
}

void EfileDialog::buildPeopleGrid(const EfileSheet& first)
{
    PeopleGrid = makeGrid({QStringLiteral("성명"), QStringLiteral("외국인등록번호"), QStringLiteral("국적코드"),
                           QStringLiteral("체류자격코드")},
                          this);
    PeopleGrid->setObjectName(QStringLiteral("PeopleGrid"));
    PeopleGrid->setRowCount(static_cast<int>(first.foreigners.size()));
    for (int row = 0; row < static_cast<int>(first.foreigners.size()); ++row) {
        const EfileForeigner& person = first.foreigners[static_cast<std::size_t>(row)];
        foreignerNumbers_.push_back(person.number);
        PeopleGrid->setItem(row, 0, fixedItem(shown(person.name)));
        PeopleGrid->setItem(row, 1, fixedItem(QString::fromStdString(HyphenatedNumber(person.number))));
        const auto kept = input_.people.find(person.number);
        const std::pair<int, QString> boxes[] = {
            {kNationalityColumn, kept == input_.people.end() ? QString() : QString::fromStdString(kept->second.nationality)},
            {kStayStatusColumn, kept == input_.people.end() ? QString() : QString::fromStdString(kept->second.stayStatus)}};
        for (const auto& [column, text] : boxes) {
            auto* box = new QLineEdit(text, PeopleGrid);
            box->setMaxLength(column == kNationalityColumn ? 3 : 5);
            box->setPlaceholderText(QStringLiteral("입력"));
            connect(box, &QLineEdit::textChanged, this, &EfileDialog::refreshSummary);
            PeopleGrid->setCellWidget(row, column, box);
        }
    }
    PeopleGrid->setColumnWidth(0, 140);
    PeopleGrid->setColumnWidth(1, 150);
    PeopleGrid->setColumnWidth(2, 90);
    PeopleGrid->setFixedHeight(first.foreigners.empty() ? 50 : 130);
}

QComboBox* EfileDialog::jobCodeBox(int row) const
{
    return qobject_cast<QComboBox*>(JobGrid->cellWidget(row, kCodeColumn));
}

QLineEdit* EfileDialog::nationalityBox(int row) const
{
    return qobject_cast<QLineEdit*>(PeopleGrid->cellWidget(row, kNationalityColumn));
}

QLineEdit* EfileDialog::stayStatusBox(int row) const
{
    return qobject_cast<QLineEdit*>(PeopleGrid->cellWidget(row, kStayStatusColumn));
}

JobCodes EfileDialog::enteredJobCodes() const
{
    JobCodes codes;
    for (int row = 0; row < static_cast<int>(jobKeys_.size()); ++row)
        codes[jobKeys_[static_cast<std::size_t>(row)]] = JobCodeOfBoxText(jobCodeBox(row)->currentText());
    return codes;
}

PeopleCodes EfileDialog::enteredPeopleCodes() const
{
    PeopleCodes codes;
    for (int row = 0; row < static_cast<int>(foreignerNumbers_.size()); ++row)
        codes[foreignerNumbers_[static_cast<std::size_t>(row)]] = {NationalityCodeOf(ascii(nationalityBox(row)->text())),
                                                                  StayStatusCodeOf(ascii(stayStatusBox(row)->text()))};
    return codes;
}

QStringList EfileDialog::invalidEntries() const
{
    QStringList invalid;
    const auto quoted = [](const QString& text) { return QStringLiteral("\"") + text.trimmed() + QStringLiteral("\""); };
    for (int row = 0; row < static_cast<int>(jobKeys_.size()); ++row) {
        const QString text = jobCodeBox(row)->currentText();
        if (!text.trimmed().isEmpty() && JobCodeOfBoxText(text).empty())
            invalid << JobGrid->item(row, 0)->text() + QStringLiteral(" 직종코드 ") + quoted(text);
    }
    for (int row = 0; row < static_cast<int>(foreignerNumbers_.size()); ++row) {
        const QString name = PeopleGrid->item(row, 0)->text();
        const QString nationality = nationalityBox(row)->text();
        const QString stay = stayStatusBox(row)->text();
        if (!nationality.trimmed().isEmpty() && NationalityCodeOf(ascii(nationality)).empty())
            invalid << name + QStringLiteral(" 국적코드 ") + quoted(nationality);
        if (!stay.trimmed().isEmpty() && StayStatusCodeOf(ascii(stay)).empty())
            invalid << name + QStringLiteral(" 체류자격코드 ") + quoted(stay);
    }
    if (TaxReport->isChecked() && !IsPaymentMonth(ascii(PaymentMonth->text())))
        invalid << QStringLiteral("지급월 ") + quoted(PaymentMonth->text()) + QStringLiteral(" (yyyymm)");
    return invalid;
}

EfileOptions EfileDialog::options() const
{
    EfileOptions options;
    if (Insurance1->isChecked())
        options.insurance = std::string(1, '1');
    else if (Insurance3->isChecked())
        options.insurance = std::string(1, '3');
    options.reportToTaxOffice = TaxReport->isChecked();
    if (options.reportToTaxOffice)
        options.paymentMonth = ascii(PaymentMonth->text());
    return options;
}

EfileSheet EfileDialog::sheet() const
{
    JobCodes jobs = input_.jobs;
    for (const auto& [key, code] : enteredJobCodes())
        jobs[key] = code;
    PeopleCodes people = input_.people;
    for (const auto& [number, codes] : enteredPeopleCodes())
        people[number] = codes;
    return BuildEfileSheet(input_.workers, input_.year, input_.month, jobs, people, options());
}

void EfileDialog::refreshSummary()
{
    if (SummaryView == nullptr || JobGrid == nullptr || PeopleGrid == nullptr || TaxReport == nullptr)
        return;   // still being built
    const EfileSheet now = sheet();
    QStringList lines;
    lines << (now.summary.empty() ? QStringLiteral("근로자 %1명, 빠지거나 뺀 것이 없습니다.").arg(now.rows.size())
                                  : QStringLiteral("근로자 %1명, 확인할 것 %2건:").arg(now.rows.size()).arg(now.summary.size()));
    for (const std::string& line : now.summary)
        lines << shown(line);
    for (const CodeFileProblem& problem : input_.peopleFileProblems)
        lines << QStringLiteral("인적 파일 %1 %2행 \"%3\": %4")
                     .arg(QLatin1String(kPeopleFileName))
                     .arg(problem.line)
                     .arg(QString::fromStdString(problem.quotedUtf8), shown(problem.reason));
    for (const QString& entry : invalidEntries())
        lines << QStringLiteral("코드가 아닙니다: ") + entry;
    SummaryView->setPlainText(lines.join(QLatin1Char('\n')));
}

} // namespace lavodc
