// What an import will do and did, in the words of the one question and the status bar.
#include "core/worker_import.h"

#include "core/cp949.h"

#include <map>

namespace lavodc {

namespace {

std::string ReasonText(RefusalReason reason)
{
    switch (reason) {
    case RefusalReason::NoName: return K("성명 없음");
    case RefusalReason::NumberInSheet: return K("이미 투입되어 있는 주민등록번호");
    case RefusalReason::NumberTwiceInFile: return K("파일 안에서 겹친 주민등록번호");
    case RefusalReason::NumberTwiceInSheet: return K("시트 안에서 겹친 주민등록번호");
    case RefusalReason::NotANumber: return K("숫자가 아닌 값");
    case RefusalReason::AmountNotStorable: return K("음수이거나 너무 큰 값");
    case RefusalReason::NotCp949: return K("쓸 수 없는 글자");
    }
    return {};
}

// "  3행 홍길동: detail" for the first rows, then how many more, counted in `unit`.
void AppendNamed(std::string& text, const NamedRows& rows, const char* unit)
{
    for (const NamedRows::Row& row : rows.first)
        text += "\n  " + std::to_string(row.number) + K("행 ") + row.name + ": " + row.detail;
    if (rows.count > rows.first.size())
        text += K("\n  외 ") + std::to_string(rows.count - rows.first.size()) + K(unit);
}

// What an update changes, by the columns the list has: "임금총액·평균시간·근태".
std::string UpdatedFields(const ImportPlan& plan)
{
    std::string fields;
    for (const auto& [has, name] : {std::pair{plan.hasWages, "임금총액"}, std::pair{plan.hasHours, "평균시간"},
                                    std::pair{plan.hasDayMarks, "근태"}}) {
        if (has)
            fields += (fields.empty() ? "" : K("·")) + K(name);
    }
    return fields;
}

} // namespace

std::string ImportSummaryText(const ImportPlan& plan)
{
    std::string text = K("추가할 근로자: ") + std::to_string(plan.workers.size()) + K("명");
    if (!plan.failingNumbers.empty()) {
        text += K("\n그중 주민등록번호가 올바르지 못한 근로자: ") + std::to_string(plan.failingNumbers.size()) +
                K("명 (그대로 추가)");
        for (std::size_t i = 0; i < plan.failingNumbers.size() && i < kNamedRefusals; ++i) {
            const WorkerRow row = plan.Worker(plan.failingNumbers[i]);
            text += "\n  " + row.pName + " (" + row.JmnNo + ")";
        }
        if (plan.failingNumbers.size() > kNamedRefusals)
            text += K("\n  외 ") + std::to_string(plan.failingNumbers.size() - kNamedRefusals) + K("명");
    }

    text += K("\n고칠 근로자: ") + std::to_string(plan.updates.size()) + K("명");
    if (!plan.updates.empty())
        text += K(" (시트에 있는 주민등록번호: ") + UpdatedFields(plan) + K("만 바꿈)");
    if (plan.otherNames.count > 0) {
        text += K("\n그중 성명이 시트와 다른 근로자: ") + std::to_string(plan.otherNames.count) +
                K("명 (시트의 성명 그대로)");
        for (const NamedRows::Row& row : plan.otherNames.first)
            text += "\n  " + std::to_string(row.number) + K("행 ") + row.name + K(" (시트: ") + row.detail + ")";
        if (plan.otherNames.count > plan.otherNames.first.size())
            text += K("\n  외 ") + std::to_string(plan.otherNames.count - plan.otherNames.first.size()) + K("명");
    }
    if (plan.unchanged > 0)
        text += K("\n이미 명단과 같은 근로자: ") + std::to_string(plan.unchanged) + K("명");

    if (plan.hasDayMarks) {
        text += K("\n근태: 명단의 날짜 칸 ") + std::to_string(plan.dayColumns) + K("개로 채움");
        if (plan.dayColumns < kDayCount)
            text += K(" (명단에 없는 날짜는 비움)");
    }
    if (plan.otherDays.count > 0) {
        text += K("\n근태 표시로 읽지 않은 칸이 있는 행: ") + std::to_string(plan.otherDays.count) +
                K("개 (일하지 않은 날로 봄)");
        AppendNamed(text, plan.otherDays, "개");
    }

    if (plan.refused.empty())
        return text;

    // How many of each reason, in the order of the reasons.
    std::map<RefusalReason, int> counts;
    for (const RefusedRow& refused : plan.refused)
        ++counts[refused.reason];
    text += K("\n제외되는 행: ") + std::to_string(plan.refused.size()) + K("개 (");
    bool first = true;
    for (const auto& [reason, count] : counts) {
        text += (first ? "" : ", ") + ReasonText(reason) + " " + std::to_string(count);
        first = false;
    }
    text += ")";

    for (std::size_t i = 0; i < plan.refused.size() && i < kNamedRefusals; ++i) {
        const RefusedRow& refused = plan.refused[i];
        text += "\n  " + std::to_string(refused.number) + K("행");
        if (!refused.name.empty())
            text += " " + refused.name;
        text += ": " + ReasonText(refused.reason);
        if (!refused.detail.empty())
            text += " (" + refused.detail + ")";
    }
    if (plan.refused.size() > kNamedRefusals)
        text += K("\n  외 ") + std::to_string(plan.refused.size() - kNamedRefusals) + K("개");
    return text;
}

std::string ImportQuestionText(const ImportPlan& plan)
{
    return ImportSummaryText(plan) + K("\n\n가져오시겠습니까?");
}

std::string ImportDoneText(const ImportPlan& plan)
{
    std::string text = K("명단에서 근로자 ");
    if (!plan.workers.empty() || plan.updates.empty())
        text += std::to_string(plan.workers.size()) + K("명을 추가") + (plan.updates.empty() ? K("했습니다") : K("하고 "));
    if (!plan.updates.empty())
        text += std::to_string(plan.updates.size()) + K("명을 고쳤습니다");
    if (!plan.refused.empty())
        text += K(" (제외 ") + std::to_string(plan.refused.size()) + K("행)");
    return text;
}

} // namespace lavodc
