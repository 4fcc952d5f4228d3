#include "editing/number_question.h"

#include "core/quorva_lib.h"
#include "editing/chk_edit.h"
#include "services/prompts.h"

namespace lavodc {

NumberVerdict CheckNumberOnLeaving(const std::string& number, TChkEdit& checker, Prompts& prompts)
{
    if (RemoveChar('-', RemoveBlanks(number)).empty() || checker.CheckText(number))
        return NumberVerdict::Passed;
    return prompts.ConfirmBox(QStringLiteral("올바르지 못한 주민등록입니다. 허용하시겠습니까?"))
               ? NumberVerdict::Accepted
               : NumberVerdict::Refused;
}

} // namespace lavodc
