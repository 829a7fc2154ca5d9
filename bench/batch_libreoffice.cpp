// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule of bench_batch_schedule computed by LibreOffice for comparison: the same rows
// as a comma-separated table with the ten moments as spreadsheet formulas of each row's cells,
// converted by soffice --headless (read, computed, written back as CSV). Also timed: the same
// table without the formulas and a table of one row, so that what LibreOffice spends on the
// formulas themselves and on starting can be told apart; and Kelsa's engine on the table
// without formulas. LibreOffice's moments are compared with Kelsa's.
//
//   build/bin/bench_batch_libreoffice [ROWS]     (default 100000; needs soffice on PATH)
#include "generatedschedule.h"

#include "core/batch/batchfiles.h"
#include "core/batch/csvtable.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace
{

QString columnName(int index)
{
    QString name;
    for (++index; index > 0; index = (index - 1) / 26)
        name.prepend(QLatin1Char(char('A' + (index - 1) % 26)));
    return name;
}

// The ten moments of spreadsheet row `r` as formulas, in the order of the result labels; the
// track section is chosen here rather than with IF(), as a designer's sheet would differ per
// section.
QStringList momentFormulas(int r, const QString &section)
{
    const QStringList columns = scheduleColumns();
    const auto c = [&](const char *field) {
        return columnName(int(columns.indexOf(QLatin1String(field)))) + QString::number(r);
    };
    const QString L = c("Prolet"), V = c("txtVm"), Tn = c("Text1"), Tk = c("Text2"),
                  Tpr = c("Text3"), R = c("Text4"), a = c("Text5"), Lp = c("txtLp");
    QStringList formulas;
    struct Condition {
        const char *loads[5];
        double c1, c2, wind;
    };
    const Condition conditions[] = {
        { { "txtGp", "txtGpr", "txtGnv", "txtPkv", "txtPprv" }, 180, 91, 0.6 },
        { { "txtSum1", "txtSum2", "txtSum3", "txtSum4", "txtSum5" }, 108, 52, 1 },
    };
    const char *d[]
        = { "txtD1", "txtD2", "txtD3", "txtD4", "txtD5", "txtD6", "txtD7", "TxtD8", "txtD9" };
    const char *f[]
        = { "txtF1", "txtF2", "txtF3", "txtF4", "txtF5", "txtF6", "txtF7", "txtF8", "txtF9" };
    const bool straight = section == QStringLiteral("Прямая");
    const QString sign
        = section == QStringLiteral("Вну.кривая") ? QStringLiteral("-") : QStringLiteral("+");
    for (const Condition &k : conditions) {
        const QString Gp = c(k.loads[0]), Gpr = c(k.loads[1]), Pnv = c(k.loads[2]),
                      Pkv = c(k.loads[3]), Pprv = c(k.loads[4]);
        QString m = QStringLiteral("=(%1*%2+31)*3.3+%3-%4*%2*3*1.7-%5")
                        .arg(Gp, L, QString::number(k.c1), Gpr, QString::number(k.c2));
        m += sign
            + QStringLiteral("(%1*%2*9+%3*%2*7+2*%4*%2*9.7+%4*%2*8.85)").arg(Pnv, L, Pkv, Pprv);
        m += sign + QStringLiteral("(%1*%2)^2*2.47/16*4.8").arg(QString::number(k.wind), V);
        if (straight)
            m += sign + QStringLiteral("%1*4*%2/%3*7").arg(Tk, a, L);
        else
            m += sign
                + QStringLiteral("(%1*%2/%3*9+%4*%2/%3*7+2*(%5*%2/%3)*9.7+(%5*%2/%3)*8.85)")
                      .arg(Tn, L, R, Tk, Tpr);
        m += sign
            + QStringLiteral("(%1*%2*%3+%4*%5*%6+%7*%8*%9)")
                  .arg(c(d[0]), c(d[3]), c(d[6]), c(d[1]), c(d[4]), c(d[7]), c(d[2]), c(d[5]),
                      c(d[8]));
        if (!straight)
            m += sign
                + QStringLiteral("(%1*%2/%3*%4*%5+%6*%2/%3*%7*%8+%9*%2/%3*%10*%11)")
                      .arg(c(f[0]), L, R, c(f[3]), c(f[6]), c(f[1]), c(f[4]), c(f[7]), c(f[2]))
                      .arg(c(f[5]), c(f[8]));
        formulas << m;
    }
    // The transition support: to the track and to the support, at the base and at the heel.
    struct Arms {
        double hN, hK, hP1, hP2, As, hS;
    };
    const Arms levels[] = { { 9, 7, 9.7, 8.85, 2.47, 4.8 }, { 2.25, 0.25, 2.95, 2.1, 0.56, 1.43 } };
    for (const Condition &k : conditions) {
        const QString Gp = c(k.loads[0]), Gpr = c(k.loads[1]), Pnv = c(k.loads[2]),
                      Pkv = c(k.loads[3]), Pprv = c(k.loads[4]);
        for (const Arms &h : levels)
            for (const int s : { 1, -1 }) {
                const auto n = [](double x) { return QString::number(x); };
                const QString others = QStringLiteral("(%1*%2+31)*2*3.3+2*%3-%1*%4*3*1.7-%5")
                                           .arg(L, Gp, n(k.c1), Gpr, n(k.c2))
                    + QStringLiteral("+(%1*2*%2*%3-%4*3.3/%5)*%6")
                          .arg(n(s), Pnv, L, Tn, Lp, n(h.hN))
                    + QStringLiteral("+(%1*2*%2*%3-%4*3.3/%5)*%6")
                          .arg(n(s), Pkv, L, Tk, Lp, n(h.hK))
                    + QStringLiteral("+%1*2*%2*%3*%4").arg(n(s), Pprv, L, n(h.hP1))
                    + QStringLiteral("+%1*%2*%3*%4").arg(n(s), Pprv, L, n(h.hP2));
                const QString body
                    = QStringLiteral("(%1*%2)^2*%3/16*%4").arg(n(k.wind), V, n(h.As), n(h.hS));
                formulas << QStringLiteral("=") + others
                        + (s > 0 ? QStringLiteral("+") : QStringLiteral("-")) + body;
            }
    }
    // In the order of the labels: the ordinary two, then per condition base to track, base to
    // support, heel to track, heel to support.
    return formulas;
}

bool writeTable(const QString &path, qint64 rows, bool withFormulas)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QStringList header = scheduleColumns();
    if (withFormulas)
        header << QStringLiteral(
            "Label1,Label5,Label10,Label18,Label26,Label27,Label28,Label29,Label30,Label31");
    file.write(header.join(QLatin1Char(',')).toUtf8() + "\n");
    for (qint64 row = 0; row < rows; ++row) {
        QStringList cells = scheduleCells(row);
        if (withFormulas)
            cells << momentFormulas(int(row + 2), cells[1]);
        file.write(cells.join(QLatin1Char(',')).toUtf8() + "\n");
    }
    return file.error() == QFile::NoError;
}

