// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// libxlsxwriter, loaded the first time a workbook is written rather than when Kelsa starts:
// linked to the program, it would bring libcrypto and libminizip (about 1.5 MB of resident
// memory) into every start of the window, for a table most starts never export.

#include <QString>

#include <xlsxwriter.h>

namespace kelsa
{

// The functions of libxlsxwriter that the result tables use.
#define KELSA_XLSXWRITER_FUNCTIONS(X)                                                              \
    X(workbook_new_opt)                                                                            \
    X(workbook_add_worksheet)                                                                      \
    X(workbook_add_format)                                                                         \
    X(workbook_close)                                                                              \
    X(worksheet_write_number)                                                                      \
    X(worksheet_write_string)                                                                      \
    X(worksheet_set_column)                                                                        \
    X(worksheet_freeze_panes)                                                                      \
    X(format_set_bold)                                                                             \
    X(format_set_text_wrap)                                                                        \
    X(format_set_align)                                                                            \
    X(format_set_bg_color)                                                                         \
    X(format_set_bottom)                                                                           \
    X(format_set_num_format)                                                                       \
    X(format_set_font_color)                                                                       \
    X(lxw_strerror)

struct XlsxWriterLibrary {
#define KELSA_XLSXWRITER_POINTER(name) decltype(&::name) name = nullptr;
    KELSA_XLSXWRITER_FUNCTIONS(KELSA_XLSXWRITER_POINTER)
#undef KELSA_XLSXWRITER_POINTER
    // Why the library cannot be used (not installed, a function missing); empty when it can.
    QString error;
};

// Loads lib<baseName>.so.<version> and resolves the functions above in it.
XlsxWriterLibrary loadXlsxWriterLibrary(const QString &baseName, int version);

// The library, loaded on the first call (once for the process, from any thread).
const XlsxWriterLibrary &xlsxWriterLibrary();

} // namespace kelsa
