// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/commandline.h"

#include "core/batch/batchcolumns.h"

namespace kelsa
{

namespace
{

struct ModeOption {
    const char *name;
    CommandLine::Mode mode;
    int files; // values the option takes
    const char *values; // how --help shows them
};

constexpr ModeOption kModes[] = {
    { "--screenshot", CommandLine::Mode::Screenshot, 1, "FILE.png" },
    { "--compute", CommandLine::Mode::Compute, 1, "FILE.kelsa" },
    { "--report", CommandLine::Mode::Report, 2, "FILE.kelsa OUT.pdf" },
    { "--batch", CommandLine::Mode::Batch, 2, "IN.csv OUT.csv" },
    { "--help", CommandLine::Mode::Help, 0, "" },
    { "--version", CommandLine::Mode::Version, 0, "" },
};

const ModeOption *modeOption(const QString &argument)
{
    for (const ModeOption &option : kModes)
        if (argument == QLatin1String(option.name))
            return &option;
    return nullptr;
}

CommandLineError error(const QString &text)
{
    return { text };
}

// The columns of --batch: a column's name is the file format, its caption what the main window
// shows beside the field.
QString columnTable()
{
    QString inputs;
    QString results;
    for (const BatchColumnInfo &column : batchColumns())
        (column.result ? results : inputs)
            += QStringLiteral("  %1 %2\n").arg(column.name.leftJustified(9), column.caption);
    return QStringLiteral("\nСтолбцы IN.csv: имя столбца в заголовке — имя поля главного окна, "
                          "рядом — подпись поля в окне; поле без столбца берет свое начальное "
                          "значение.\n")
        + inputs
        + QStringLiteral("\nСтолбцы, которые --batch добавляет в OUT.csv (моменты в кгс·м):\n")
        + results;
}

} // namespace

std::variant<CommandLine, CommandLineError> parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    const ModeOption *chosen = nullptr;
    bool tablesGiven = false;
    QString calculationFile; // kelsa FILE.kelsa: the window opens the calculation
    for (qsizetype k = 0; k < arguments.size(); ++k) {
        const QString &argument = arguments[k];
        const qsizetype left = arguments.size() - k - 1;
        if (const ModeOption *option = modeOption(argument)) {
            if (chosen)
                return error(QStringLiteral("%1 и %2 нельзя указывать вместе")
                                 .arg(QLatin1String(chosen->name), argument));
            if (left < option->files)
                return error(QStringLiteral("после %1 нужно указать %2")
                                 .arg(argument, QLatin1String(option->values)));
            chosen = option;
            line.mode = option->mode;
            line.files = arguments.mid(k + 1, option->files);
            k += option->files;
        } else if (argument == QLatin1String("--tables")) {
            if (tablesGiven || left < 1)
                return error(left < 1 ? QStringLiteral("после --tables нужно указать DIR")
                                      : QStringLiteral("--tables указан дважды"));
            tablesGiven = true;
            line.tables = arguments[++k];
        } else if (argument == QLatin1String("--decimal")) {
            if (line.decimal || left < 1)
                return error(left < 1 ? QStringLiteral("после --decimal нужно указать . или ,")
                                      : QStringLiteral("--decimal указан дважды"));
            const QString &value = arguments[++k];
            if (value != QLatin1String(".") && value != QLatin1String(","))
                return error(
                    QStringLiteral("--decimal принимает . или , (а не \"%1\")").arg(value));
            line.decimal = value[0];
        } else if (argument == QLatin1String("--encoding")) {
            if (line.encoding || left < 1)
                return error(left < 1
                        ? QStringLiteral("после --encoding нужно указать utf-8 или windows-1251")
                        : QStringLiteral("--encoding указан дважды"));
            const QString &value = arguments[++k];
            line.encoding = encodingForName(value);
            if (!line.encoding)
                return error(
                    QStringLiteral("--encoding принимает utf-8 или windows-1251 (а не \"%1\")")
                        .arg(value));
        } else if (!argument.startsWith(QLatin1Char('-')) && calculationFile.isNull()) {
            calculationFile = argument;
        } else {
            return error(argument.startsWith(QLatin1Char('-'))
                    ? QStringLiteral("неизвестный параметр %1").arg(argument)
                    : QStringLiteral("лишний аргумент \"%1\"").arg(argument));
        }
    }
    const bool window
        = line.mode == CommandLine::Mode::Window || line.mode == CommandLine::Mode::Screenshot;
    if (!calculationFile.isNull()) {
        if (line.mode != CommandLine::Mode::Window)
            return error(QStringLiteral("лишний аргумент \"%1\"").arg(calculationFile));
        line.files = { calculationFile };
    }
    // The catalogue of support types stands in the tables folder: the commands check with it.
    const bool checks = line.mode == CommandLine::Mode::Compute
        || line.mode == CommandLine::Mode::Report || line.mode == CommandLine::Mode::Batch;
    if (tablesGiven && !window && !checks)
        return error(QStringLiteral(
            "--tables указывают только для окна, --screenshot, --compute, --report и --batch"));
    if (line.decimal && line.mode != CommandLine::Mode::Batch)
        return error(QStringLiteral("--decimal указывают только с --batch"));
    if (line.encoding && line.mode != CommandLine::Mode::Batch)
        return error(QStringLiteral("--encoding указывают только с --batch"));
    return line;
}

QString helpText()
{
    return QStringLiteral(
               "Kelsa: изгибающие моменты опор контактной сети.\n"
               "\n"
               "kelsa [--tables DIR] [FILE.kelsa] главное окно; справочные таблицы из папки DIR; "
               "открыть расчет FILE.kelsa\n"
               "kelsa --screenshot FILE.png       снимок главного окна после запуска в FILE.png\n"
               "kelsa --compute FILE.kelsa        десять моментов сохраненного расчета, JSON на "
               "стандартный вывод\n"
               "kelsa --report FILE.kelsa OUT.pdf отчет о расчете в PDF; OUT.pdf «-» — на "
               "стандартный "
               "вывод\n"
               "kelsa --batch IN.csv OUT.csv      по опоре на строку: в OUT.csv строки IN.csv и их "
               "моменты; OUT.csv «-» — на стандартный вывод\n"
               "                                  IN — и первый лист .xlsx или .ods; OUT.xlsx — "
               "книга .xlsx\n"
               "      --tables DIR                с --compute, --report, --batch: каталог опор "
               "(опоры.xlsx) из папки DIR\n"
               "      --decimal . | ,             десятичный разделитель чисел в IN.csv (иначе — "
               "языка системы)\n"
               "      --encoding CHARSET          кодировка IN.csv, utf-8 или windows-1251 (иначе "
               "— "
               "по метке порядка байтов или по самому тексту); в ней же пишется OUT.csv\n"
               "kelsa --help                      эта справка\n"
               "kelsa --version                   версия программы\n")
        + columnTable();
}

} // namespace kelsa
