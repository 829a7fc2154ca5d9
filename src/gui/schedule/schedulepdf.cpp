// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/schedulepdf.h"

#include "core/check/checktext.h"
#include "core/check/utilisationcolour.h"
#include "core/numbers/numbertext.h"
#include "core/platform/outputfile.h"
#include "core/schedule/schedulemodel.h"
#include "core/schedule/schedulesummary.h"
#include "gui/schedule/chartpainter.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <functional>
#include <vector>

namespace kelsa
{

namespace
{

constexpr int kDotsPerInch = 300;
constexpr double kMarginMm = 10;

double dots(double mm)
{
    return mm * kDotsPerInch / 25.4;
}

QFont pdfFont(double points, bool bold = false)
{
    // Liberation Sans is installed with the program and has the Cyrillic letters, as for the
    // calculation report.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A column of the printed table: its caption, its width in mm and how a row's cell reads.
struct PdfColumn {
    QString caption;
    double widthMm = 10;
    Qt::Alignment alignment = Qt::AlignLeft;
    std::function<QString(int row)> text;
    std::function<QColor(int row)> background = {};
    std::function<bool(int row)> invalid = {};
};

std::vector<PdfColumn> pdfColumns(const ScheduleModel &model)
{
    const QLocale locale = model.schedule().locale();
    const auto cellText = [&model](int column) {
        return [&model, column](int row) {
            return model.data(model.index(row, column), Qt::DisplayRole).toString();
        };
    };
    const auto invalid = [&model](int column) {
        return [&model, column](int row) {
            return !model.data(model.index(row, column), ScheduleModel::InvalidReasonRole)
                        .toString()
                        .isEmpty();
        };
    };
    std::vector<PdfColumn> columns;
    columns.push_back({ QStringLiteral("№"), 9, Qt::AlignRight,
        [](int row) { return QString::number(row + 1); } });
    std::vector<PdfColumn> fields;
    for (int column = 0; column < model.columnCount(); ++column) {
        const ScheduleModel::Column kind = model.column(column);
        const QString caption = model.headerData(column, Qt::Horizontal).toString();
        switch (kind.kind) {
        case ScheduleModel::ColumnKind::Support:
            columns.push_back(
                { caption, 16, Qt::AlignLeft, cellText(column), {}, invalid(column) });
            break;
        case ScheduleModel::ColumnKind::Section:
            columns.push_back(
                { caption, 18, Qt::AlignLeft, cellText(column), {}, invalid(column) });
            break;
        case ScheduleModel::ColumnKind::Field:
            columns.push_back(
                { caption, 13, Qt::AlignRight, cellText(column), {}, invalid(column) });
            break;
        case ScheduleModel::ColumnKind::Governing:
            columns.push_back({ caption, 16, Qt::AlignLeft, cellText(column) });
            columns.push_back(
                { QStringLiteral("М, кгс·м"), 15, Qt::AlignRight, [&model, locale](int row) {
                     const ScheduleRowResult &result = model.result(row);
                     if (!result.governing)
                         return QString();
                     const auto &value = result.moments[std::size_t(*result.governing)];
                     return value ? writeNumber(*value, locale) : QString();
                 } });
            break;
        case ScheduleModel::ColumnKind::SupportType:
            columns.push_back(
                { caption, 20, Qt::AlignLeft, cellText(column), {}, invalid(column) });
            break;
        case ScheduleModel::ColumnKind::Utilisation:
            columns.push_back({ caption, 16, Qt::AlignRight, cellText(column), [&model](int row) {
                                   const auto &utilisation = model.result(row).utilisation;
                                   if (!utilisation)
                                       return QColor(Qt::transparent);
                                   QColor colour = QColor::fromRgb(
                                       QRgb(utilisationRgb(utilisationLevel(*utilisation))));
                                   colour.setAlpha(110);
                                   return colour;
                               } });
            break;
        case ScheduleModel::ColumnKind::Errors:
            columns.push_back({ caption, 40, Qt::AlignLeft, cellText(column) });
            break;
        default: // the ten moments and the notes are in the table of the window and in exports
            break;
        }
    }
    return columns;
}

// Draws (or, without a painter, only measures) the pages; returns how many there are.
class PdfPages
{
public:
    PdfPages(QPdfWriter &writer, const ScheduleModel &model, const SchedulePdfInput &input)
        : m_writer(writer)
        , m_model(model)
        , m_input(input)
        , m_columns(pdfColumns(model))
    {
        m_page = QRectF(0, 0, writer.width(), writer.height());
        double total = 0;
        for (const PdfColumn &column : m_columns)
            total += column.widthMm;
        // A table wider than the page (many field columns) is drawn smaller as a whole.
        const double room = m_page.width() / dots(1);
        m_scale = std::min(1.0, room / total);
        for (PdfColumn &column : m_columns)
            column.widthMm *= m_scale;
        double left = 0;
        for (const PdfColumn &column : m_columns)
            left += column.widthMm;
        // The last column takes what is left.
        m_columns.back().widthMm += room - left;
    }

    int run(QPainter *painter, int pageCount)
    {
        m_painter = painter;
        m_pageCount = pageCount;
        m_pageNumber = 1;
        startPage();
        titleBlock();
        tableHeader();
        for (int row = 0; row < m_model.rowCount(); ++row) {
            if (m_y + rowHeight() > m_page.bottom()) {
                nextPage();
                tableHeader();
            }
            tableRow(row);
        }
        summary();
        chart();
        return m_pageNumber;
    }

private:
    double rowHeight() const { return metrics(tableFont()).height() * 1.45; }
    QFont tableFont() const { return pdfFont(7 * m_scale); }
    QFont headerFont() const { return pdfFont(6.5 * m_scale, true); }
    QFontMetricsF metrics(const QFont &font) const { return QFontMetricsF(font, &m_writer); }
    double footerHeight() const { return metrics(pdfFont(7)).height() * 2; }

    void startPage()
    {
        m_y = 0;
        m_page.setBottom(m_writer.height() - footerHeight());
        if (!m_painter)
            return;
        m_painter->setFont(pdfFont(7));
        m_painter->setPen(Qt::black);
        const QRectF foot(
            0, m_writer.height() - footerHeight() / 2, m_page.width(), footerHeight() / 2);
        m_painter->drawText(foot, Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("Ведомость опор — %1").arg(objectText()));
        m_painter->drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
            QStringLiteral("стр. %1 из %2").arg(m_pageNumber).arg(m_pageCount));
    }

    void nextPage()
    {
        if (m_painter)
            m_writer.newPage();
        ++m_pageNumber;
        startPage();
    }

    void ensureRoom(double height)
    {
        if (m_y + height > m_page.bottom())
            nextPage();
    }

    QString objectText() const
    {
        const QString object = m_model.schedule().title.object.trimmed();
        return object.isEmpty() ? QStringLiteral("—") : object;
    }

    void line(const QString &text, const QFont &font, Qt::Alignment alignment = Qt::AlignLeft)
    {
        const double height = metrics(font).height() * 1.3;
        ensureRoom(height);
        if (m_painter) {
            m_painter->setFont(font);
            m_painter->setPen(Qt::black);
            m_painter->drawText(
                QRectF(0, m_y, m_page.width(), height), alignment | Qt::AlignVCenter, text);
        }
        m_y += height;
    }

    void titleBlock()
    {
        const ScheduleTitle &title = m_model.schedule().title;
        line(QStringLiteral("Ведомость опор контактной сети"), pdfFont(14, true), Qt::AlignHCenter);
        m_y += dots(2);
        const QString date = title.date.trimmed().isEmpty()
            ? QLocale().toString(m_input.date, QLocale::ShortFormat)
            : title.date.trimmed();
        const QString author = title.author.trimmed();
        line(QStringLiteral("Объект: %1").arg(objectText()), pdfFont(9));
        line(QStringLiteral("Составил: %1").arg(author.isEmpty() ? QStringLiteral("—") : author),
            pdfFont(9));
        line(QStringLiteral("Дата: %1").arg(date), pdfFont(9));
        if (!m_input.schedulePath.isEmpty())
            line(QStringLiteral("Файл ведомости: %1")
                     .arg(QFileInfo(m_input.schedulePath).fileName()),
                pdfFont(9));
        line(QStringLiteral("Опор в ведомости: %1").arg(m_model.rowCount()), pdfFont(9));
        m_y += dots(3);
    }

    void tableHeader()
    {
        const QFont font = headerFont();
        const double height = metrics(font).height() * 3.4; // captions of up to three lines
        if (m_painter) {
            m_painter->setFont(font);
            double x = 0;
            for (const PdfColumn &column : m_columns) {
                const QRectF cell(x, m_y, dots(column.widthMm), height);
                m_painter->fillRect(cell, QColor(0xEE, 0xEE, 0xEE));
                m_painter->setPen(QPen(Qt::black, dots(0.15)));
                m_painter->drawRect(cell);
                m_painter->drawText(cell.adjusted(dots(0.8), dots(0.5), -dots(0.8), -dots(0.5)),
                    Qt::AlignCenter | Qt::TextWordWrap, column.caption);
                x += dots(column.widthMm);
            }
        }
        m_y += height;
    }

    void tableRow(int row)
    {
        const double height = rowHeight();
        if (m_painter) {
            const QFont font = tableFont();
            const QFontMetricsF fm = metrics(font);
            m_painter->setFont(font);
            double x = 0;
            for (const PdfColumn &column : m_columns) {
                const QRectF cell(x, m_y, dots(column.widthMm), height);
                if (column.background)
                    m_painter->fillRect(cell, column.background(row));
                m_painter->setPen(QPen(QColor(0x9E, 0x9E, 0x9E), dots(0.1)));
                m_painter->drawRect(cell);
                const QRectF inner = cell.adjusted(dots(0.8), 0, -dots(0.8), 0);
                const bool invalid = column.invalid && column.invalid(row);
                m_painter->setPen(invalid ? QColor(0xC6, 0x28, 0x28) : QColor(Qt::black));
                m_painter->drawText(inner, column.alignment | Qt::AlignVCenter,
                    fm.elidedText(column.text(row), Qt::ElideRight, inner.width()));
                x += dots(column.widthMm);
            }
        }
        m_y += height;
    }

    void summary()
    {
        const QLocale locale = m_model.schedule().locale();
        const ScheduleSummary summary = summariseSchedule(m_model);
        const QFont bold = pdfFont(10, true);
        const QFont plain = pdfFont(9);
        m_y += dots(5);
        ensureRoom(metrics(bold).height() * 1.3 * 4);
        line(QStringLiteral("Итоги"), bold);
        line(QStringLiteral("Опор в ведомости: %1").arg(summary.supports), plain);
        for (const ScheduleTypeCount &type : summary.types)
            line(QStringLiteral("    %1: %2")
                     .arg(type.type.isEmpty() ? QStringLiteral("тип не проверен") : type.type)
                     .arg(type.supports),
                plain);
        if (summary.largestRow) {
            const int row = int(*summary.largestRow);
            const QString support = m_model.schedule().rows[row].support.trimmed();
            line(QStringLiteral("Наибольший расчетный момент: %1 кгс·м (%2), опора %3, строка %4")
                     .arg(writeNumber(summary.largestKgfm, locale),
                         momentShortName(summary.largestMoment),
                         support.isEmpty() ? QStringLiteral("без номера") : support)
                     .arg(row + 1),
                plain);
        } else {
            line(QStringLiteral("Наибольший расчетный момент: нет ни одного рассчитанного"), plain);
        }
    }

    void chart()
    {
        const double height = dots(85);
        m_y += dots(4);
        ensureRoom(height + metrics(pdfFont(10, true)).height() * 1.3);
        line(QStringLiteral("Расчетные моменты опор в порядке ведомости"), pdfFont(10, true));
        if (m_painter) {
            m_painter->setFont(pdfFont(7));
            paintScheduleChart(
                *m_painter, QRectF(0, m_y, m_page.width(), height), scheduleChart(m_model));
        }
        m_y += height;
    }

    QPdfWriter &m_writer;
    const ScheduleModel &m_model;
    const SchedulePdfInput &m_input;
    std::vector<PdfColumn> m_columns;
    QRectF m_page;
    double m_scale = 1;
    QPainter *m_painter = nullptr;
    int m_pageCount = 0;
    int m_pageNumber = 1;
    double m_y = 0;
};

} // namespace

QString writeSchedulePdf(
    const ScheduleModel &model, const SchedulePdfInput &input, const QString &path)
{
    OutputFile file(
        path, input.schedulePath.isEmpty() ? QStringList() : QStringList { input.schedulePath });
    if (!file.open()) {
        if (file.failure().kind == OutputFailure::Kind::SameAsInput)
            return QStringLiteral("это файл самой ведомости, PDF не записан поверх него");
        return QStringLiteral("не удается создать файл: %1").arg(file.errorString());
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Kelsa"));
        writer.setTitle(QStringLiteral("Ведомость опор"));
        writer.setResolution(kDotsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
            QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
        PdfPages pages(writer, model, input);
        const int count = pages.run(nullptr, 0);
        QPainter painter(&writer);
        pages.run(&painter, count);
    }
    if (!file.commit())
        return QStringLiteral("не удается записать файл: %1").arg(file.errorString());
    return {};
}

} // namespace kelsa