// Converts a table with soffice in its own profile; the wall time in ms, or -1.
double convert(
    const QString &soffice, const QString &profile, const QString &table, const QString &outDir)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    // CSV import: ',' separated, '"' quoted, UTF-8, from line 1, English (USA) numbers,
    // formulas evaluated (the 13th option).
    process.start(soffice,
        { QStringLiteral("-env:UserInstallation=file://") + profile, QStringLiteral("--headless"),
            QStringLiteral("--norestore"),
            QStringLiteral("--infilter=CSV:44,34,76,1,,1033,false,false,false,false,false,-1,true"),
            QStringLiteral("--convert-to"),
            QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"),
            outDir, table });
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

QList<QStringList> readRows(const QString &path)
{
    QFile file(path);
    QList<QStringList> rows;
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    kelsa::CsvReader reader(&file);
    QStringList cells;
    while (reader.readRecord(cells))
        rows << cells;
    return rows;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const qint64 rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : 100000;
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        std::puts("soffice is not installed: nothing to compare with");
        return 0;
    }
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("profile"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const QString one = dir.filePath(QStringLiteral("one.csv"));
    const QString values = dir.filePath(QStringLiteral("values.csv"));
    const QString formulas = dir.filePath(QStringLiteral("formulas.csv"));
    if (!writeTable(one, 1, true) || !writeTable(values, rows, false)
        || !writeTable(formulas, rows, true)) {
        std::fputs("cannot write the tables\n", stderr);
        return 1;
    }
    convert(soffice, profile, one, out); // makes the profile
    const double start = convert(soffice, profile, one, out);
    const double plain = convert(soffice, profile, values, out);
    const double computed = convert(soffice, profile, formulas, out);

    const QString kelsaOut = dir.filePath(QStringLiteral("kelsa.csv"));
    QElapsedTimer timer;
    timer.start();
    const QString problem = kelsa::runBatchFiles(values, kelsaOut, { QLocale::c(), {} });
    const double kelsaMs = timer.nsecsElapsed() / 1e6;
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }

    std::printf("%lld rows, LibreOffice %s\n", static_cast<long long>(rows), qPrintable(soffice));
    std::printf("  soffice, one row with its formulas:        %9.0f ms\n", start);
    std::printf("  soffice, the table without formulas:       %9.0f ms\n", plain);
    std::printf("  soffice, the table with the ten formulas:  %9.0f ms\n", computed);
    std::printf("  Kelsa's engine, the table without formulas: %8.0f ms\n", kelsaMs);

    // Both computed the same moments: compare them row by row.
    const QList<QStringList> office = readRows(QDir(out).filePath(QStringLiteral("formulas.csv")));
    const QList<QStringList> ours = readRows(kelsaOut);
    double worst = 0;
    qint64 compared = 0;
    const qsizetype first = scheduleColumns().size();
    for (qsizetype row = 1; row < std::min(office.size(), ours.size()); ++row)
        for (qsizetype k = 0; k < 10; ++k) {
            const double a = office[row].value(first + k).toDouble();
            const double b = ours[row].value(first + k).toDouble();
            worst = std::max(worst, std::fabs(a - b) / std::max(1.0, std::fabs(b)));
            ++compared;
        }
    std::printf("  moments compared: %lld, largest difference %.3g (relative, as LibreOffice "
                "writes them)\n",
        static_cast<long long>(compared), worst);
    return 0;
}
