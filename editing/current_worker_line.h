#pragma once
// The read-only line above the worker list: name, number, telephone and job of the
// current worker, following the table.

#include "core/worker_table.h"

class QLabel;

namespace lavodc {

class CurrentWorkerLine : public WorkerTableListener {
public:
    CurrentWorkerLine(WorkerTable& table, QLabel* name, QLabel* number, QLabel* telephone, QLabel* job);
    ~CurrentWorkerLine() override;

    void refresh();

    void tableChanged() override { refresh(); }
    void rowChanged(int) override { refresh(); }
    void currentChanged(int) override { refresh(); }

private:
    WorkerTable& table_;
    QLabel* name_;
    QLabel* number_;
    QLabel* telephone_;
    QLabel* job_;
};

} // namespace lavodc
