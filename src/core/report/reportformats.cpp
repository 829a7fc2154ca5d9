// SPDX-License-Identifier: GPL-3.0-or-later
// The report's blocks written out: as plain text and as HTML for a QTextDocument.
#include "core/report/calculationreport.h"

namespace kelsa
{

namespace
{

using Kind = ReportBlock::Kind;

QString underlined(const QString &text, QChar line)
{
    return text + QLatin1Char('\n') + QString(text.size(), line);
}

// "Gп: 2 кгс/м — таблица «Gп» ...": the first cell names the row, the others follow it.
QString plainRow(const QStringList &cells)
{
    if (cells.isEmpty())
        return {};
    QString row = cells.front();
    if (cells.size() > 1)
        row += QStringLiteral(": ") + cells[1];
    for (qsizetype k = 2; k < cells.size(); ++k)
        if (!cells[k].isEmpty())
            row += QStringLiteral(" — ") + cells[k];
    return row;
}

// "Строка 1: + - G/P = 1 кгс, L/l = 0 м, n = 1": every cell after the first by its header.
QString gridRow(const QStringList &header, const QStringList &cells)
{
    QStringList named;
    for (qsizetype k = 1; k < cells.size(); ++k)
        named << QStringLiteral("%1 = %2").arg(k < header.size() ? header[k] : QString(), cells[k]);
    return cells.value(0) + QStringLiteral(": ") + named.join(QStringLiteral(", "));
}

QString plainBlock(const ReportBlock &block)
{
    const QString indent = QStringLiteral("  ");
    switch (block.kind) {
    case Kind::Title:
        return underlined(block.text, QLatin1Char('='));
    case Kind::Section:
        return QLatin1Char('\n') + underlined(block.text, QLatin1Char('-'));
    case Kind::Subsection:
        return QLatin1Char('\n') + block.text;
    case Kind::Table: {
        QStringList rows;
        for (std::size_t k = block.header ? 1 : 0; k < block.rows.size(); ++k)
            rows << plainRow(block.rows[k]);
        return rows.join(QLatin1Char('\n'));
    }
    case Kind::Grid: {
        QStringList rows;
        for (std::size_t k = 1; k < block.rows.size(); ++k)
            rows << gridRow(block.rows.front(), block.rows[k]);
        return rows.join(QLatin1Char('\n'));
    }
    case Kind::Term: {
        QStringList lines { indent + block.text };
        for (const QString &line : block.lines)
            lines << indent + indent + line;
        return lines.join(QLatin1Char('\n'));
    }
    case Kind::Lines:
    case Kind::Notes:
    case Kind::Scheme: {
        QStringList lines;
        for (const QString &line : block.lines)
            lines << indent + line;
        return lines.join(QLatin1Char('\n'));
    }
    case Kind::Value:
    case Kind::Text:
        return indent + block.text;
    case Kind::Warning:
        return indent + QStringLiteral("! ") + block.text;
    }
    return {};
}

QString htmlRow(const QStringList &cells, const QList<int> &widths, bool header, bool first)
{
    const QString cell = header ? QStringLiteral("th") : QStringLiteral("td");
    QString html = QStringLiteral("<tr>");
    for (qsizetype column = 0; column < cells.size(); ++column) {
        QString attributes;
        if (first && column < widths.size())
            attributes += QStringLiteral(" width=\"%1%\"").arg(widths[column]);
        if (header)
            attributes += QStringLiteral(" align=\"left\" bgcolor=\"#e8e8e8\"");
        html
            += QStringLiteral("<%1%2>%3</%1>").arg(cell, attributes, cells[column].toHtmlEscaped());
    }
    return html + QStringLiteral("</tr>\n");
}

// A header row goes into <thead>, which a QTextDocument repeats at the top of every page the
// table runs on.
QString htmlTable(const ReportBlock &block)
{
    QString html
        = QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                         "style=\"border-collapse: collapse; border-color: #808080;\">\n");
    for (std::size_t k = 0; k < block.rows.size(); ++k) {
        const bool header = block.header && k == 0;
        if (header)
            html += QStringLiteral("<thead>") + htmlRow(block.rows[k], block.widths, true, true)
                + QStringLiteral("</thead>\n");
        else
            html += htmlRow(block.rows[k], block.widths, false, k == 0);
    }
    return html + QStringLiteral("</table>\n");
}

QString htmlLines(const QStringList &lines)
{
    QStringList escaped;
    for (const QString &line : lines)
        escaped << line.toHtmlEscaped();
    return escaped.join(QStringLiteral("<br>"));
}

QString htmlBlock(const ReportBlock &block, int &schemes)
{
    const QString text = block.text.toHtmlEscaped();
    switch (block.kind) {
    case Kind::Title:
        return QStringLiteral("<p style=\"font-size: 14pt; font-weight: bold;\">%1</p>\n")
            .arg(text);
    case Kind::Section:
        return QStringLiteral("<h2 style=\"font-size: 12pt;\">%1</h2>\n").arg(text);
    case Kind::Subsection:
        return QStringLiteral("<h3 style=\"font-size: 10pt;\">%1</h3>\n").arg(text);
    case Kind::Table:
    case Kind::Grid:
        return htmlTable(block);
    case Kind::Value:
        return QStringLiteral("<p style=\"margin-left: 12px;\"><b>%1</b></p>\n").arg(text);
    case Kind::Term:
        // The terms of a moment follow each other closely, so that a moment with its drawing
        // fits on a page.
        return QStringLiteral("<p style=\"margin-left: 12px; margin-top: 5px; margin-bottom: "
                              "0px;\"><i>%1</i><br>%2</p>\n")
            .arg(text, htmlLines(block.lines));
    case Kind::Lines:
        return QStringLiteral(
            "<p style=\"margin-left: 12px; margin-top: 8px; margin-bottom: 0px;\">%1</p>\n")
            .arg(htmlLines(block.lines));
    case Kind::Notes:
        return QStringLiteral("<p style=\"margin-left: 12px; margin-top: 8px; margin-bottom: 0px; "
                              "font-size: 9pt;\">%1</p>\n")
            .arg(htmlLines(block.lines));
    case Kind::Text:
        return QStringLiteral("<p style=\"margin-left: 12px;\">%1</p>\n").arg(text);
    case Kind::Warning:
        return QStringLiteral("<p style=\"margin-left: 12px; color: #b00000;\"><b>%1</b></p>\n")
            .arg(text);
    case Kind::Scheme:
        // The drawing itself, with its caption, is the printed document's: it takes the place
        // of the image "kelsa-scheme:N", N counting the drawings from 0.
        return QStringLiteral("<p align=\"center\" style=\"margin-top: 8px;\"><img src=\"%1%2\" "
                              "alt=\"%3\"></p>\n")
            .arg(reportSchemeUrl())
            .arg(schemes++)
            .arg(block.lines.value(0).toHtmlEscaped());
    }
    return {};
}
} // namespace

QString reportSchemeUrl()
{
    return QStringLiteral("kelsa-scheme:");
}

QString reportPlainText(const ReportInput &input)
{
    QStringList parts;
    for (const ReportBlock &block : buildReport(input))
        parts << plainBlock(block);
    return parts.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString reportHtml(const ReportInput &input)
{
    return reportHtml(buildReport(input));
}

QString reportHtml(const std::vector<ReportBlock> &blocks)
{
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>\n");
    int schemes = 0;
    for (const ReportBlock &block : blocks)
        html += htmlBlock(block, schemes);
    return html + QStringLiteral("</body></html>\n");
}

} // namespace kelsa
