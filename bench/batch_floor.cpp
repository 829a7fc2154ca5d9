// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for kelsa --batch: the least a program can do with the same schedule. It reads the
// ';'-separated table with decimal commas (bench_batch_schedule --keep writes one), reads every
// cell after the support and its section as a number, computes ten weighted sums of each row's
// numbers and writes each row back with them and five empty cells, as Kelsa writes its ten
// moments, the check and "errors" and "notes": the same input and about the same output size.
// One thread, no Qt, no quotes, no encodings, no checks, the output written in place (no
// temporary file, no sync to disk). bench_batch_vs_floor times it against Kelsa.
//
//   build/bin/bench_batch_floor IN.csv OUT.csv
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int kSums = 10;
constexpr int kMostNumbers = 64;

bool readAll(const char *path, std::string &text)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return false;
    }
    text.resize(std::size_t(info.st_size));
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t got = ::read(fd, &text[done], text.size() - done);
        if (got <= 0) {
            ::close(fd);
            return false;
        }
        done += std::size_t(got);
    }
    ::close(fd);
    return true;
}

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

// A number with a decimal comma; 0 for a cell that is none.
double readCell(const char *from, const char *to)
{
    char ascii[64];
    const std::size_t size = std::min<std::size_t>(std::size_t(to - from), sizeof ascii);
    for (std::size_t k = 0; k < size; ++k)
        ascii[k] = from[k] == ',' ? '.' : from[k];
    double value = 0;
    std::from_chars(ascii, ascii + size, value);
    return value;
}

// To 15 significant digits with a decimal comma, as Kelsa writes a moment.
void appendNumber(std::string &out, double value)
{
    char text[32];
    const auto [end, error]
        = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    for (char *p = text; p < end; ++p)
        out += *p == '.' ? ',' : *p;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: bench_batch_floor IN.csv OUT.csv\n", stderr);
        return 2;
    }
    std::string input;
    if (!readAll(argv[1], input)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const int out = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }

    // Ten rows of weights, different for every sum and every column.
    double weights[kSums][kMostNumbers];
    for (int sum = 0; sum < kSums; ++sum)
        for (int k = 0; k < kMostNumbers; ++k)
            weights[sum][k] = sum < 2 ? 0.25 * (k + 1) / (sum + 1) : (sum + 1.0) / (k + 3.0);

    std::string output;
    output.reserve(std::size_t(1) << 20);
    const char *p = input.data();
    const char *const end = p + input.size();
    bool header = true;
    while (p < end) {
        const char *lineEnd = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)));
        if (!lineEnd)
            lineEnd = end;
        const char *const next = lineEnd < end ? lineEnd + 1 : end;
        if (lineEnd > p && lineEnd[-1] == '\r')
            --lineEnd;
        output.append(p, std::size_t(lineEnd - p));
        if (header) {
            output += ";Label1;Label5;Label10;Label18;Label26;Label27;Label28;Label29;Label30;"
                      "Label31;governing;supportType;utilisation;errors;notes";
            header = false;
        } else {
            double numbers[kMostNumbers];
            int count = 0;
            int cell = 0;
            for (const char *from = p; from <= lineEnd && count < kMostNumbers; ++cell) {
                const char *to = static_cast<const char *>(
                    std::memchr(from, ';', std::size_t(lineEnd - from)));
                if (!to)
                    to = lineEnd;
                if (cell >= 2) // after the support and its section
                    numbers[count++] = readCell(from, to);
                from = to + 1;
            }
            for (int sum = 0; sum < kSums; ++sum) {
                double total = 0;
                for (int k = 0; k < count; ++k)
                    total += weights[sum][k] * numbers[k];
                output += ';';
                appendNumber(output, total);
            }
            output += ";;;;;";
        }
        output += "\r\n";
        if (output.size() >= (std::size_t(1) << 20)) {
            if (!writeAll(out, output.data(), output.size()))
                return 1;
            output.clear();
        }
        p = next;
    }
    if (!writeAll(out, output.data(), output.size()) || ::close(out) != 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
