// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/schedulemodel.h"

#include "core/batch/batchcolumns.h"
#include "core/batch/rowreport.h"
#include "core/check/checktext.h"
#include "core/check/utilisationcolour.h"
#include "core/numbers/numbertext.h"

#include <algorithm>
#include <set>

namespace kelsa
{

namespace
{

QString columnName(const ScheduleModel::Column &column)
{
    using Kind = ScheduleModel::ColumnKind;
    switch (column.kind) {
    case Kind::Support:
        return QStringLiteral("support");
    case Kind::Section:
        return QStringLiteral("section");
    case Kind::Field:
        return QString::fromLatin1(fieldInfo(column.field).name);
    case Kind::Moment:
        return QString::fromLatin1(momentInfo(column.moment).label);
    case Kind::Governing:
        return QStringLiteral("governing");
    case Kind::SupportType:
        return QStringLiteral("supportType");
    case Kind::Utilisation:
        return QStringLiteral("utilisation");
    case Kind::Errors:
        return QStringLiteral("errors");
    case Kind::Notes:
        break;
    }
    return QStringLiteral("notes");
}

} // namespace

ScheduleModel::ScheduleModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    rebuildColumns();
}

void ScheduleModel::setSchedule(Schedule schedule)
{
    beginResetModel();
    m_schedule = std::move(schedule);
    m_results.assign(std::size_t(m_schedule.rows.size()), ScheduleRowResult());
    rebuildColumns();
    ++m_revision;
    endResetModel();
    computeAll();
}

void ScheduleModel::setCatalogue(SupportCatalogue catalogue)
{
    m_catalogue = std::move(catalogue);
    ++m_revision;
    computeAll();
}

ScheduleEdit ScheduleModel::apply(const ScheduleEdit &edit)
{
    std::vector<std::vector<ScheduleStep>> undos;
    for (const ScheduleStep &step : edit.steps) {
        undos.emplace_back();
        applyStep(step, undos.back());
    }
    ++m_revision;
    ScheduleEdit undo;
    for (auto it = undos.rbegin(); it != undos.rend(); ++it)
        undo.steps.insert(undo.steps.end(), it->begin(), it->end());
    return undo;
}

void ScheduleModel::applyStep(const ScheduleStep &step, std::vector<ScheduleStep> &undo)
{
    const auto results = [this](qsizetype at) { return m_results.begin() + std::ptrdiff_t(at); };
    if (const auto *cells = std::get_if<SetCells>(&step)) {
        undo = kelsa::applyStep(m_schedule, step);
        if (undo.empty())
            return;
        std::set<qsizetype> rows;
        for (const CellChange &change : cells->changes)
            rows.insert(change.row);
        for (const qsizetype row : rows)
            computeRows(row, 1);
    } else if (const auto *insert = std::get_if<InsertRows>(&step)) {
        if (insert->at < 0 || insert->at > m_schedule.rows.size() || insert->rows.isEmpty())
            return;
        beginInsertRows({}, int(insert->at), int(insert->at + insert->rows.size() - 1));
        undo = kelsa::applyStep(m_schedule, step);
        m_results.insert(results(insert->at), std::size_t(insert->rows.size()), {});
        endInsertRows();
        computeRows(insert->at, insert->rows.size());
    } else if (const auto *remove = std::get_if<RemoveRows>(&step)) {
        if (remove->at < 0 || remove->count <= 0 || remove->at + remove->count > rowCount())
            return;
        beginRemoveRows({}, int(remove->at), int(remove->at + remove->count - 1));
        undo = kelsa::applyStep(m_schedule, step);
        m_results.erase(results(remove->at), results(remove->at + remove->count));
        endRemoveRows();
    } else if (const auto *move = std::get_if<MoveRows>(&step)) {
        if (move->count <= 0 || move->from < 0 || move->to < 0 || move->from == move->to
            || move->from + move->count > rowCount() || move->to + move->count > rowCount())
            return;
        // Qt names the row the moved ones go before, counted before the move.
        const int before = int(move->to > move->from ? move->to + move->count : move->to);
        beginMoveRows({}, int(move->from), int(move->from + move->count - 1), {}, before);
        undo = kelsa::applyStep(m_schedule, step);
        if (move->to < move->from)
            std::rotate(results(move->to), results(move->from), results(move->from + move->count));
        else
            std::rotate(results(move->from), results(move->from + move->count),
                results(move->to + move->count));
        endMoveRows();
    } else if (std::holds_alternative<SetColumns>(step)) {
        beginResetModel();
        undo = kelsa::applyStep(m_schedule, step);
        rebuildColumns();
        endResetModel();
        computeAll();
    } else if (std::holds_alternative<SetCommon>(step)) {
        undo = kelsa::applyStep(m_schedule, step);
        computeAll();
    } else {
        undo = kelsa::applyStep(m_schedule, step);
    }
}

