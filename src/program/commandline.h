// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/batch/textencoding.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace kelsa
{

// What kelsa was asked to do on its command line.
struct CommandLine {
    enum class Mode {
        Window, // the main window (the default), with FILE.kelsa opened when one is given
        Screenshot, // --screenshot FILE.png
        Compute, // --compute FILE.kelsa
        Report, // --report FILE.kelsa OUT.pdf
        Batch, // --batch IN.csv OUT.csv
        Help, // --help
        Version, // --version
    };
    Mode mode = Mode::Window;
    QStringList files; // the files of the mode, in the order the option takes them
    QString tables; // --tables DIR: the reference tables and the catalogue of support types
    std::optional<QChar> decimal; // --decimal . or , for --batch
    std::optional<TextEncoding> encoding; // --encoding utf-8 or windows-1251 for --batch
};

// A command line that was not understood, in one line.
struct CommandLineError {
    QString text;
};

// The arguments after the program's name.
std::variant<CommandLine, CommandLineError> parseCommandLine(const QStringList &arguments);

// The --help text: every option on one line, then the columns of --batch with their captions.
QString helpText();

} // namespace kelsa
