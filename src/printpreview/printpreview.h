// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The print preview of a paged document. It is built as a library of its own,
// kelsa-print-preview, which the windows load the first time a report is previewed: linked to
// the program, Qt Print Support would be mapped into every start of the window (0.4 MB resident)
// for a preview most starts never open. The library holds no code of Kelsa's own; what it shows
// comes in the request.

#include <QString>

#include <functional>
#include <vector>

class QPagedPaintDevice;
class QWidget;

namespace kelsa
{

// A command added to the preview's toolbar.
struct PrintPreviewTool {
    QString objectName;
    QString text;
    std::function<void(QWidget *preview)> triggered; // the preview is the parent for dialogs
};

struct PrintPreviewRequest {
    QWidget *parent = nullptr;
    QString objectName;
    QString windowTitle;
    QString documentName; // what the printer's queue shows
    std::function<void(QPagedPaintDevice &)> setUpPage; // paper and margins, before the preview
    std::function<void(QPagedPaintDevice &)> print; // every page, for the printer as it is then
    std::vector<PrintPreviewTool> tools; // after a separator at the end of the toolbar
};

// Shows the preview and returns when it is closed.
using ShowPrintPreview = void (*)(const PrintPreviewRequest &request);

// The name under which the library exports its ShowPrintPreview.
inline constexpr char kShowPrintPreviewSymbol[] = "kelsaShowPrintPreview";

} // namespace kelsa
