// SPDX-License-Identifier: GPL-3.0-or-later
// The support schedule's model over a line of 10,000 supports (or the count given): the
// generated schedule imported from CSV, every row computed by the model, then every row
// computed again after a change of the common data (an edit the window would make from its
// «Общие данные» panel), a sort of the filter model by the governing column's moment, and the
// export as .xlsx. Prints the wall time of each step and the peak resident memory.
//
//   build/bin/bench_schedule_model [ROWS]
#include "generatedschedule.h"

#include "core/schedule/scheduleexport.h"
#include "core/schedule/scheduleimport.h"
#include "core/schedule/schedulefilter.h"
#include "core/schedule/schedulemodel.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

using namespace kelsa;

namespace
{

double peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kB on Linux
}

void report(const char *step, QElapsedTimer &clock)
{
    std::printf(
        "%-34s %9.1f ms  peak %6.1f MB\n", step, clock.nsecsElapsed() / 1e6, peakMegabytes());
    clock.restart();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 rows = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10000;
    QByteArray csv = scheduleColumns().join(QLatin1Char(',')).toUtf8() + '\n';
    for (qint64 row = 0; row < rows; ++row)
        csv += scheduleCells(row).join(QLatin1Char(',')).toUtf8() + '\n';
    std::printf("%lld supports, %.1f MB of CSV, start: peak %.1f MB\n", rows,
        csv.size() / 1048576.0, peakMegabytes());

    QElapsedTimer clock;
    clock.start();
    Schedule common;
    common.decimalSeparator = QLatin1Char('.');
    QBuffer buffer(&csv);
    buffer.open(QIODevice::ReadOnly);
    ScheduleImportResult imported = importScheduleCsv(buffer, common);
    if (!std::holds_alternative<Schedule>(imported)) {
        std::fprintf(stderr, "import failed: %s\n",
            qPrintable(std::get<ScheduleImportProblem>(imported).text));
        return 1;
    }
    report("import CSV", clock);

    ScheduleModel model;
    model.setSchedule(std::get<Schedule>(std::move(imported)));
    report("compute every row", clock);

    Calculation changed = model.schedule().common;
    changed.text(InputField::IceGp) = QStringLiteral("3.5"); // no column holds Gп, so every row
    model.apply(ScheduleEdit { { SetCommon { changed } } });
    report("recompute after the common data", clock);

    ScheduleFilterModel filter;
    filter.setSourceModel(&model);
    int governing = 0;
    for (int column = 0; column < model.columnCount(); ++column)
        if (model.column(column).kind == ScheduleModel::ColumnKind::Moment)
            governing = column; // the last moment: Label10
    filter.sort(governing, Qt::DescendingOrder);
    report("sort by a moment", clock);

    QTemporaryDir dir;
    std::vector<ScheduleRowResult> results;
    results.reserve(std::size_t(model.rowCount()));
    for (int row = 0; row < model.rowCount(); ++row)
        results.push_back(model.result(row));
    const QString problem = exportScheduleXlsx(
        dir.filePath(QStringLiteral("schedule.xlsx")), model.schedule(), results);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "export failed: %s\n", qPrintable(problem));
        return 1;
    }
    report("export .xlsx", clock);
    return 0;
}
