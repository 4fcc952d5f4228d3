#pragma once
// The registration-number box: a masked edit whose Kind chooses the mask and the check.
// The windows keep a hidden one named "ChkJumin" and use it only to check other boxes'
// texts through CheckText.

#include "core/reg_number_checker.h"
#include "editing/masked_line_edit.h"

#include <string>

namespace lavodc {

class TChkEdit : public MaskedLineEdit {
    Q_OBJECT
public:
    explicit TChkEdit(QWidget* parent = nullptr);

    TChkKind Kind() const { return checker_.Kind(); }
    // Sets the mask and the maximum length of the kind; other values change nothing.
    void SetKind(TChkKind kind);
    int MaxLength() const { return checker_.MaxLength(); }

    // Checks the box's current text and keeps the verdict in CheckMsg().
    bool CheckNumber();
    // Copies `cp949Text` into the box and checks it as given, "-" after the sixth
    // digit allowed, so a text from a "######-#######" box checks the same.
    bool CheckText(const std::string& cp949Text);
    bool CheckText(const QString& text);

    bool CheckCitizen(std::string_view digits) { return checker_.CheckCitizen(digits); }
    bool CheckBusiness(std::string_view digits) { return checker_.CheckBusiness(digits); }
    static bool IsLeapYear(int year) { return RegNumberChecker::IsLeapYear(year); }

    const std::string& CheckMsg() const { return checker_.CheckMsg(); }   // CP949
    QString CheckMsgText() const;                                           // UTF-8

private:
    void applyKind();

    RegNumberChecker checker_;
};

} // namespace lavodc
