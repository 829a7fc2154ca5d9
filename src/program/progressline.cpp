// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/progressline.h"

#include <algorithm>
#include <utility>

namespace kelsa
{

ProgressLine::ProgressLine(QString inputName, qint64 inputBytes, bool terminal)
    : m_inputName(std::move(inputName))
    , m_inputBytes(inputBytes)
    , m_terminal(terminal)
{
}

std::optional<ProgressPrint> ProgressLine::update(qint64 rows, qint64 bytesRead, qint64 elapsedMs)
{
    // The share of the input read stands for the share of the work done: rows cost about the
    // same, and the size of the input is known before the first row while its rows are not.
    const qint64 read = std::clamp(bytesRead, qint64(0), std::max(m_inputBytes, qint64(0)));
    const int percent = m_inputBytes > 0 ? int(100 * read / m_inputBytes) : 100;
    if (!m_terminal) {
        if (percent / 10 <= m_tenthsPrinted)
            return std::nullopt;
        m_tenthsPrinted = percent / 10;
    }
    QString text = QStringLiteral("kelsa: %1: строк: %2, %3 %")
                       .arg(m_inputName, QString::number(rows), QString::number(percent));
    if (read > 0 && read < m_inputBytes && elapsedMs > 0)
        text += QStringLiteral(", осталось ")
            + timeLeftText(elapsedMs * (m_inputBytes - read) / read);
    if (!m_terminal)
        return ProgressPrint { text, false };
    const qsizetype length = text.size();
    if (length < m_shownLength)
        text += QString(m_shownLength - length, QLatin1Char(' '));
    m_shownLength = length;
    return ProgressPrint { text, true };
}

QString timeLeftText(qint64 ms)
{
    if (ms < 1000)
        return QStringLiteral("меньше секунды");
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return QStringLiteral("около %1 с").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("около %1 мин %2 с")
            .arg(QString::number(seconds / 60),
                QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0')));
    const qint64 minutes = (seconds + 59) / 60;
    return QStringLiteral("около %1 ч %2 мин")
        .arg(QString::number(minutes / 60),
            QStringLiteral("%1").arg(minutes % 60, 2, 10, QLatin1Char('0')));
}

} // namespace kelsa
