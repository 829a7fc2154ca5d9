// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/schedulepdf.h"

#include "core/check/checktext.h"
#include "core/check/utilisationcolour.h"
#include "core/numbers/numbertext.h"
#include "core/platform/outputfile.h"
#include "core/batch/batchcolumns.h"
#include "core/schedule/printedtable.h"
#include "core/schedule/schedulemodel.h"
#include "core/schedule/schedulesummary.h"
#include "gui/schedule/chartpainter.h"
#include "gui/schedule/wrappedtext.h"

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

// A column of the printed table: its caption, how a row's cell reads, and how wide it may grow.
struct PdfColumn {
    QString caption;
    // Texts that break onto more lines, up to this width in mm before they do; 0 for a column of
    // numbers, made as wide as its widest number.
    double wrapsAtMm = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
    std::function<QString(int row)> text;
    std::function<QColor(int row)> background = {};
    std::function<bool(int row)> invalid = {};
    double width = 0; // in dots, once laid out
    double wants = 0; // the width its widest text takes on one line, in dots
};

// The columns printed: the row's number and the support (repeated in every band of a wide
// table), the section, the field columns not stated once above the table, the governing moment
// and its value, the type, the utilisation and the errors.
std::vector<PdfColumn> pdfColumns(
    const ScheduleModel &model, const std::vector<SharedField> &shared)
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
    const auto sharedColumn = [&shared](InputField field) {
        return std::any_of(shared.begin(), shared.end(),
            [field](const SharedField &s) { return s.column && s.field == field; });
    };
    std::vector<PdfColumn> columns;
    columns.push_back({ QStringLiteral("№"), 0, Qt::AlignRight,
        [](int row) { return QString::number(row + 1); } });
    for (int column = 0; column < model.columnCount(); ++column) {
        const ScheduleModel::Column kind = model.column(column);
        const QString caption = model.headerData(column, Qt::Horizontal).toString();
        switch (kind.kind) {
        case ScheduleModel::ColumnKind::Support:
            columns.push_back(
                { caption, 40, Qt::AlignLeft, cellText(column), {}, invalid(column) });
            break;
        case ScheduleModel::ColumnKind::Section:
            columns.push_back(
                { caption, 24, Qt::AlignLeft, cellText(column), {}, invalid(column) });
            break;
        case ScheduleModel::ColumnKind::Field:
            if (!sharedColumn(kind.field))
                columns.push_back(
                    { caption, 0, Qt::AlignRight, cellText(column), {}, invalid(column) });
            break;
        case ScheduleModel::ColumnKind::Governing:
            columns.push_back({ caption, 30, Qt::AlignLeft, cellText(column) });
            columns.push_back(
                { QStringLiteral("М, кгс·м"), 0, Qt::AlignRight, [&model, locale](int row) {
                     const ScheduleRowResult &result = model.result(row);
                     if (!result.governing)
                         return QString();
                     const auto &value = result.moments[std::size_t(*result.governing)];
                     return value ? writeNumber(*value, locale) : QString();
                 } });
            break;
        case ScheduleModel::ColumnKind::SupportType:
            columns.push_back(
                { caption, 30, Qt::AlignLeft, cellText(column), {}, invalid(column) });
            break;
        case ScheduleModel::ColumnKind::Utilisation:
            columns.push_back({ caption, 0, Qt::AlignRight, cellText(column), [&model](int row) {
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
            columns.push_back({ caption, 60, Qt::AlignLeft,
                [&model](int row) { return model.result(row).reasons.join(QLatin1Char('\n')); } });
            break;
        default: // the ten moments and the notes are in the table of the window and in exports
            break;
        }
    }
    return columns;
}

// The row's number and the support head every band of a table wider than the page.
constexpr int kRepeatedColumns = 2;

// Draws (or, without a painter, only measures) the pages; returns how many there are.
class PdfPages
{
public:
    PdfPages(QPdfWriter &writer, const ScheduleModel &model, const SchedulePdfInput &input)
        : m_writer(writer)
        , m_model(model)
        , m_input(input)
        , m_shared(sharedFields(model.schedule()))
        , m_columns(pdfColumns(model, m_shared))
    {
        m_page = QRectF(0, 0, writer.width(), writer.height());
        layOutColumns();
        for (std::size_t band = 0; band < m_bands.size(); ++band) {
            std::vector<double> heights;
            heights.reserve(std::size_t(m_model.rowCount()));
            for (int row = 0; row < m_model.rowCount(); ++row)
                heights.push_back(rowHeight(band, row));
            m_rowHeights.push_back(std::move(heights));
        }
    }

    int run(QPainter *painter, int pageCount)
    {
        m_painter = painter;
        m_pageCount = pageCount;
        m_pageNumber = 1;
        startPage();
        titleBlock();
        sharedBlock();
        for (std::size_t band = 0; band < m_bands.size(); ++band) {
            if (band > 0)
                nextPage();
            if (m_bands.size() > 1)
                line(QStringLiteral("Таблица, часть %1 из %2").arg(band + 1).arg(m_bands.size()),
                    pdfFont(9, true));
            table(band);
        }
        summary();
        chart();
        return m_pageNumber;
    }

private:
    QFont tableFont() const { return pdfFont(7); }
    QFont headerFont() const { return pdfFont(6.5, true); }
    QFontMetricsF metrics(const QFont &font) const { return QFontMetricsF(font, &m_writer); }
    double footerHeight() const { return metrics(pdfFont(7)).height() * 2; }
    double padding() const { return dots(0.8); }
    // Above and below a cell's text: a row of one line is 1.45 lines high.
    double verticalPadding() const { return metrics(tableFont()).height() * 0.225; }

    // Each column as wide as its widest number, or its widest text up to where it wraps, and
    // never narrower than the longest word of its caption; then cut into bands that fit the
    // page, the room left in each given first to the columns whose texts still wrap.
    void layOutColumns()
    {
        const QFontMetricsF cells = metrics(tableFont());
        const QFontMetricsF header = metrics(headerFont());
        for (PdfColumn &column : m_columns) {
            double widest = 0;
            for (int row = 0; row < m_model.rowCount(); ++row)
                widest = std::max(widest, widestLine(column.text(row), cells));
            column.wants = widest + 2 * padding();
            // A little over the longest word, so that rounding never breaks it.
            const double least = widestWord(column.caption, header) + 2 * padding() + dots(0.3);
            const double text
                = column.wrapsAtMm > 0 ? std::min(widest, dots(column.wrapsAtMm)) : widest;
            column.width = std::max(least, text + 2 * padding() + dots(0.3));
            column.wants = std::max(column.wants, column.width);
        }
        std::vector<double> widths;
        for (const PdfColumn &column : m_columns)
            widths.push_back(column.width);
        m_bands = columnBands(widths, kRepeatedColumns, m_page.width());
        for (const std::vector<int> &band : m_bands)
            m_bandWidths.push_back(widened(band));
    }

    // The band's widths with the page's room it leaves spread: to the columns whose texts
    // wrap, up to their widest text, then over every column.
    std::vector<double> widened(const std::vector<int> &band) const
    {
        std::vector<double> widths;
        double used = 0, wanted = 0;
        for (const int column : band) {
            widths.push_back(m_columns[std::size_t(column)].width);
            used += m_columns[std::size_t(column)].width;
            wanted += m_columns[std::size_t(column)].wants - m_columns[std::size_t(column)].width;
        }
        double room = m_page.width() - used;
        if (room <= 0)
            return widths;
        if (wanted > 0) {
            const double share = std::min(1.0, room / wanted);
            for (std::size_t k = 0; k < band.size(); ++k) {
                const PdfColumn &column = m_columns[std::size_t(band[k])];
                widths[k] += (column.wants - column.width) * share;
            }
            room -= std::min(room, wanted);
        }
        double total = 0;
        for (const double width : widths)
            total += width;
        for (double &width : widths)
            width += room * width / total;
        return widths;
    }

    double bandWidth(std::size_t band, std::size_t k) const { return m_bandWidths[band][k]; }

    double rowHeight(std::size_t band, int row) const
    {
        const QFont font = tableFont();
        double height = metrics(font).height();
        for (std::size_t k = 0; k < m_bands[band].size(); ++k) {
            const QString text = m_columns[std::size_t(m_bands[band][k])].text(row);
            if (!text.isEmpty())
                height = std::max(height,
                    wrappedTextHeight(text, font, &m_writer, bandWidth(band, k) - 2 * padding()));
        }
        return height + 2 * verticalPadding();
    }

    double headerHeight(std::size_t band) const
    {
        const QFont font = headerFont();
        double height = metrics(font).height();
        for (std::size_t k = 0; k < m_bands[band].size(); ++k)
            height = std::max(height,
                wrappedTextHeight(m_columns[std::size_t(m_bands[band][k])].caption, font, &m_writer,
                    bandWidth(band, k) - 2 * padding()));
        return height + dots(2);
    }

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

    // «Общие для всех опор»: the fields stated once instead of on every row, «caption: text»,
    // four to a line.
    void sharedBlock()
    {
        if (m_shared.empty())
            return;
        line(QStringLiteral("Общие для всех опор"), pdfFont(10, true));
        const QFont font = pdfFont(8);
        constexpr int kPerLine = 4;
        const double width = m_page.width() / kPerLine;
        for (std::size_t first = 0; first < m_shared.size(); first += kPerLine) {
            QStringList texts;
            double height = 0;
            for (std::size_t k = first; k < std::min(m_shared.size(), first + kPerLine); ++k) {
                const SharedField &field = m_shared[k];
                texts << QStringLiteral("%1: %2").arg(
                    columnCaption(QString::fromLatin1(fieldInfo(field.field).name)), field.text);
                height = std::max(
                    height, wrappedTextHeight(texts.back(), font, &m_writer, width - dots(3)));
            }
            height += dots(0.8);
            ensureRoom(height);
            if (m_painter) {
                m_painter->setFont(font);
                m_painter->setPen(Qt::black);
                for (int k = 0; k < texts.size(); ++k)
                    drawWrappedText(*m_painter, QPointF(k * width, m_y), width - dots(3), texts[k],
                        Qt::AlignLeft);
            }
            m_y += height;
        }
        m_y += dots(3);
    }

    void table(std::size_t band)
    {
        const std::vector<double> &heights = m_rowHeights[band];
        // The header never stands alone at the foot of a page.
        ensureRoom(headerHeight(band) + (heights.empty() ? 0 : heights.front()));
        tableHeader(band);
        bool pageHasRows = false;
        for (int row = 0; row < m_model.rowCount(); ++row) {
            const double height = heights[std::size_t(row)];
            // A row taller than a whole page is drawn over its foot rather than never.
            if (pageHasRows && m_y + height > m_page.bottom()) {
                nextPage();
                tableHeader(band);
            }
            tableRow(band, row, height);
            pageHasRows = true;
        }
    }

    void tableHeader(std::size_t band)
    {
        const QFont font = headerFont();
        const double height = headerHeight(band);
        if (m_painter) {
            m_painter->setFont(font);
            double x = 0;
            for (std::size_t k = 0; k < m_bands[band].size(); ++k) {
                const PdfColumn &column = m_columns[std::size_t(m_bands[band][k])];
                const double width = bandWidth(band, k);
                const QRectF cell(x, m_y, width, height);
                m_painter->fillRect(cell, QColor(0xEE, 0xEE, 0xEE));
                m_painter->setPen(QPen(Qt::black, dots(0.15)));
                m_painter->drawRect(cell);
                const double textHeight
                    = wrappedTextHeight(column.caption, font, &m_writer, width - 2 * padding());
                drawWrappedText(*m_painter, QPointF(x + padding(), m_y + (height - textHeight) / 2),
                    width - 2 * padding(), column.caption, Qt::AlignHCenter);
                x += width;
            }
        }
        m_y += height;
    }

    void tableRow(std::size_t band, int row, double height)
    {
        if (m_painter) {
            m_painter->setFont(tableFont());
            double x = 0;
            for (std::size_t k = 0; k < m_bands[band].size(); ++k) {
                const PdfColumn &column = m_columns[std::size_t(m_bands[band][k])];
                const double width = bandWidth(band, k);
                const QRectF cell(x, m_y, width, height);
                if (column.background)
                    m_painter->fillRect(cell, column.background(row));
                m_painter->setPen(QPen(QColor(0x9E, 0x9E, 0x9E), dots(0.1)));
                m_painter->drawRect(cell);
                const bool invalid = column.invalid && column.invalid(row);
                m_painter->setPen(invalid ? QColor(0xC6, 0x28, 0x28) : QColor(Qt::black));
                drawWrappedText(*m_painter, QPointF(x + padding(), m_y + verticalPadding()),
                    width - 2 * padding(), column.text(row), column.alignment);
                x += width;
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
    std::vector<SharedField> m_shared;
    std::vector<PdfColumn> m_columns;
    std::vector<std::vector<int>> m_bands;
    std::vector<std::vector<double>> m_bandWidths; // in dots, column by column of each band
    std::vector<std::vector<double>> m_rowHeights; // in dots, row by row of each band
    QRectF m_page;
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
