#pragma once
// The data labels of the form: the 39 detail labels filled row by row, and the labels
// of the page header and footer whose texts the print command sets.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lavodc::report {

inline constexpr int kDetailLabelCount = 39;

// Positions of the detail labels in DetailTexts.
enum DetailLabel : int {
    kLabelPName = 0,
    kLabelJmnNo = 1,
    kLabelNAddr = 2,
    kLabelNName = 3,
    kLabelD01 = 4,   // d01..d31 follow in order
    kLabelNNal = 35,
    kLabelNDay = 36,
    kLabelSmMny = 37,
    kLabelNEtc = 38,
};

using DetailTexts = std::array<std::string, kDetailLabelCount>;

// "pName", "JmnNo", "nAddr", "nName", "d01".."d31", "nNal", "nDay", "SmMny", "nEtc".
const std::array<std::string, kDetailLabelCount>& DetailLabelNames();
// Position of a detail label, -1 for any other name.
int DetailLabelIndex(std::string_view name);

// The page header and footer labels set from outside, in the order the print command sets them.
const std::vector<std::string>& CaptionLabelNames();

inline constexpr std::string_view kPageNumberLabel = "QRSysData1";

} // namespace lavodc::report
