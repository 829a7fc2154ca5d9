// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The sections the calculation report is composed of, each built on its own from the report's
// input; buildReport() puts them one after another.

#include "core/report/calculationreport.h"

#include <QLocale>

#include <vector>

namespace kelsa
{

struct ReportContext {
    const ReportInput &input;
    // Number texts of a calculation are read and written with its own separator, whatever the
    // user's locale is.
    QLocale locale;
};

using ReportBlocks = std::vector<ReportBlock>;

// The title and the title block.
ReportBlocks titleSection(const ReportContext &context);
// «Расчетный режим»: the options of the design condition and what each is for.
ReportBlocks conditionSection(const ReportContext &context);
// «Изгибающие моменты»: every moment's value, or that it was not computed.
ReportBlocks summarySection(const ReportContext &context);
// «Исходные данные»: every input with its unit and where a load came from.
ReportBlocks inputSection(const ReportContext &context);
// «Разбор вычисленных моментов»: the calculation note of every computed moment.
ReportBlocks breakdownSection(const ReportContext &context);

// Block makers shared by the sections.
ReportBlock textBlock(ReportBlock::Kind kind, const QString &text);
ReportBlock tableBlock(std::vector<QStringList> rows, bool header, QList<int> widths = {});

// What a moment's result label holds, in words: its value in both units to 0.01, or why it has
// none.
QString valueText(const MomentOutcome &outcome, const QLocale &locale);

// The heading of a saved moment, on the track section it was computed on.
QString headingOf(const SavedCalculation &saved, Moment moment);

// The inputs of a saved moment that changed after it was computed, by their captions.
QStringList changedSinceComputed(const SavedCalculation &saved, Moment moment);

} // namespace kelsa
