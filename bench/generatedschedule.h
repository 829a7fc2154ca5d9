// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The schedule of supports the batch benchmarks compute: one row in four a curve, one in eight
// on the inner side; the loads and tensions vary with the row so that no two neighbours are
// alike. The cells hold numbers with a decimal point; writeSchedule() writes the file as a Russian
// spreadsheet saves it, with ';' and decimal commas.

#include <QFile>
#include <QString>
#include <QStringList>

inline QStringList scheduleColumns()
{
    return QStringLiteral("support section Prolet txtVm Text1 Text2 Text3 Text4 Text5 txtLp txtGp "
                          "txtGpr txtGnv txtPkv txtPprv txtSum1 txtSum2 txtSum3 txtSum4 txtSum5 "
                          "txtD1 txtD2 txtD3 txtD4 txtD5 txtD6 txtD7 TxtD8 txtD9 txtF1 txtF2 "
                          "txtF3 txtF4 txtF5 txtF6 txtF7 txtF8 txtF9")
        .split(QLatin1Char(' '));
}

inline QString scheduleSection(qint64 row)
{
    static const char *sections[] = { "Прямая", "Прямая", "Прямая", "Вне.кривая", "Прямая",
        "Прямая", "Прямая", "Вну.кривая" };
    return QString::fromUtf8(sections[row % 8]);
}

inline QStringList scheduleCells(qint64 row)
{
    const auto number = [](double value) { return QString::number(value, 'g', 6); };
    const int k = int(row % 97);
    QStringList cells;
    cells << QString::number(row + 1) << scheduleSection(row) << number(40 + k % 31)
          << number(25 + k % 16);
    cells << QStringLiteral("1500") << number(1000 + 10 * (k % 5)) << QStringLiteral("800")
          << number(600 + 20 * k) << number(0.3 - 0.01 * (k % 7));
    cells << number(40 + k % 23);
    for (int load = 0; load < 2; ++load)
        cells << number(2.1 + 0.01 * k) << number(1.05) << number(0.5 + k / 200.0) << number(0.4)
              << number(0.3);
    for (int grid = 0; grid < 2; ++grid)
        cells << QStringLiteral("100") << QStringLiteral("1") << QStringLiteral("1")
              << QStringLiteral("2") << QStringLiteral("0") << QStringLiteral("0")
              << QStringLiteral("1") << QStringLiteral("1") << QStringLiteral("1");
    return cells;
}

// Written as a Russian spreadsheet saves it: ';' between cells, decimal commas.
inline QByteArray scheduleRow(qint64 row)
{
    QStringList cells = scheduleCells(row);
    for (qsizetype k = 2; k < cells.size(); ++k) // after the support and its section
        cells[k].replace(QLatin1Char('.'), QLatin1Char(','));
    return cells.join(QLatin1Char(';')).toUtf8() + "\r\n";
}

inline QByteArray scheduleHeader()
{
    return scheduleColumns().join(QLatin1Char(';')).toUtf8() + "\r\n";
}

// Writes the header and `rows` rows into a new file at `path`.
inline bool writeSchedule(const QString &path, qint64 rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(scheduleHeader());
    for (qint64 row = 0; row < rows; ++row)
        file.write(scheduleRow(row));
    return file.error() == QFile::NoError;
}
