// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/documentheader.h"

#include "core/document/jsonsyntax.h"

#include <QByteArrayView>
#include <QJsonDocument>

#include <QJsonValue>

#include <cmath>

namespace kelsa
{

std::variant<QJsonObject, QString> documentObject(const QByteArray &json,
    const QString &notThisKind, const QString &kindOfFile, const QString &damaged)
{
    qsizetype first = json.startsWith("\xEF\xBB\xBF") ? 3 : 0; // after a byte-order mark
    while (first < json.size() && QByteArrayView(" \t\r\n").contains(json[first]))
        ++first;
    if (first == json.size())
        return QStringLiteral("файл пуст");
    if (json[first] != '{')
        return QStringLiteral("%1 (%2 начинается с «{»)").arg(notThisKind, kindOfFile);
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("%1 %2").arg(damaged, jsonErrorPlace(json, error));
    if (!document.isObject())
        return notThisKind;
    return document.object();
}

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
