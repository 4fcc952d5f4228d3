#pragma once
// The two pick lists of the worker entry dialog (job type and reason for leaving) and
// how a stored row maps back onto them. Shared by the dialog and by importing workers.

#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

inline constexpr int kJobEntryCount = 30;
inline constexpr int kReasonEntryCount = 4;

// The 30 job types (CP949); the stored nName is an entry's whole text.
const std::vector<std::string>& JobEntries();

struct ReasonEntry {
    std::string shown;    // what the list shows
    std::string stored;   // what nEtc holds
};
// The 4 reasons for leaving (CP949).
const std::vector<ReasonEntry>& ReasonEntries();

// The job list position for a stored nName: its first character after leading blanks,
// "1".."9" give 0..8, "A".."U" give 9..29, anything else (or nothing) the last entry.
int JobPosition(std::string_view nName);

// The reason list position for a stored nEtc: blank gives 0; otherwise the first
// character after leading blanks, "1".."3" give 1..3, anything else 0.
int ReasonPosition(std::string_view nEtc);

} // namespace lavodc
