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
    case Kind::Lines: {
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

QString htmlTable(const ReportBlock &block)
{
    QString html
        = QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                         "style=\"border-collapse: collapse; border-color: #808080;\">\n");
    for (std::size_t k = 0; k < block.rows.size(); ++k) {
        const bool header = block.header && k == 0;
        const QString cell = header ? QStringLiteral("th") : QStringLiteral("td");
        html += QStringLiteral("<tr>");
        for (const QString &text : block.rows[k])
            html += QStringLiteral("<%1%2>%3</%1>")
                        .arg(cell,
                            header ? QStringLiteral(" align=\"left\" bgcolor=\"#e8e8e8\"")
                                   : QString(),
                            text.toHtmlEscaped());
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n");
}

QString htmlBlock(const ReportBlock &block)
{
    const QString text = block.text.toHtmlEscaped();
    switch (block.kind) {
    case Kind::Title:
        return QStringLiteral("<h1>%1</h1>\n").arg(text);
    case Kind::Section:
        return QStringLiteral("<h2>%1</h2>\n").arg(text);
    case Kind::Subsection:
        return QStringLiteral("<h3>%1</h3>\n").arg(text);
    case Kind::Table:
        return htmlTable(block);
    case Kind::Value:
        return QStringLiteral("<p style=\"margin-left: 12px;\"><b>%1</b></p>\n").arg(text);
    case Kind::Lines: {
        QStringList lines;
        for (const QString &line : block.lines)
            lines << line.toHtmlEscaped();
        return QStringLiteral("<p style=\"margin-left: 12px;\">%1</p>\n")
            .arg(lines.join(QStringLiteral("<br>")));
    }
    case Kind::Text:
        return QStringLiteral("<p style=\"margin-left: 12px;\">%1</p>\n").arg(text);
    case Kind::Warning:
        return QStringLiteral("<p style=\"margin-left: 12px; color: #b00000;\"><b>%1</b></p>\n")
            .arg(text);
    }
    return {};
}

} // namespace

QString reportPlainText(const ReportInput &input)
{
    QStringList parts;
    for (const ReportBlock &block : buildReport(input))
        parts << plainBlock(block);
    return parts.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString reportHtml(const ReportInput &input)
{
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>\n");
    for (const ReportBlock &block : buildReport(input))
        html += htmlBlock(block);
    return html + QStringLiteral("</body></html>\n");
}

} // namespace kelsa
