// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading a written PDF back with poppler's command-line tools, as a reader of the report would.

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

namespace kelsa::test
{

// Runs a poppler tool; its standard output, or a failed check naming what it wrote.
inline QString runPoppler(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        QTest::qFail(qPrintable(tool + QStringLiteral(" is not installed")), __FILE__, __LINE__);
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0
        || !errors.isEmpty())
        QTest::qFail(qPrintable(tool + QStringLiteral(" failed: ") + errors), __FILE__, __LINE__);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of a PDF file, page after page.
inline QString pdfText(const QString &path)
{
    return runPoppler(QStringLiteral("pdftotext"), { path, QStringLiteral("-") });
}

} // namespace kelsa::test
