// SPDX-License-Identifier: GPL-3.0-or-later
// kelsa-sheet-reader: parses reference workbooks for Kelsa in a process of its own, so that a
// damaged file that makes FreeXL or liborcus crash, loop or ask for gigabytes costs the
// program nothing but that table, and so that the program itself never maps either library.
// workbookreader.cpp starts it and reads what it writes:
//
//   kelsa-sheet-reader BUDGET COLUMNS ROWS [KIND PATH SHEET HEADING]...
//
// BUDGET is how many bytes its address space may grow by, COLUMNS and ROWS the limits of each
// sheet's dump, and each workbook is a KIND ("xls" for Excel 97-2003, "open" for .xlsx and
// .ods, told apart by the path's extension), a PATH and the SHEET's name in UTF-8. The dumps
// (core/tables/sheetdump.h) follow one another on the standard output, in the order of the
// workbooks. A command line it cannot take ends it with status 2 before anything is written.
//
// The C++ library, FreeXL and liborcus only: no Qt.
#include "core/platform/addressspace.h"
#include "core/tables/opendocumentdump.h"
#include "core/tables/sheetdump.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <string_view>

#include <unistd.h>

namespace
{

bool writeAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

template <typename Number> bool parse(std::string_view text, Number &number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

int main(int argc, char *argv[])
{
    std::uint64_t budget = 0;
    int columns = 0;
    unsigned rows = 0;
    if (argc < 4 || (argc - 4) % 4 != 0 || !parse(argv[1], budget) || !parse(argv[2], columns)
        || !parse(argv[3], rows) || columns < 0)
        return 2;
    for (int i = 4; i < argc; i += 4)
        if ((std::string_view(argv[i]) != "xls" && std::string_view(argv[i]) != "open")
            || (std::string_view(argv[i + 3]) != "heading"
                && std::string_view(argv[i + 3]) != "body"))
            return 2;
    kelsa::limitAddressSpace(budget);
    // Kelsa stopping to listen makes the next write fail instead of killing this process.
    std::signal(SIGPIPE, SIG_IGN);
    int code = 0;
    try {
        for (int i = 4; i < argc; i += 4)
            (std::string_view(argv[i]) == "xls" ? kelsa::dumpSheet : kelsa::dumpOpenDocumentSheet)(
                argv[i + 1], argv[i + 2], columns, rows, writeAll,
                std::string_view(argv[i + 3]) == "heading");
    } catch (...) { // memory running out, past the budget
        code = 1;
    }
    ::_exit(code); // no exit handlers: nothing is left to tidy up but the process itself
}
