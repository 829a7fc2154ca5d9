// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The members every Kelsa JSON document opens with: "format", "version" and
// "decimalSeparator", checked alike for a calculation and a schedule.

#include <QByteArray>
#include <QChar>
#include <QJsonObject>
#include <QString>

#include <variant>

namespace kelsa
{

// The JSON object a Kelsa document is, or why the text is none: an empty file; text that does
// not even start as an object, which is some other file («`notThisKind` (`kindOfFile`
// начинается с «{»)»); text that does and breaks off later, a damaged document («`damaged`»
// and the place); JSON that is not an object («`notThisKind`»). A byte-order mark is skipped.
std::variant<QJsonObject, QString> documentObject(const QByteArray &json,
    const QString &notThisKind, const QString &kindOfFile, const QString &damaged);

// What is wrong with `root`'s "format" and "version", or the empty text: the format must be
// `formatName` ("kelsa-calculation"), the version a whole number from 1 up to `readsVersion`.
// `kindOfFile` names the document in the refusal («файл расчета», «ведомость опор»).
QString documentHeaderProblem(
    const QJsonObject &root, const char *formatName, const QString &kindOfFile, int readsVersion);

// The "decimalSeparator" of `root`, ',' or '.', or what is wrong with it.
std::variant<QChar, QString> documentSeparator(const QJsonObject &root);

} // namespace kelsa
