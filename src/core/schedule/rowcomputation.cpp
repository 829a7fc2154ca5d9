// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/rowcomputation.h"

#include "core/batch/batchrun.h"
#include "core/batch/rowreport.h"
#include "core/document/calculationfile.h"
#include "core/numbers/numbertext.h"
#include "core/schedule/rowreasons.h"

#include <QStringList>
#include <QThread>

#include <algorithm>
#include <future>

namespace kelsa
{

namespace
{

// Why a field's text is no number; empty when it is one or is empty (an empty field is the
// moments' business: an ordinary support reads it as 0, a transition support refuses it).
QString numberProblem(const QString &text, const QLocale &locale)
{
    if (text.trimmed().isEmpty() || readNumber(text, locale))
        return {};
    QString reason = QStringLiteral("не число: «%1»").arg(text);
    // A number in the other separator is the usual slip: say which one the schedule reads.
    const QChar own = locale.decimalPoint().front();
    const QChar other = own == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    if (readNumber(text, calculationFileLocale(other)))
        reason += QStringLiteral(" (десятичный разделитель ведомости — «%1»)").arg(own);
    return reason;
}

} // namespace

const CellProblem *ScheduleRowResult::problem(const ScheduleCell &cell) const
{
    for (const CellProblem &p : problems)
        if (p.cell == cell)
            return &p;
    return nullptr;
}

ScheduleRowResult computeScheduleRow(
    const Schedule &schedule, qsizetype row, const SupportCatalogue &catalogue)
{
    ScheduleRowResult result;
    const QLocale locale = schedule.locale();
    const ScheduleRow &cells = schedule.rows[row];
    const Calculation calculation = schedule.calculation(row);
    QStringList errors, notes, reasons;

    if (!cells.section.trimmed().isEmpty() && !sectionIndex(cells.section)) {
        const QString reason = QStringLiteral("не участок пути: «%1» (%2)")
                                   .arg(cells.section, sectionNames().join(QStringLiteral(", ")));
        result.problems.append({ { ScheduleCell::Kind::Section }, reason });
        errors << sectionError(cells.section);
        reasons << cellReason(QStringLiteral("section"), reason);
    }
    for (const FieldInfo &info : inputFields()) {
        const QString reason = numberProblem(calculation.text(info.field), locale);
        if (reason.isEmpty())
            continue;
        const QString name = QString::fromLatin1(info.name);
        if (schedule.holds(info.field)) {
            result.problems.append({ ScheduleCell::ofField(info.field), reason });
            errors << name + QStringLiteral(": ") + reason;
        } else {
            errors << name + QStringLiteral(" (общие данные): ") + reason;
        }
        reasons << cellReason(name, reason, !schedule.holds(info.field));
    }

    if (errors.isEmpty()) {
        const auto outcomes = computeMoments(calculation, locale);
        for (const MomentOutcome &outcome : outcomes) {
            if (outcome.inputsAccepted() && outcome.result.outcome == MomentResult::Outcome::Value)
                result.moments[std::size_t(outcome.moment)] = outcome.result.moment;
            if (const QString error = momentError(outcome); !error.isEmpty())
                errors << error;
            if (const QString note = momentNote(outcome); !note.isEmpty())
                notes << note;
        }
        const QString chosen = cells.supportType.trimmed();
        const SupportCheck check = checkSupport(catalogue, computedMoments(outcomes), chosen);
        reasons << momentReasons(outcomes);
        if (const QString reason = checkReason(check, catalogue, locale); !reason.isEmpty())
            reasons << reason;
        if (check.governing)
            result.governing = check.governing->moment;
        result.supportType = chosen;
        if (check.error == SupportCheck::Error::None) {
            result.supportType = check.type->name;
            result.utilisation = check.utilisation;
        } else if (check.error == SupportCheck::Error::UnknownType) {
            result.problems.append({ { ScheduleCell::Kind::SupportType },
                QStringLiteral("нет в каталоге опор: «%1»").arg(chosen) });
        }
        // The same words as the result table's.
        if (const QString error = rowCheckCells(catalogue, outcomes, chosen, locale).error;
            !error.isEmpty())
            errors << error;
    }
    result.errors = errors.join(QStringLiteral("; "));
    result.notes = notes.join(QStringLiteral("; "));
    result.reasons = reasons;
    return result;
}

std::optional<std::vector<ScheduleRowResult>> computeScheduleRows(
    const Schedule &schedule, const SupportCatalogue &catalogue, const ScheduleRunControl &control)
{
    const qsizetype total = schedule.rows.size();
    std::vector<ScheduleRowResult> results;
    results.resize(std::size_t(total));
    // Rows are taken a chunk at a time by whichever thread is free; the calling thread takes
    // its share too and is the one that reports progress.
    const qsizetype chunk = kScheduleProgressRows;
    const qsizetype chunks = (total + chunk - 1) / chunk;
    std::atomic<qsizetype> next { 0 };
    std::atomic<qsizetype> done { 0 };
    const auto cancelled = [&] { return control.cancel && control.cancel->load(); };
    const auto work = [&](bool reports) {
        for (qsizetype c; !cancelled() && (c = next.fetch_add(1)) < chunks;) {
            const qsizetype end = std::min(total, (c + 1) * chunk);
            for (qsizetype row = c * chunk; row < end; ++row)
                results[std::size_t(row)] = computeScheduleRow(schedule, row, catalogue);
            const qsizetype now = done.fetch_add(end - c * chunk) + (end - c * chunk);
            if (reports && control.progress)
                control.progress(now, total);
        }
    };
    const int wanted = control.threads > 0 ? control.threads : QThread::idealThreadCount();
    const auto helpers
        = std::size_t(std::clamp<qsizetype>(std::min<qsizetype>(wanted, chunks) - 1, 0, 64));
    std::vector<std::future<void>> running;
    for (std::size_t k = 0; k < helpers; ++k)
        running.push_back(std::async(std::launch::async, work, false));
    work(true);
    for (std::future<void> &helper : running)
        helper.get();
    if (cancelled())
        return std::nullopt;
    if (control.progress)
        control.progress(total, total);
    return results;
}

} // namespace kelsa
