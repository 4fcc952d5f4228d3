#include "core/worker_entry_lists.h"

#include "core/cp949.h"
#include "core/quorva_lib.h"

namespace lavodc {

const std::vector<std::string>& JobEntries()
{
    static const std::vector<std::string> entries = [] {
        const char* utf8[kJobEntryCount] = {
            "1.고위임원&관리자", "2.전문가", "3.기술공&준전문가", "4.사무직원",
            "5.서비스&상품판매", "6.농업&어업근로자", "7.기능원및관련자", "8.기계장치&조립원",
            "9.단순노무직근로자", "A.철근원", "B.철골공", "C.경량철골공",
            "D.비계및콘크리트", "E.석공", "F.조적원(벽돌공)", "G.목공",
            "H.미장원", "I.방수원", "J.배관원", "K.단열원(보온공)",
            "L.바닥재시공원", "M.유리부착원", "N.도배원", "O.건물도장원",
            "P.건축완성관련직", "Q.건설기계운전원", "R.채석및석재가공", "S.발파및화약관리",
            "T.토목공사및채굴", "U.건설단순노무자",
        };
        std::vector<std::string> list;
        for (const char* entry : utf8)
            list.push_back(K(entry));
        return list;
    }();
    return entries;
}

const std::vector<ReasonEntry>& ReasonEntries()
{
    static const std::vector<ReasonEntry> entries = {
        {K(" 0. 현재 계속 근로"), ""},
        {K(" 1. 회사사정에 의한 이직(폐업,공사중단 및 종료,계약만료)"), K("1.회사사정에 의한 이직")},
        {K(" 2. 부득이한 개인사정에 의한 이직(질병,부상,출산 등)"), K("2.부득이한 개인사정")},
        {K(" 3. 기타 개인사정에 의한 이직(전직,자영업에 의한 이직)"), K("3.기타 개인사정")},
    };
    return entries;
}

int JobPosition(std::string_view nName)
{
    const std::string trimmed = TrimLeading(nName);
    if (trimmed.empty())
        return kJobEntryCount - 1;
    const char first = trimmed.front();
    if (first >= '1' && first <= '9')
        return first - '1';
    if (first >= 'A' && first <= 'U')
        return first - 'A' + 9;
    return kJobEntryCount - 1;
}

int ReasonPosition(std::string_view nEtc)
{
    if (RemoveBlanks(nEtc).empty())
        return 0;
    const std::string trimmed = TrimLeading(nEtc);
    if (!trimmed.empty() && trimmed.front() >= '1' && trimmed.front() <= '3')
        return trimmed.front() - '0';
    return 0;
}

} // namespace lavodc
