#pragma once
// Validation of resident (13-digit) and business (10-digit) registration numbers.
// The verdict of the last check stays in CheckMsg() (CP949 text).

#include <string>
#include <string_view>

namespace lavodc {

enum class TChkKind : unsigned char { ceCitizen = 0, ceBussiness = 1 };

class RegNumberChecker {
public:
    RegNumberChecker() = default;

    TChkKind Kind() const { return kind_; }
    void SetKind(TChkKind kind);                // values other than the two are ignored
    const char* EditMask() const;               // "999999\-9999999;0;_" or "999\-99\-99999;0;_"
    int MaxLength() const;                      // 14 or 12

    void SetText(std::string_view text) { text_ = text; }
    const std::string& Text() const { return text_; }

    bool CheckNumber();
    bool CheckCitizen(std::string_view digits);
    bool CheckBusiness(std::string_view digits);
    static bool IsLeapYear(int year);

    const std::string& CheckMsg() const { return checkMsg_; }

private:
    TChkKind kind_ = TChkKind::ceCitizen;
    std::string text_;
    std::string checkMsg_;
};

} // namespace lavodc
