#pragma once
// A worker table with a few workers, built in code, for the editing tests.

#include "core/cp949.h"
#include "core/worker_table.h"

#include <string>

namespace lavodc::testing {

struct Worker {
    const char* name;     // UTF-8
    const char* number;
    const char* job;      // UTF-8
    double wages = 0;
};

inline void AddWorker(WorkerTable& table, const Worker& worker)
{
    table.Append();
    table.SetFieldText("pName", K(worker.name));
    table.SetFieldText("JmnNo", worker.number);
    table.SetFieldText("nName", K(worker.job));
    table.SetFieldFloat("SmMny", worker.wages);
    table.Post();
}

// 김철수, 박영희, 이민호 (by name), with jobs that sort the other way round.
inline void AddThreeWorkers(WorkerTable& table)
{
    if (!table.Active())
        table.Open();
    AddWorker(table, {"박영희", "850101-1234566", "B.철골공", 1234567});
    AddWorker(table, {"김철수", "750505-1234567", "U.건설단순노무자", 0});
    AddWorker(table, {"이민호", "900909-2345678", "A.철근원", 98000});
    table.First();
}

} // namespace lavodc::testing
