// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/cellblock.h"

#include "core/document/calculationfile.h"
#include "core/numbers/numbertext.h"
#include "core/schedule/schedulemodel.h"

#include <QRegularExpression>

namespace kelsa
{

QList<QStringList> parseCellBlock(const QString &text)
{
    QList<QStringList> block;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool atCellStart = true;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (quoted) {
            if (c != QLatin1Char('"'))
                cell += c;
            else if (k + 1 < text.size() && text[k + 1] == QLatin1Char('"'))
                cell += text[++k];
            else
                quoted = false;
            continue;
        }
        if (c == QLatin1Char('"') && atCellStart) {
            quoted = true;
            atCellStart = false;
        } else if (c == QLatin1Char('\t')) {
            row << std::exchange(cell, QString());
            atCellStart = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && k + 1 < text.size() && text[k + 1] == QLatin1Char('\n'))
                ++k;
            row << std::exchange(cell, QString());
            block << std::exchange(row, QStringList());
            atCellStart = true;
        } else {
            cell += c;
            atCellStart = false;
        }
    }
    // The last row has no line break after it when one cell was copied alone.
    if (!atCellStart || !row.isEmpty() || !cell.isEmpty())
        block << (row << cell);
    return block;
}

QString writeCellBlock(const QList<QStringList> &block)
{
    QString text;
    for (const QStringList &row : block) {
        for (qsizetype k = 0; k < row.size(); ++k) {
            QString cell = row[k];
            if (cell.contains(QLatin1Char('\t')) || cell.contains(QLatin1Char('\n'))
                || cell.contains(QLatin1Char('\r')) || cell.startsWith(QLatin1Char('"')))
                cell = QLatin1Char('"') + cell.replace(QLatin1Char('"'), QStringLiteral("\"\""))
                    + QLatin1Char('"');
            if (k > 0)
                text += QLatin1Char('\t');
            text += cell;
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QString inDecimalSeparator(const QString &text, QChar separator)
{
    const QChar other = separator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    if (readNumber(text, calculationFileLocale(separator))
        || !readNumber(text, calculationFileLocale(other)))
        return text;
    QString exchanged = text;
    exchanged.replace(other, separator);
    return exchanged;
}

QString pastedNumberText(const QString &text, QChar separator)
{
    // "1,500" or "-12.250": one or three digits, the other separator once, then three digits.
    // A spreadsheet of the other language writes its thousands so, and exchanging the separator
    // would turn 1500 into 1,5 without a sign; such a text is pasted as it stands and shows red.
    static const QRegularExpression grouping(QStringLiteral("^[+-]?[1-9][0-9]{0,2}[.,][0-9]{3}$"));
    const QChar other = separator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    if (text.count(other) == 1 && grouping.match(text.trimmed()).hasMatch())
        return text;
    return inDecimalSeparator(text, separator);
}

QString copyCells(const ScheduleModel &model, const QList<int> &rows, const QList<int> &columns)
{
    QList<QStringList> block;
    for (const int row : rows) {
        QStringList cells;
        for (const int column : columns)
            cells << model.index(row, column).data(Qt::DisplayRole).toString();
        block << cells;
    }
    return writeCellBlock(block);
}

ScheduleEdit pasteEdit(const ScheduleModel &model, int row, int column, const QString &text)
{
    const Schedule &schedule = model.schedule();
    const QList<QStringList> block = parseCellBlock(text);
    if (row < 0 || row > model.rowCount() || column < 0 || column >= model.columnCount())
        return {};
    InsertRows added { schedule.rows.size(), {} };
    SetCells changes;
    for (qsizetype r = 0; r < block.size(); ++r) {
        const qsizetype target = row + r;
        if (target >= schedule.rows.size())
            added.rows.append(ScheduleRow());
        for (qsizetype c = 0; c < block[r].size(); ++c) {
            const std::optional<ScheduleCell> cell = model.cellOf(int(column + c));
            if (!cell)
                continue;
            QString cellText = block[r][c];
            if (cell->kind == ScheduleCell::Kind::Field)
                cellText = pastedNumberText(cellText, schedule.decimalSeparator);
            if (target >= schedule.rows.size())
                added.rows.last().text(*cell) = cellText;
            else if (schedule.text(target, *cell) != cellText)
                changes.changes.append({ target, *cell, cellText });
        }
    }
    ScheduleEdit edit;
    if (!changes.changes.isEmpty())
        edit.steps.push_back(changes);
    if (!added.rows.isEmpty())
        edit.steps.push_back(added);
    return edit;
}

} // namespace kelsa
