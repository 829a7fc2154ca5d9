// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/schedulesummary.h"

#include "core/schedule/schedulemodel.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace kelsa
{

namespace
{

std::optional<double> governingKgfm(const ScheduleRowResult &result)
{
    if (!result.governing)
        return std::nullopt;
    return result.moments[std::size_t(*result.governing)];
}

double kgfmOf(const SupportCatalogue &catalogue, const SupportType &type)
{
    return catalogue.normativeKNm(type) / kilonewtonMetresPer(MomentUnit::KilogramForceMetre);
}

} // namespace

ScheduleSummary summariseSchedule(const ScheduleModel &model)
{
    ScheduleSummary summary;
    summary.supports = model.rowCount();
    QHash<QString, qsizetype> counts;
    qsizetype untyped = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        const ScheduleRowResult &result = model.result(row);
        if (result.supportType.isEmpty())
            ++untyped;
        else
            ++counts[result.supportType];
        if (const auto kgfm = governingKgfm(result);
            kgfm && (!summary.largestRow || std::abs(*kgfm) > std::abs(summary.largestKgfm))) {
            summary.largestRow = row;
            summary.largestMoment = *result.governing;
            summary.largestKgfm = *kgfm;
        }
    }
    const SupportCatalogue &catalogue = model.catalogue();
    if (catalogue.usable())
        for (const SupportType &type : catalogue.types)
            if (const auto found = counts.find(type.name); found != counts.end()) {
                summary.types.append({ type.name, found.value() });
                counts.erase(found);
            }
    QStringList others = counts.keys();
    std::sort(others.begin(), others.end(),
        [](const QString &a, const QString &b) { return QString::localeAwareCompare(a, b) < 0; });
    for (const QString &name : others)
        summary.types.append({ name, counts.value(name) });
    if (untyped > 0)
        summary.types.append({ QString(), untyped });
    return summary;
}

ScheduleChart scheduleChart(const ScheduleModel &model)
{
    ScheduleChart chart;
    chart.bars.reserve(std::size_t(model.rowCount()));
    const SupportCatalogue &catalogue = model.catalogue();
    QSet<QString> used;
    double largest = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        const ScheduleRowResult &result = model.result(row);
        ScheduleChartBar bar;
        if (const auto kgfm = governingKgfm(result)) {
            bar.kgfm = std::abs(*kgfm);
            largest = std::max(largest, *bar.kgfm);
        }
        if (result.utilisation) {
            bar.level = utilisationLevel(*result.utilisation);
            used.insert(result.supportType);
        }
        chart.bars.push_back(bar);
    }
    if (catalogue.usable())
        for (const SupportType &type : catalogue.types)
            if (used.contains(type.name)) {
                chart.lines.append({ type.name, kgfmOf(catalogue, type) });
                largest = std::max(largest, chart.lines.back().kgfm);
            }
    const ChartAxis axis = chartAxis(largest);
    chart.axisTop = axis.top;
    chart.axisStep = axis.step;
    chart.locale = model.schedule().locale();
    return chart;
}

QString chartAxisText(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 12);
}

ChartAxis chartAxis(double largest)
{
    if (!(largest > 0) || !std::isfinite(largest))
        return {};
    // The smallest of 1, 2, 5 × 10^k that cuts the range into at most five steps.
    const double magnitude = std::pow(10.0, std::floor(std::log10(largest / 5)));
    double step = magnitude;
    for (const double factor : { 1.0, 2.0, 5.0, 10.0 }) {
        step = factor * magnitude;
        if (largest / step <= 5 * (1 + 1e-12))
            break;
    }
    return { std::ceil(largest / step * (1 - 1e-12)) * step, step };
}

} // namespace kelsa
