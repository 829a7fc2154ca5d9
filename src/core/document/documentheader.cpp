// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/documentheader.h"

#include <QJsonValue>

#include <cmath>

namespace kelsa
{

QString documentHeaderProblem(
    const QJsonObject &root, const char *formatName, const QString &kindOfFile, int readsVersion)
{
    const QString format = QLatin1String(formatName);
    if (root.value(QLatin1String("format")).toString() != format)
        return QStringLiteral("это не %1 Kelsa (нет \"format\": \"%2\")").arg(kindOfFile, format);
    const QJsonValue version = root.value(QLatin1String("version"));
    const double number = version.toDouble(0);
    if (!version.isDouble() || number != std::floor(number) || number < 1)
        return QStringLiteral("\"version\": версия формата должна быть целым числом от 1");
    if (number > readsVersion)
        return QStringLiteral("файл записан более новой версией Kelsa (версия формата %1, "
                              "эта программа читает версию %2)")
            .arg(number)
            .arg(readsVersion);
    return {};
}

std::variant<QChar, QString> documentSeparator(const QJsonObject &root)
{
    const QString text = root.value(QLatin1String("decimalSeparator")).toString();
    if (text != QLatin1String(",") && text != QLatin1String("."))
        return QStringLiteral("\"decimalSeparator\" должен быть \",\" или \".\"");
    return text.front();
}

} // namespace kelsa
