#include "report/report_labels.h"

#include <cstdio>

namespace lavodc::report {

const std::array<std::string, kDetailLabelCount>& DetailLabelNames()
{
    static const std::array<std::string, kDetailLabelCount> names = [] {
        std::array<std::string, kDetailLabelCount> list;
        list[kLabelPName] = "pName";
        list[kLabelJmnNo] = "JmnNo";
        list[kLabelNAddr] = "nAddr";
        list[kLabelNName] = "nName";
        for (int day = 1; day <= 31; ++day) {
            char name[4];
            std::snprintf(name, sizeof name, "d%02d", day);
            list[kLabelD01 + day - 1] = name;
        }
        list[kLabelNNal] = "nNal";
        list[kLabelNDay] = "nDay";
        list[kLabelSmMny] = "SmMny";
        list[kLabelNEtc] = "nEtc";
        return list;
    }();
    return names;
}

int DetailLabelIndex(std::string_view name)
{
    const auto& names = DetailLabelNames();
    for (int i = 0; i < kDetailLabelCount; ++i)
        if (names[i] == name)
            return i;
    return -1;
}

const std::vector<std::string>& CaptionLabelNames()
{
    static const std::vector<std::string> names = {"HRTitl",  "cmpNo",    "indNo",   "indName",
                                                   "gsName",  "MgrName",  "MgrJmnNo", "cmpAddr",
                                                   "cmpTel",  "cmpName",  "prtday"};
    return names;
}

} // namespace lavodc::report
