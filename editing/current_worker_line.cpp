#include "editing/current_worker_line.h"

#include "editing/box_text.h"

#include <QLabel>

namespace lavodc {

CurrentWorkerLine::CurrentWorkerLine(WorkerTable& table, QLabel* name, QLabel* number, QLabel* telephone,
                                     QLabel* job)
    : table_(table), name_(name), number_(number), telephone_(telephone), job_(job)
{
    table_.AddListener(this);
    refresh();
}

CurrentWorkerLine::~CurrentWorkerLine()
{
    table_.RemoveListener(this);
}

void CurrentWorkerLine::refresh()
{
    const bool any = table_.Active() && !table_.IsEmpty() && table_.CurrentIndex() >= 0;
    const WorkerRow* row = any ? &table_.CurrentRow() : nullptr;
    name_->setText(row ? ShownText(row->pName) : QString());
    number_->setText(row ? ShownText(row->JmnNo) : QString());
    telephone_->setText(row ? ShownText(row->nTel) : QString());
    job_->setText(row ? ShownText(row->nName) : QString());
}

} // namespace lavodc
