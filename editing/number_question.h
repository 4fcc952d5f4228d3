#pragma once
// Leaving a registration-number box: a blank number passes, a number that passes the check
// passes, and any other is kept only when the user says so.

#include <string>

namespace lavodc {

class Prompts;
class TChkEdit;

enum class NumberVerdict { Passed, Accepted, Refused };

// `number` as the box gives it (the hyphen kept); `checker` is the window's hidden ChkJumin.
NumberVerdict CheckNumberOnLeaving(const std::string& number, TChkEdit& checker, Prompts& prompts);

} // namespace lavodc
