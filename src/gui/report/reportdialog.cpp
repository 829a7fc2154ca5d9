// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/report/reportdialog.h"

#include "gui/report/reportdocument.h"
#include "gui/widgets/services.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

#include <algorithm>

namespace kelsa
{

namespace
{

void savePdf(QWidget *parent, const ReportInput &input)
{
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить отчет в PDF"),
        QDir::home().filePath(QStringLiteral("отчет.pdf")), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    const QString problem = writeReportPdf(input, path);
    if (problem.isEmpty())
        return;
    // The program's message box, which shows the file's name as plain text.
    messageBoxSink(parent)(QStringLiteral("Kelsa"),
        QStringLiteral("Отчет не сохранен в файл %1: %2")
            .arg(QDir::toNativeSeparators(path), problem));
}

} // namespace

void showReportPreview(QWidget *parent, const ReportInput &input)
{
    QPrinter printer(QPrinter::HighResolution);
    setReportPage(printer);
    printer.setDocName(QStringLiteral("Расчет изгибающих моментов опоры"));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("ReportPreview"));
    dialog.setWindowTitle(QStringLiteral("Отчет о расчете"));
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&input](QPrinter *target) {
            // Laid out afresh for the printer as it is now: the preview's page setup may have
            // changed it.
            PrintedReport(input, *target).print(*target);
        });

    QSize size(900, 1000);
    if (auto *toolbar = dialog.findChild<QToolBar *>()) {
        toolbar->addSeparator();
        QAction *save = toolbar->addAction(QStringLiteral("Сохранить PDF…"));
        save->setObjectName(QStringLiteral("saveReportPdf"));
        QObject::connect(save, &QAction::triggered, &dialog, [&] { savePdf(&dialog, input); });
        QAction *copy = toolbar->addAction(QStringLiteral("Копировать текст"));
        copy->setObjectName(QStringLiteral("copyReportText"));
        QObject::connect(copy, &QAction::triggered, &dialog,
            [&] { QGuiApplication::clipboard()->setText(reportPlainText(input)); });
        // Wide enough for every tool, so that none hides behind the toolbar's overflow arrow.
        size.setWidth(std::max(size.width(), toolbar->sizeHint().width() + 32));
    }
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    dialog.resize(size);
    dialog.exec();
}

} // namespace kelsa
