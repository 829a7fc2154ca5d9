// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The progress of kelsa --batch on the error stream. On a terminal it is one line rewritten in
// place at every report of the run (rows done, percent of the input read, time left); in a log
// it is a line of its own each time another tenth of the input has been read.

#include <QString>

#include <optional>

namespace kelsa
{

// One progress line to print.
struct ProgressPrint {
    // "kelsa: IN.csv: строк: 20000, 40 %, осталось около 12 с"; on a terminal padded with
    // spaces to cover a longer line printed before it.
    QString text;
    // Rewrites the line on screen: a carriage return before it and no line break after it.
    // Otherwise it is a line of its own.
    bool inPlace = false;

    friend bool operator==(const ProgressPrint &, const ProgressPrint &) = default;
};

class ProgressLine
{
public:
    // `inputName` as the user gave it; `inputBytes` the input's size; `terminal` whether the
    // error stream is one.
    ProgressLine(QString inputName, qint64 inputBytes, bool terminal);

    // What to print once `rows` rows are done with `bytesRead` bytes of the input read,
    // `elapsedMs` milliseconds after the run began; nothing when this report prints nothing.
    std::optional<ProgressPrint> update(qint64 rows, qint64 bytesRead, qint64 elapsedMs);

    // Whether a line rewritten in place is on screen, which a line break must end before
    // anything else is printed.
    bool lineOpen() const { return m_shownLength > 0; }

private:
    QString m_inputName;
    qint64 m_inputBytes;
    bool m_terminal;
    int m_tenthsPrinted = 0;
    qsizetype m_shownLength = 0;
};

// A time left in Russian, rounded up: "меньше секунды", "около 12 с", "около 3 мин 05 с",
// "около 2 ч 10 мин".
QString timeLeftText(qint64 ms);

} // namespace kelsa
