// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/scheme/schemepainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelsa
{

namespace
{

// The drawing is laid out in units of 1/170 of its width (1 mm on a page of the report).
constexpr double kWidth = 170;
constexpr double kPoleX = 86; // the support's axis
constexpr double kArrow = 15; // length of a load's arrow
constexpr double kColumnGap = 3; // from an arrow's tail to its label
constexpr double kTopBand = 15.5; // above the bracket: the weights' arrows and labels
constexpr double kBottomBand = 12; // below the base: its hatching, its name and the moment
constexpr double kFontSize = 2.6;
constexpr double kLine = 3.2; // one line of a label
constexpr double kLabelGap = 0.9;

const QColor kLoadColour(0x1f, 0x4f, 0xa0);
const QColor kLeaderColour(0x90, 0x90, 0x90);

// A label to place in one of the two columns beside the support.
struct Label {
    QStringList lines;
    double wanted; // the y of the line it belongs to
    QPointF anchor; // the arrow's tail its leader line ends at; none for a couple
    bool leader;
    double top = 0; // as placed
    double height() const { return lines.size() * kLine; }
};

// Places the labels of a column as near their lines as they go without overlapping, between
// `low` and `high` (y grows downwards).
void placeColumn(std::vector<Label> &labels, double low, double high)
{
    std::sort(labels.begin(), labels.end(),
        [](const Label &a, const Label &b) { return a.wanted < b.wanted; });
    double next = low;
    for (Label &label : labels) {
        label.top = std::max(label.wanted - label.height() / 2, next);
        next = label.top + label.height() + kLabelGap;
    }
    double limit = high;
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
        it->top = std::min(it->top, limit - it->height());
        limit = it->top - kLabelGap;
    }
}

// The labels beside the support take one line each, so that many loads fit in the column.
QStringList oneLine(const SchemeLoad &load)
{
    return { load.label.join(QStringLiteral(", ")) };
}

void arrowHead(QPainter &painter, QPointF tip, QPointF from, double unit)
{
    const QPointF direction = tip - from;
    const double length = std::hypot(direction.x(), direction.y());
    if (length == 0)
        return;
    const QPointF along = direction / length * 2.2 * unit;
    const QPointF across(-along.y() * 0.33, along.x() * 0.33);
    painter.drawPolygon(QPolygonF { tip, tip - along + across, tip - along - across });
}

void arrow(QPainter &painter, QPointF from, QPointF tip, double unit)
{
    painter.drawLine(
        from, tip - (tip - from) / std::hypot((tip - from).x(), (tip - from).y()) * 1.5 * unit);
    arrowHead(painter, tip, from, unit);
}

// Draws a label's lines from `top`, flush left at x or flush right ending at x.
void drawLabel(QPainter &painter, const Label &label, double x, bool flushRight, double unit)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (qsizetype k = 0; k < label.lines.size(); ++k) {
        const QString &line = label.lines[k];
        const double width = metrics.horizontalAdvance(line);
        const double left = flushRight ? x * unit - width : x * unit;
        painter.drawText(QPointF(left, (label.top + kLine * (k + 0.78)) * unit), line);
    }
}

} // namespace

