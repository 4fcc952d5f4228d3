#pragma once
// The codes the e-filing workbook needs that a sheet does not hold, as text files: the job
// table ("job,code" a line, job = the job type's first character "A" or its whole entry
// "A.철근원") and the codes of foreigners ("registration number,nationality code,stay-status
// code" a line). The people file the program keeps in its data folder has the second form.
//
// Files are read as CSV (UTF-8 or CP949, comma-separated); blank lines are skipped, and so is a
// first line that holds no digit where the codes stand (a title row).

#include "core/efile_rows.h"

#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

// A line of a code file that was not taken.
struct CodeFileProblem {
    int line = 0;             // from 1
    std::string quotedUtf8;   // the line as read, quoted as QuotedInput quotes inputs (UTF-8)
    std::string reason;       // CP949
};

struct JobCodeFile {
    JobCodes codes;
    std::vector<CodeFileProblem> problems;
};
// A job code is three digits; a code of one or two digits is taken with the leading zeros a
// spreadsheet drops ("13" is "013").
JobCodeFile ParseJobCodes(std::string_view bytes);

struct PeopleCodeFile {
    PeopleCodes codes;
    std::vector<CodeFileProblem> problems;
};
// Registration numbers with or without the hyphen; codes in capitals.
PeopleCodeFile ParsePeopleCodes(std::string_view bytes);

// Code checks on what a clerk typed (blanks around it and lower-case letters allowed):
// the code as stored, or empty when it is not one.
std::string JobCodeOf(std::string_view typed);            // "701", "013"
std::string NationalityCodeOf(std::string_view typed);    // three letters or digits
std::string StayStatusCodeOf(std::string_view typed);     // up to five letters, digits or "-"

// The people file after `updates`: a line of a number that is updated is replaced (or
// dropped when both codes of the update are empty), numbers not in the file are added at the
// end, every other line stays byte for byte. A new file starts with a title line. UTF-8.
std::string PeopleFileText(std::string_view existing, const PeopleCodes& updates);

// The bytes of a regular file of at most `mostBytes`; raises FileError (a missing file with
// the platform's ENOENT code) for anything else, without waiting on a FIFO or a device.
std::string ReadSmallRegularFile(const std::string& path, std::size_t mostBytes);

} // namespace lavodc
