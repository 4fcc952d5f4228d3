// Resident (13 digits) and business (10 digits) registration number checks.

#include "core/reg_number_checker.h"

#include "core/cp949.h"
#include "core/quorva_lib.h"

namespace lavodc {

namespace {

// The verdicts, exact (blanks included), converted to CP949 once.
struct Messages {
    std::string wrongLength = K("부정확한 수");
    std::string digitsOnly = K("숫자만 됩니다");
    std::string citizenNot13 = K("틀려요 ! <가짜 입력>");
    std::string badMonth = K("틀려요 ! 가짜 <월>");
    std::string badGender = K("틀려요 ! 가짜 <성별 부정확>");
    std::string badFebruaryDay = K("틀려요 ! 가짜 <2월 날짜>");
    std::string badDay = K("틀려요 ! 가짜 <날짜>");
    std::string citizenWrong = K("틀려요 <가짜!!>");
    std::string citizenRight = K("맞아요 <맞음>");
    std::string businessNot10 = K("틀려요 !  적은 숫자!!");
    std::string businessWrong = K("틀려요 !  가짜!!");
    std::string businessRight = K("맞아요 !");
};

const Messages& messages()
{
    static const Messages m;
    return m;
}

constexpr int kMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The value of a digit character. Callers pass digits; anything else still gives a number
// (never an exception), as the checks must not raise.
int digit(char c)
{
    return static_cast<unsigned char>(c) - '0';
}

bool allDigits(std::string_view text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

void RegNumberChecker::SetKind(TChkKind kind)
{
    if (kind == TChkKind::ceCitizen || kind == TChkKind::ceBussiness)
        kind_ = kind;
}

const char* RegNumberChecker::EditMask() const
{
    return kind_ == TChkKind::ceCitizen ? "999999\\-9999999;0;_" : "999\\-99\\-99999;0;_";
}

int RegNumberChecker::MaxLength() const
{
    return kind_ == TChkKind::ceCitizen ? 14 : 12;
}

bool RegNumberChecker::CheckNumber()
{
    const Messages& m = messages();
    std::string text = Trim(text_);
    if (kind_ == TChkKind::ceCitizen) {
        if (text.size() >= 7 && text[6] == '-')
            text.erase(6, 1);
        if (text.size() != 13) {
            checkMsg_ = m.wrongLength;
            return false;
        }
    } else {
        if (text.size() >= 7 && text[3] == '-' && text[6] == '-') {
            text.erase(6, 1);
            text.erase(3, 1);
        }
        if (text.size() != 10) {
            checkMsg_ = m.wrongLength;
            return false;
        }
    }
    if (!allDigits(text)) {
        checkMsg_ = m.digitsOnly;
        return false;
    }
    return kind_ == TChkKind::ceCitizen ? CheckCitizen(text) : CheckBusiness(text);
}

bool RegNumberChecker::CheckCitizen(std::string_view digits)
{
    const Messages& m = messages();
    if (digits.size() != 13) {
        checkMsg_ = m.citizenNot13;
        return false;
    }
    int d[14];
    for (int k = 1; k <= 13; ++k)
        d[k] = digit(digits[k - 1]);

    const int yy = d[1] * 10 + d[2];
    const int mm = d[3] * 10 + d[4];
    const int dd = d[5] * 10 + d[6];
    if (mm < 1 || mm > 12) {
        checkMsg_ = m.badMonth;
        return false;
    }
    int year;
    if (digits[6] == '1' || digits[6] == '2') {
        year = 1900 + yy;
    } else if (digits[6] == '3' || digits[6] == '4') {
        year = 2000 + yy;
    } else {
        checkMsg_ = m.badGender;
        return false;
    }
    if (IsLeapYear(year) && mm == 2) {
        if (dd < 1 || dd > 29) {
            checkMsg_ = m.badFebruaryDay;
            return false;
        }
    } else if (dd < 1 || dd > kMonthDays[mm]) {
        checkMsg_ = m.badDay;
        return false;
    }

    static constexpr int kWeights[13] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5};
    int sum = 0;
    for (int k = 1; k <= 12; ++k)
        sum += kWeights[k] * d[k];
    int check = 11 - (sum % 11);
    if (check == 10 || check == 11)
        check -= 10;
    if (check == d[13]) {
        checkMsg_ = m.citizenRight;
        return true;
    }
    checkMsg_ = m.citizenWrong;
    return false;
}

bool RegNumberChecker::CheckBusiness(std::string_view digits)
{
    const Messages& m = messages();
    if (digits.size() != 10) {
        checkMsg_ = m.businessNot10;
        return false;
    }
    int d[11];
    for (int k = 1; k <= 10; ++k)
        d[k] = digit(digits[k - 1]);
    const int p = 5 * d[9];
    const int s = p / 10 + p % 10 + d[1] + d[4] + d[7] + 3 * (d[2] + d[5] + d[8]) + 7 * (d[3] + d[6]);
    // ((s mod 10) + 10) mod 10 keeps the remainder non-negative for non-digit input as well.
    const int check = (10 - ((s % 10) + 10) % 10) % 10;
    if (check == d[10]) {
        checkMsg_ = m.businessRight;
        return true;
    }
    checkMsg_ = m.businessWrong;
    return false;
}

bool RegNumberChecker::IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

} // namespace lavodc
