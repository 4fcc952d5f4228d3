#pragma once
// Where the codes of the e-filing workbook are kept between months: the job table in the
// settings file (section "전자신고직종", key = the job type's first character, value = the
// three-digit code) and the codes of foreigners in the people file of the data folder,
// readable and writable by its user alone.

#include "core/efile_codes.h"

#include <QString>

namespace lavodc {

inline const char* const kPeopleFileName = "lavopeople.csv";

// The people file: kPeopleFileName in the data folder.
QString PeopleFilePath();

// The job table; a value that is not a job code counts as none.
JobCodes ReadJobTable(const QString& iniName);
// Writes the codes of `changes` (an empty code clears the job's). Raises SettingsError.
void WriteJobTable(const QString& iniName, const JobCodes& changes);

// The people file as read; empty when there is none. Raises FileError when it is there but
// cannot be read (a folder, a FIFO, no permission), so that it is never saved over unread.
PeopleCodeFile ReadPeopleFile();
// Saves `updates` into the people file (PeopleFileText) through the saving path, mode 0600.
// Raises FileError.
void SavePeopleCodes(const PeopleCodes& updates);

} // namespace lavodc