void ScheduleModel::computeRows(qsizetype first, qsizetype count)
{
    for (qsizetype row = first; row < first + count; ++row)
        m_results[std::size_t(row)] = computeScheduleRow(m_schedule, row, m_catalogue);
    if (count > 0)
        emit dataChanged(index(int(first), 0), index(int(first + count - 1), columnCount() - 1));
}

void ScheduleModel::computeAll()
{
    if (m_defers) {
        m_pending = true;
        m_results.assign(std::size_t(m_schedule.rows.size()), ScheduleRowResult());
    } else {
        m_pending = false;
        m_results = std::move(*computeScheduleRows(m_schedule, m_catalogue, {}));
    }
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    if (m_pending)
        emit fullComputationNeeded();
}

bool ScheduleModel::setAllResults(quint64 revision, std::vector<ScheduleRowResult> results)
{
    if (revision != m_revision || results.size() != m_results.size())
        return false;
    m_results = std::move(results);
    m_pending = false;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    return true;
}

void ScheduleModel::rebuildColumns()
{
    m_columns.clear();
    m_columns.push_back({ ColumnKind::Support });
    m_columns.push_back({ ColumnKind::Section });
    for (const InputField field : m_schedule.fields)
        m_columns.push_back({ ColumnKind::Field, field });
    for (const MomentInfo &info : moments())
        m_columns.push_back({ ColumnKind::Moment, InputField::SpanLength, info.moment });
    for (const ColumnKind kind : { ColumnKind::Governing, ColumnKind::SupportType,
             ColumnKind::Utilisation, ColumnKind::Errors, ColumnKind::Notes })
        m_columns.push_back({ kind });
}

ScheduleModel::Column ScheduleModel::column(int column) const
{
    return m_columns[std::size_t(column)];
}

int ScheduleModel::columnOf(const ScheduleCell &cell) const
{
    for (std::size_t k = 0; k < m_columns.size(); ++k)
        if (const auto edited = cellOf(int(k)); edited && *edited == cell)
            return int(k);
    return -1;
}

std::optional<ScheduleCell> ScheduleModel::cellOf(int column) const
{
    if (column < 0 || column >= columnCount())
        return std::nullopt;
    switch (m_columns[std::size_t(column)].kind) {
    case ColumnKind::Support:
        return ScheduleCell { ScheduleCell::Kind::Support };
    case ColumnKind::Section:
        return ScheduleCell { ScheduleCell::Kind::Section };
    case ColumnKind::Field:
        return ScheduleCell::ofField(m_columns[std::size_t(column)].field);
    case ColumnKind::SupportType:
        return ScheduleCell { ScheduleCell::Kind::SupportType };
    default:
        return std::nullopt;
    }
}

int ScheduleModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_schedule.rows.size());
}

int ScheduleModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ScheduleModel::display(int row, const Column &column) const
{
    const ScheduleRowResult &result = m_results[std::size_t(row)];
    const QLocale locale = m_schedule.locale();
    switch (column.kind) {
    case ColumnKind::Moment:
        if (const auto &moment = result.moments[std::size_t(column.moment)])
            return writeNumber(*moment, locale);
        return QString();
    case ColumnKind::Governing:
        return result.governing ? momentShortName(*result.governing) : QString();
    case ColumnKind::SupportType:
        return m_pending ? m_schedule.rows[row].supportType : result.supportType;
    case ColumnKind::Utilisation:
        return result.utilisation ? utilisationCell(*result.utilisation, locale) : QString();
    case ColumnKind::Errors:
        // The reasons in words, as the printed schedule gives them; the codes of the result
        // table (kelsa --batch, the exports) are in the tooltip.
        return result.reasons.isEmpty() ? result.errors : result.reasons.join(QStringLiteral("; "));
    case ColumnKind::Notes:
        return result.notes;
    default: // input cells: data() reads them
        return {};
    }
}

QVariant ScheduleModel::number(int row, const Column &column) const
{
    const ScheduleRowResult &result = m_results[std::size_t(row)];
    switch (column.kind) {
    case ColumnKind::Field:
        if (const auto value
            = readNumber(m_schedule.rows[row].field(column.field), m_schedule.locale()))
            return *value;
        return {};
    case ColumnKind::Moment:
        if (const auto &moment = result.moments[std::size_t(column.moment)])
            return *moment;
        return {};
    case ColumnKind::Utilisation:
        if (result.utilisation)
            return utilisationPercent(*result.utilisation, 1);
        return {};
    default:
        return {};
    }
}

QVariant ScheduleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const int row = index.row();
    const Column &column = m_columns[std::size_t(index.column())];
    const ScheduleRowResult &result = m_results[std::size_t(row)];
    const std::optional<ScheduleCell> cell = cellOf(index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (cell && column.kind != ColumnKind::SupportType)
            return m_schedule.text(row, *cell);
        return display(row, column);
    case Qt::EditRole:
        if (cell)
            return m_schedule.text(row, *cell);
        return display(row, column);
    case Qt::ToolTipRole:
    case InvalidReasonRole: {
        if (cell)
            if (const CellProblem *problem = result.problem(*cell))
                return problem->reason;
        if (role == InvalidReasonRole)
            return QString();
        if (column.kind == ColumnKind::Governing && result.governing)
            return QString::fromLatin1(momentInfo(*result.governing).label);
        if (column.kind == ColumnKind::Errors && !result.reasons.isEmpty())
            return result.reasons.join(QLatin1Char('\n')) + QStringLiteral("\nв столбце errors: ")
                + result.errors;
        if (column.kind == ColumnKind::Errors || column.kind == ColumnKind::Notes)
            return display(row, column);
        return {};
    }
    case UtilisationLevelRole:
    case UtilisationRgbRole:
        if (column.kind != ColumnKind::Utilisation || !result.utilisation)
            return {};
        if (role == UtilisationLevelRole)
            return int(utilisationLevel(*result.utilisation));
        return uint(utilisationRgb(utilisationLevel(*result.utilisation)));
    case NumberRole:
        return number(row, column);
    case ColumnNameRole:
        return headerData(index.column(), Qt::Horizontal, ColumnNameRole);
    case Qt::TextAlignmentRole:
        if (column.kind == ColumnKind::Field || column.kind == ColumnKind::Moment
            || column.kind == ColumnKind::Utilisation)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section + 1;
        return {};
    }
    if (section < 0 || section >= columnCount())
        return {};
    const Column &column = m_columns[std::size_t(section)];
    const QString name = columnName(column);
    const QString caption = columnCaption(name);
    switch (role) {
    case Qt::DisplayRole:
        return caption;
    case Qt::ToolTipRole:
    case ColumnNameRole:
        return name;
    default:
        return {};
    }
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (cellOf(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ScheduleModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const std::optional<ScheduleCell> cell = cellOf(index.column());
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() || !cell)
        return false;
    const QString text = value.toString();
    if (m_schedule.text(index.row(), *cell) == text)
        return true;
    const ScheduleEdit edit = setCellEdit(index.row(), *cell, text);
    const ScheduleEdit undo = apply(edit);
    emit edited(edit, undo);
    return true;
}

} // namespace kelsa
