// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/expr/expressionengine.h"

#include <QList>
#include <QString>

// Collects the evaluator's error reports in place of its message box.
struct ErrorRecorder {
    struct Report {
        QString routine;
        int number = 0;
        QString description;
    };
    QList<Report> reports;

    kelsa::ExpressionEngine::ErrorHandler handler()
    {
        return [this](const QString &routine, int number, const QString &description) {
            reports.append({ routine, number, description });
        };
    }
    int count(int number) const
    {
        int n = 0;
        for (const Report &report : reports)
            n += report.number == number ? 1 : 0;
        return n;
    }
};
