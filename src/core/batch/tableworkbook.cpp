// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/tableworkbook.h"

#include "core/batch/batchcolumns.h"
#include "core/batch/xlsxwriterlibrary.h"
#include "core/calc/momentcases.h"
#include "core/check/supportcheck.h"
#include "core/check/utilisationcolour.h"
#include "core/numbers/numbertext.h"
#include "core/platform/outputfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace kelsa
{

namespace
{

enum class ColumnKind { Text, Field, Moment, Utilisation };

ColumnKind kindOf(const QString &name)
{
    if (name == QLatin1String("utilisation"))
        return ColumnKind::Utilisation;
    if (momentForLabel(name))
        return ColumnKind::Moment;
    if (inputFieldNamed(name))
        return ColumnKind::Field;
    return ColumnKind::Text; // the support, section, type, governing, errors, notes, unnamed
}

// Widths in characters of the default font: a number column fits "1234567,123", the words of
// a row's errors and notes get room to be read.
double widthOf(const QString &name, ColumnKind kind)
{
    if (name == QLatin1String("errors") || name == QLatin1String("notes"))
        return 40;
    if (name == QLatin1String("section") || name == QLatin1String("supportType"))
        return 14;
    return kind == ColumnKind::Text ? 10 : 12;
}

} // namespace

struct TableWorkbookWriter::Private {
    const XlsxWriterLibrary &api = xlsxWriterLibrary();
    QLocale locale;
    std::vector<ColumnKind> kinds;
    QTemporaryDir folder;
    QByteArray folderName;
    QString workbookPath;
    lxw_workbook *workbook = nullptr;
    lxw_worksheet *sheet = nullptr;
    lxw_format *heading = nullptr;
    lxw_format *text = nullptr;
    lxw_format *moment = nullptr;
    lxw_format *utilisation[3] = {};
    qint64 rows = 0; // below the heading
    QString failure;

    bool fail(const QString &why)
    {
        if (failure.isEmpty())
            failure = why;
        return false;
    }
    bool check(lxw_error error)
    {
        return error == LXW_NO_ERROR
            || fail(QStringLiteral("ошибка записи книги .xlsx: %1")
                        .arg(QString::fromLatin1(api.lxw_strerror(error))));
    }
    void writeCell(lxw_row_t row, lxw_col_t column, const QString &cell, ColumnKind kind)
    {
        if (cell.isEmpty())
            return;
        if (kind != ColumnKind::Text)
            if (const auto value = readNumber(cell, locale)) {
                lxw_format *format = nullptr;
                if (kind == ColumnKind::Moment)
                    format = moment;
                else if (kind == ColumnKind::Utilisation)
                    format = utilisation[int(utilisationLevel(*value / 100))];
                check(api.worksheet_write_number(sheet, row, column, *value, format));
                return;
            }
        check(api.worksheet_write_string(sheet, row, column, cell.toUtf8().constData(), text));
    }
};

TableWorkbookWriter::TableWorkbookWriter(const QStringList &names, const QLocale &locale)
    : d(std::make_unique<Private>())
{
    d->locale = locale;
    if (!d->api.error.isEmpty()) {
        d->fail(d->api.error);
        return;
    }
    if (!d->folder.isValid()) {
        d->fail(
            QStringLiteral("не удается создать временную папку: %1").arg(d->folder.errorString()));
        return;
    }
    d->folderName = QFile::encodeName(d->folder.path());
    d->workbookPath = d->folder.filePath(QStringLiteral("table.xlsx"));
    // Rows go to the temporary folder as they come: the memory of one row, whatever the length.
    lxw_workbook_options options { LXW_TRUE, d->folderName.data(), LXW_TRUE };
    d->workbook = d->api.workbook_new_opt(QFile::encodeName(d->workbookPath).constData(), &options);
    if (!d->workbook) {
        d->fail(QStringLiteral("не удается начать книгу .xlsx"));
        return;
    }
    d->sheet = d->api.workbook_add_worksheet(d->workbook, "Ведомость опор");
    d->heading = d->api.workbook_add_format(d->workbook);
    d->api.format_set_bold(d->heading);
    d->api.format_set_text_wrap(d->heading);
    d->api.format_set_align(d->heading, LXW_ALIGN_VERTICAL_TOP);
    d->api.format_set_bg_color(d->heading, 0xE0E0E0);
    d->api.format_set_bottom(d->heading, LXW_BORDER_THIN);
    d->text = d->api.workbook_add_format(d->workbook);
    d->api.format_set_text_wrap(d->text);
    d->api.format_set_align(d->text, LXW_ALIGN_VERTICAL_TOP);
    d->moment = d->api.workbook_add_format(d->workbook);
    d->api.format_set_num_format(d->moment, "0.000");
    for (const UtilisationLevel level :
        { UtilisationLevel::Green, UtilisationLevel::Amber, UtilisationLevel::Red }) {
        lxw_format *format = d->api.workbook_add_format(d->workbook);
        d->api.format_set_num_format(format, "0.0");
        d->api.format_set_bg_color(format, utilisationRgb(level));
        // Amber is light: dark digits on it; white on green and red, as in the status bar.
        d->api.format_set_font_color(
            format, level == UtilisationLevel::Amber ? 0x000000 : 0xFFFFFF);
        d->utilisation[int(level)] = format;
    }
    // Column widths and the frozen heading come before the rows in the sheet's file.
    for (qsizetype k = 0; k < names.size(); ++k) {
        const ColumnKind kind = kindOf(names[k]);
        d->kinds.push_back(kind);
        d->check(d->api.worksheet_set_column(
            d->sheet, lxw_col_t(k), lxw_col_t(k), widthOf(names[k], kind), nullptr));
    }
    d->api.worksheet_freeze_panes(d->sheet, 1, 0);
    for (qsizetype k = 0; k < names.size(); ++k)
        d->check(d->api.worksheet_write_string(
            d->sheet, 0, lxw_col_t(k), workbookHeading(names[k]).toUtf8().constData(), d->heading));
}

TableWorkbookWriter::~TableWorkbookWriter()
{
    if (d->workbook)
        d->api.workbook_close(d->workbook);
}

bool TableWorkbookWriter::addRow(const QStringList &cells)
{
    if (!d->failure.isEmpty())
        return false;
    if (d->rows == kMostWorkbookRows)
        return d->fail(QStringLiteral("строк больше %1, а лист книги .xlsx вмещает не больше")
                           .arg(kMostWorkbookRows));
    const auto row = lxw_row_t(++d->rows);
    for (qsizetype k = 0; k < cells.size() && k < LXW_COL_MAX; ++k)
        d->writeCell(row, lxw_col_t(k), cells[k],
            k < qsizetype(d->kinds.size()) ? d->kinds[std::size_t(k)] : ColumnKind::Field);
    return d->failure.isEmpty();
}

qint64 TableWorkbookWriter::rows() const
{
    return d->rows;
}

QString TableWorkbookWriter::finish(const QString &path, const QStringList &inputs)
{
    if (d->workbook)
        d->check(d->api.workbook_close(std::exchange(d->workbook, nullptr)));
    if (!d->failure.isEmpty())
        return d->failure;
    QFile written(d->workbookPath);
    if (!written.open(QIODevice::ReadOnly))
        return QStringLiteral("книга .xlsx не записана: %1").arg(written.errorString());
    OutputFile output(path, inputs);
    if (!output.open())
        return output.errorString();
    while (!written.atEnd()) {
        const QByteArray part = written.read(qint64(1) << 20);
        if (part.isEmpty() || output.write(part) != part.size())
            break;
    }
    if (!written.atEnd() || !output.commit()) {
        output.cancel();
        return output.failure().kind != OutputFailure::Kind::None
            ? output.errorString()
            : QStringLiteral("временная книга не читается: %1").arg(written.errorString());
    }
    return {};
}

} // namespace kelsa
