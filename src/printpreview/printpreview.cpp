// SPDX-License-Identifier: GPL-3.0-or-later
#include "printpreview/printpreview.h"

#include <QAction>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

#include <algorithm>

namespace
{

void showPrintPreview(const kelsa::PrintPreviewRequest &request)
{
    QPrinter printer(QPrinter::HighResolution);
    if (request.setUpPage)
        request.setUpPage(printer);
    printer.setDocName(request.documentName);
    QPrintPreviewDialog dialog(&printer, request.parent);
    dialog.setObjectName(request.objectName);
    dialog.setWindowTitle(request.windowTitle);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [&request](QPrinter *target) { request.print(*target); });

    QSize size(900, 1000);
    if (auto *toolbar = dialog.findChild<QToolBar *>()) {
        if (!request.tools.empty())
            toolbar->addSeparator();
        for (const kelsa::PrintPreviewTool &tool : request.tools) {
            QAction *action = toolbar->addAction(tool.text);
            action->setObjectName(tool.objectName);
            QObject::connect(action, &QAction::triggered, &dialog,
                [&tool, &dialog] { tool.triggered(&dialog); });
        }
        // Wide enough for every tool, so that none hides behind the toolbar's overflow arrow.
        size.setWidth(std::max(size.width(), toolbar->sizeHint().width() + 32));
    }
    const QScreen *screen
        = request.parent ? request.parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size());
    dialog.resize(size);
    dialog.exec();
}

} // namespace

extern "C" Q_DECL_EXPORT void kelsaShowPrintPreview(const kelsa::PrintPreviewRequest &request)
{
    showPrintPreview(request);
}