void paintSupportScheme(QPainter &painter, const QRectF &area, const SupportScheme &scheme)
{
    painter.save();
    painter.translate(area.topLeft());
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = area.width() / kWidth;
    const double height = area.height() / unit;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, int(std::lround(kFontSize * unit))));
    painter.setFont(font);

    const double baseY = height - kBottomBand;
    double highest = 0;
    double widest = 0;
    for (const SchemeLoad &load : scheme.loads) {
        if (load.kind == LoadForm::Kind::Horizontal)
            highest = std::max(highest, load.arm);
        if (load.kind == LoadForm::Kind::Vertical)
            widest = std::max(widest, std::abs(load.arm));
    }
    const double bracketY = kTopBand;
    // Heights to one scale up to just under the bracket; offsets no wider than that.
    const double perMetre = highest > 0 ? (baseY - bracketY - 4) / highest : 1;
    const double perMetreAcross = widest > 0 ? std::min(perMetre, 24 / widest) : perMetre;
    const auto yAt = [&](double metres) { return baseY - metres * perMetre; };

    // The support, its base with hatching, and the bracket the weights hang from.
    painter.setPen(QPen(Qt::black, 0.7 * unit));
    painter.drawLine(QPointF(kPoleX, baseY) * unit, QPointF(kPoleX, bracketY) * unit);
    double left = kPoleX, right = kPoleX;
    for (const SchemeLoad &load : scheme.loads)
        if (load.kind == LoadForm::Kind::Vertical) {
            left = std::min(left, kPoleX + load.arm * perMetreAcross);
            right = std::max(right, kPoleX + load.arm * perMetreAcross);
        }
    if (right > left)
        painter.drawLine(QPointF(left, bracketY) * unit, QPointF(right, bracketY) * unit);
    painter.drawLine(QPointF(kPoleX - 12, baseY) * unit, QPointF(kPoleX + 12, baseY) * unit);
    painter.setPen(QPen(Qt::black, 0.25 * unit));
    for (double x = kPoleX - 11; x <= kPoleX + 12; x += 2.5)
        painter.drawLine(QPointF(x, baseY) * unit, QPointF(x - 2, baseY + 2.2) * unit);

    // The loads, and their labels in a column on each side.
    std::vector<Label> leftColumn, rightColumn;
    painter.setPen(QPen(kLoadColour, 0.45 * unit));
    painter.setBrush(kLoadColour);
    for (const SchemeLoad &load : scheme.loads) {
        switch (load.kind) {
        case LoadForm::Kind::Horizontal: {
            // Every force pushes the support: one that turns it the positive way comes from the
            // left, one that turns it back from the right.
            const double y = yAt(load.arm);
            const bool fromLeft = load.forceValue >= 0;
            const double tail = fromLeft ? kPoleX - kArrow : kPoleX + kArrow;
            arrow(painter, QPointF(tail, y) * unit, QPointF(kPoleX, y) * unit, unit);
            (fromLeft ? leftColumn : rightColumn)
                .push_back({ oneLine(load), y, QPointF(tail, y), true });
            break;
        }
        case LoadForm::Kind::Vertical: {
            const double x = kPoleX + load.arm * perMetreAcross;
            arrow(painter, QPointF(x, bracketY - 7) * unit, QPointF(x, bracketY) * unit, unit);
            Label label { load.label, 0, {}, false };
            label.top = bracketY - 7.8 - label.height();
            painter.save();
            painter.setPen(Qt::black);
            drawLabel(painter, label, load.arm >= 0 ? x - 1.5 : x + 1.5, load.arm < 0, unit);
            painter.restore();
            break;
        }
        case LoadForm::Kind::Couple:
            // No force and no arm: listed at the foot of the right-hand column.
            rightColumn.push_back({ oneLine(load), baseY + 6, {}, false });
            break;
        }
    }

    painter.setBrush(Qt::NoBrush);
    const auto drawColumn = [&](std::vector<Label> &labels, bool onLeft) {
        placeColumn(labels, bracketY + 1, baseY + kBottomBand - 1);
        const double edge = onLeft ? kPoleX - kArrow - kColumnGap : kPoleX + kArrow + kColumnGap;
        for (const Label &label : labels) {
            if (label.leader) {
                painter.setPen(QPen(kLeaderColour, 0.2 * unit));
                const double y = label.top + label.height() / 2;
                painter.drawLine(
                    QPointF(edge + (onLeft ? 0.5 : -0.5), y) * unit, label.anchor * unit);
            }
            painter.setPen(Qt::black);
            drawLabel(painter, label, edge, onLeft, unit);
        }
    };
    drawColumn(leftColumn, true);
    drawColumn(rightColumn, false);

    // The base's name under it, and the moment.
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, painter.device());
    const auto centred = [&](const QString &text, double y) {
        painter.drawText(
            QPointF(kPoleX * unit - metrics.horizontalAdvance(text) / 2, y * unit), text);
    };
    centred(scheme.base, baseY + 5.2);
    QFont bold = font;
    bold.setBold(true);
    painter.setFont(bold);
    const QFontMetricsF boldMetrics(bold, painter.device());
    painter.drawText(QPointF(kPoleX * unit - boldMetrics.horizontalAdvance(scheme.total) / 2,
                         (baseY + 9.4) * unit),
        scheme.total);
    painter.restore();
}

double schemeHeight(const SupportScheme &scheme)
{
    // Room for the taller column of labels between the bracket and the foot.
    double leftLines = 0, rightLines = 0;
    for (const SchemeLoad &load : scheme.loads) {
        const double lines = kLine + kLabelGap;
        if (load.kind == LoadForm::Kind::Horizontal && load.forceValue >= 0)
            leftLines += lines;
        else if (load.kind != LoadForm::Kind::Vertical)
            rightLines += lines;
    }
    return std::max(62.0, kTopBand + std::max(leftLines, rightLines) + kBottomBand + 4);
}

} // namespace kelsa
