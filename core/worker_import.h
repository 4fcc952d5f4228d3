#pragma once
// Workers brought in from a spreadsheet or CSV list: the title row found by the worker
// list's column titles, each row below it turned into a row of the table with the rules of
// the entry dialog, and the rows that cannot be added refused with their reason. The list is
// read as a stream: only the cells under known titles are looked at, and the planned workers
// are kept packed.

#include "core/byte_source.h"
#include "core/list_rows.h"
#include "core/packed_worker_rows.h"
#include "core/worker_table.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

enum class RefusalReason {
    NoName,            // the name cell is empty
    NumberInSheet,     // the registration number is already in the sheet
    NumberTwiceInFile, // an earlier row of the file has the number
    NotANumber,        // daily hours or total wages that are not a number
    AmountNotStorable, // daily hours or total wages below zero or beyond what a sheet file holds
    NotCp949,          // a character the program's code page cannot hold
};

struct RefusedRow {
    int number = 0;       // the row's number in the file
    std::string name;     // CP949, as far as it could be read
    RefusalReason reason = RefusalReason::NoName;
    std::string detail;   // CP949: the number, or the column
};

struct ImportPlan {
    int titleRow = 0;                  // the row number of the titles
    bool hasDayMarks = false;          // the file has day columns "1".."31"
    std::string period;                // the period the workers carry
    PackedWorkerRows workers;          // ready to add, in file order
    std::vector<RefusedRow> refused;
    // Workers whose registration number fails the number check: added all the same, as the
    // entry dialog allows when asked, and named in the one question.
    std::vector<std::size_t> failingNumbers;   // positions in `workers`

    // The worker at `index` of `workers` as the table will hold it.
    WorkerRow Worker(std::size_t index) const;
};

// How many refused rows the summary names one by one.
inline constexpr std::size_t kNamedRefusals = 5;

// Reads a list once, handing its rows to the sink.
using ListReading = std::function<void(ListRowSink&)>;

// The title row: the first row holding the name title. Throws ImportError when no row
// holds it, and whatever the reading raises (a list too big, a damaged file).
ImportPlan PlanImport(const ListReading& read, const WorkerTable& table, std::string_view period);

// A CSV file, split at the one of comma, semicolon and tab that finds the most titles in its
// title row; between equals, the one that splits the rows below into as many cells as the
// titles. The file is read three times: for its code, for the separator, for the workers.
ImportPlan PlanCsvImport(ByteSource& bytes, const WorkerTable& table, std::string_view period);

// What will happen, for the question before adding and for the command line (CP949).
std::string ImportSummaryText(const ImportPlan& plan);
// The question: the summary followed by the request to go on (CP949).
std::string ImportQuestionText(const ImportPlan& plan);
// The status bar after adding (CP949).
std::string ImportDoneText(const ImportPlan& plan);

// Adds the planned workers with the table's views frozen; the first row becomes current.
// The plan's workers are released as they go to the table (a large list does not stand in
// memory twice): afterwards the plan gives its counts (ImportDoneText), not its workers.
void AddImportedWorkers(WorkerTable& table, ImportPlan& plan);

} // namespace lavodc
