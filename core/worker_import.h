#pragma once
// Workers brought in from a spreadsheet or CSV list: the title row found by the worker
// list's column titles, and each row below it either a new row of the table, made with the
// rules of the entry dialog, or, when its registration number is in the sheet already, new
// wages, hours and days for that worker; the rows that can be neither are refused with their
// reason. The list is read as a stream: only the cells under known titles are looked at, and
// the planned workers are kept packed.

#include "core/byte_source.h"
#include "core/list_rows.h"
#include "core/packed_worker_rows.h"
#include "core/worker_table.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

enum class RefusalReason {
    NoName,             // the name cell is empty
    NumberInSheet,      // a blank or incomplete number that the sheet holds already
    NumberTwiceInFile,  // an earlier row of the file has the number
    NumberTwiceInSheet, // more than one worker of the sheet has the number: which to update?
    NotANumber,         // daily hours or total wages that are not a number
    AmountNotStorable,  // daily hours or total wages below zero or beyond what a sheet file holds
    NotCp949,           // a character the program's code page cannot hold
};

struct RefusedRow {
    int number = 0;       // the row's number in the file
    std::string name;     // CP949, as far as it could be read
    RefusalReason reason = RefusalReason::NoName;
    std::string detail;   // CP949: the number, or the column
};

// A worker of the sheet whose values the list changes.
struct WorkerUpdate {
    int row = 0;                   // the worker's place in the table, as planned
    std::uint64_t key = 0;         // its registration number's digits
    std::optional<double> hours;   // nDay, when the list gives it
    std::optional<double> wages;   // SmMny, when the list gives it
    std::uint32_t days = 0;        // bit d set: day d + 1 worked (when the list has day columns)
};

// Rows of the list named one by one in the summary: the first few, and how many in all.
struct NamedRows {
    struct Row {
        int number = 0;       // in the file
        std::string name;     // CP949
        std::string detail;   // CP949
    };
    std::vector<Row> first;
    std::size_t count = 0;

    void Add(int number, const std::string& name, std::string detail);
};

struct ImportPlan {
    int titleRow = 0;                  // the row number of the titles
    bool hasDayMarks = false;          // the file has day columns "1".."31" or "1일".."31일"
    int dayColumns = 0;                // how many of them
    bool hasHours = false;             // the file has the column of the daily hours
    bool hasWages = false;             // and of the total wages
    std::string period;                // the period the workers carry
    PackedWorkerRows workers;          // ready to add, in file order
    std::vector<WorkerUpdate> updates; // workers of the sheet the list changes, in file order
    std::size_t unchanged = 0;         // workers of the sheet the list gives the same values
    std::vector<RefusedRow> refused;
    // Workers whose registration number fails the number check: added all the same, as the
    // entry dialog allows when asked, and named in the one question.
    std::vector<std::size_t> failingNumbers;   // positions in `workers`
    NamedRows otherNames;   // updates whose name in the list is not the sheet's
    NamedRows otherDays;    // rows with day cells that are neither empty nor a mark

    // The worker at `index` of `workers` as the table will hold it.
    WorkerRow Worker(std::size_t index) const;
    // Whether applying the plan changes the sheet.
    bool ChangesSheet() const { return !workers.empty() || !updates.empty(); }
};

// How many refused rows the summary names one by one.
inline constexpr std::size_t kNamedRefusals = 5;

// Reads a list once, handing its rows to the sink.
using ListReading = std::function<void(ListRowSink&)>;

// The title row: the first row holding the name title. Throws ImportError when no row
// holds it, and whatever the reading raises (a list too big, a damaged file).
//
// Registration numbers are compared by their thirteen digits. A row whose number one worker
// of the sheet has updates that worker: the total wages and the daily hours take the list's
// values where its cell holds one (an empty cell or a missing column leaves the value), and
// with day columns the list gives the whole month: a day is worked when its cell holds a
// mark, and a day without a column or with an empty cell is not. Nothing else of the worker
// changes. Of two rows with one number the later is refused, whether the first adds or
// updates: adding them up could count a worker twice. A blank number never matches a worker.
ImportPlan PlanImport(const ListReading& read, const WorkerTable& table, std::string_view period);

// A CSV file, split at the one of comma, semicolon and tab that finds the most titles in its
// title row; between equals, the one that splits the rows below into as many cells as the
// titles. The file is read three times: for its code, for the separator, for the workers.
ImportPlan PlanCsvImport(ByteSource& bytes, const WorkerTable& table, std::string_view period);

// What will happen, for the question before adding and for the command line (CP949).
std::string ImportSummaryText(const ImportPlan& plan);
// The question: the summary followed by the request to go on (CP949).
std::string ImportQuestionText(const ImportPlan& plan);
// The status bar after the import (CP949).
std::string ImportDoneText(const ImportPlan& plan);

// Updates the planned workers of the sheet, then adds the new ones, all with the table's views
// frozen; each updated row is recounted when the list has day columns. The table must be the
// one planned against, unchanged meanwhile (ImportError otherwise, before anything changes).
// With workers added the first row becomes current, otherwise the row that was current stays.
// The plan's workers are released as they go to the table (a large list does not stand in
// memory twice): afterwards the plan gives its counts (ImportDoneText), not its workers.
void ApplyImport(WorkerTable& table, ImportPlan& plan);

} // namespace lavodc
