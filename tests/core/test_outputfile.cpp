// SPDX-License-Identifier: GPL-3.0-or-later
// Where an output may go and what is left when it fails: a file replaced whole or not at all,
// with its permissions; a FIFO and a character device written as streams and left as they are;
// a folder, a socket and a block device refused; an output that is an input refused by any of
// its names; the system's reason kept (a full device, the file-size limit); no temporary file
// left behind by a failed or cancelled write.
#include "core/platform/outputfile.h"
#include "support/fiforeader.h"
#include "support/filenodes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kelsa;
using namespace kelsa::test;

namespace
{

// The bytes of an output: every byte value, so that nothing is changed on the way.
QByteArray payload(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype k = 0; k < size; ++k)
        bytes[k] = char((k * 7 + k / 251) & 0xFF);
    return bytes;
}

int permissions(const QString &path)
{
    struct stat node;
    return ::stat(QFile::encodeName(path).constData(), &node) == 0 ? int(node.st_mode & 07777) : -1;
}

// Everything in a folder, hidden names included: a temporary file left behind shows here.
QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool makeDevice(const QString &path, mode_t type, unsigned major, unsigned minor)
{
    return ::mknod(QFile::encodeName(path).constData(), type | 0666, makedev(major, minor)) == 0;
}

// The way an output's name was prepared in the test's folder before the output is written.
enum class Setup {
    NewName,
    ExistingFile, // "old" with permissions 0640
    LinkToFile, // a symbolic link to an existing file
    LinkToNothing, // a symbolic link to a name in the folder that is not there yet
    Fifo,
    NullDevice, // a node of the system's null device: takes everything
    FullDevice, // a node of the system's full device: every write fails with ENOSPC
    Folder,
    Socket,
    BlockDevice,
    MissingFolder, // the name is in a folder that is not there
    UnderAFile, // the name is in a "folder" that is a file
};

struct Prepared {
    QString output; // the name given to OutputFile
    QString written; // where the bytes are read back from (empty: nowhere)
    bool skip = false; // the system does not let the test make this kind of node
};

Prepared prepare(Setup setup, const QString &folder)
{
    const QString out = folder + QStringLiteral("/out.bin");
    switch (setup) {
    case Setup::NewName:
        return { out, out };
    case Setup::ExistingFile:
        writeFile(out, "old");
        QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        return { out, out };
    case Setup::LinkToFile:
        writeFile(folder + QStringLiteral("/target.bin"), "old");
        QFile::link(QStringLiteral("target.bin"), out);
        return { out, folder + QStringLiteral("/target.bin") };
    case Setup::LinkToNothing:
        QFile::link(QStringLiteral("target.bin"), out);
        return { out, folder + QStringLiteral("/target.bin") };
    case Setup::Fifo:
        ::mkfifo(QFile::encodeName(out).constData(), 0600);
        return { out, QString() };
    case Setup::NullDevice:
        // A node of its own where the test may make one, so that a mistake can never replace
        // the system's /dev/null; where it may not, nothing can replace /dev/null either.
        return { makeDevice(out, S_IFCHR, 1, 3) ? out : QStringLiteral("/dev/null"), QString() };
    case Setup::FullDevice:
        return { makeDevice(out, S_IFCHR, 1, 7) ? out : QStringLiteral("/dev/full"), QString() };
    case Setup::Folder:
        QDir(folder).mkdir(QStringLiteral("out.bin"));
        return { out, QString() };
    case Setup::Socket:
        return { out, QString(), !makeSocket(out) };
    case Setup::BlockDevice:
        // Major 0 has no driver: even a wrong open could not reach a disk.
        return { out, QString(), !makeDevice(out, S_IFBLK, 0, 0) };
    case Setup::MissingFolder:
        return { folder + QStringLiteral("/missing/out.bin"), QString() };
    case Setup::UnderAFile:
        writeFile(folder + QStringLiteral("/plain"), "old");
        return { folder + QStringLiteral("/plain/out.bin"), QString() };
    }
    return {};
}

// Writes `bytes` in pieces of `piece` bytes (all at once for 0).
bool writeInPieces(OutputFile &file, const QByteArray &bytes, qsizetype piece)
{
    if (piece == 0)
        return file.write(bytes) == bytes.size();
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        const QByteArray part = bytes.mid(at, piece);
        if (file.write(part) != part.size())
            return false;
    }
    return true;
}

constexpr auto kSystem = OutputFailure::Kind::System;
constexpr auto kNotWritable = OutputFailure::Kind::NotWritable;
constexpr auto kNone = OutputFailure::Kind::None;

// Lowers the file-size limit (ulimit -f) for as long as it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit lowered = m_before;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_before); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_before {};
};

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(OutputTarget)
Q_DECLARE_METATYPE(OutputFailure::Kind)
Q_DECLARE_METATYPE(OutputFailure)

class TestOutputFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void targets_data();
    void targets();
    void pieces_data();
    void pieces();
    void sameAsInput_data();
    void sameAsInput();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void failureTexts_data();
    void failureTexts();
};

void TestOutputFile::initTestCase()
{
    // A new file's permissions follow from the user's mask; the file-size case needs the
    // write to fail with EFBIG rather than the signal ending the test.
    ::umask(022);
    std::signal(SIGXFSZ, SIG_IGN);
}

void TestOutputFile::targets_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<OutputTarget>("target");
    QTest::addColumn<OutputFailure::Kind>("failure");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("nodeAfter"); // what the output's name is afterwards
    QTest::addColumn<int>("mode"); // the written file's permissions, or -1

    QTest::newRow("new name") << Setup::NewName << OutputTarget::NewFile << kNone << 0 << "file"
                              << 0644;
    QTest::newRow("existing file keeps its permissions")
        << Setup::ExistingFile << OutputTarget::RegularFile << kNone << 0 << "file" << 0640;
    QTest::newRow("link to a file stays a link")
        << Setup::LinkToFile << OutputTarget::RegularFile << kNone << 0 << "link" << 0644;
    QTest::newRow("link to nothing yet stays a link")
        << Setup::LinkToNothing << OutputTarget::NewFile << kNone << 0 << "link" << 0644;
    QTest::newRow("FIFO stays a FIFO")
        << Setup::Fifo << OutputTarget::Stream << kNone << 0 << "fifo" << -1;
    QTest::newRow("null device stays a device")
        << Setup::NullDevice << OutputTarget::Stream << kNone << 0 << "char" << -1;
    QTest::newRow("full device tells ENOSPC")
        << Setup::FullDevice << OutputTarget::Stream << kSystem << ENOSPC << "char" << -1;
    QTest::newRow("folder refused")
        << Setup::Folder << OutputTarget::Folder << kNotWritable << 0 << "folder" << -1;
    QTest::newRow("socket refused")
        << Setup::Socket << OutputTarget::Socket << kNotWritable << 0 << "socket" << -1;
    QTest::newRow("block device refused")
        << Setup::BlockDevice << OutputTarget::BlockDevice << kNotWritable << 0 << "block" << -1;
    QTest::newRow("missing folder")
        << Setup::MissingFolder << OutputTarget::NewFile << kSystem << ENOENT << "none" << -1;
    QTest::newRow("a file as the folder")
        << Setup::UnderAFile << OutputTarget::Unknown << kSystem << ENOTDIR << "none" << -1;
}

void TestOutputFile::targets()
{
    QFETCH(Setup, setup);
    QFETCH(OutputTarget, target);
    QFETCH(OutputFailure::Kind, failure);
    QFETCH(int, error);
    QFETCH(QString, nodeAfter);
    QFETCH(int, mode);
    QTemporaryDir dir;
    const Prepared prepared = prepare(setup, dir.path());
    if (prepared.skip)
        QSKIP("this system does not let the test make such a node");
    const QStringList before = listing(dir.path());
    // Larger than the output's buffer, so that it reaches the system before the commit.
    const QByteArray bytes = payload(qsizetype(200) * 1024 + 3);

    std::optional<test::FifoReader> reader;
    if (setup == Setup::Fifo)
        reader.emplace(prepared.output);

    OutputFile file(prepared.output);
    const bool opened = file.open();
    QCOMPARE(file.target(), target);
    bool committed = false;
    if (opened)
        committed = writeInPieces(file, bytes, 0) && file.commit();
    const QByteArray read = reader ? reader->finish() : QByteArray();
    QCOMPARE(committed, failure == kNone);
    QCOMPARE(file.failure().kind, failure);
    QCOMPARE(file.failure().error, error);
    if (failure != kNone)
        QCOMPARE(file.errorString(), outputFailureText(file.failure()));
    if (prepared.output.startsWith(dir.path()))
        QCOMPARE(nodeKind(prepared.output), nodeAfter);
    if (setup == Setup::Fifo)
        QVERIFY(read == bytes);
    if (!prepared.written.isEmpty() && failure == kNone) {
        QVERIFY(readFile(prepared.written) == bytes);
        QCOMPARE(permissions(prepared.written), mode);
    }
    // Only what the output is written into has come, no temporary file.
    QStringList after = before;
    if (failure == kNone && setup == Setup::NewName)
        after << QStringLiteral("out.bin");
    if (failure == kNone && setup == Setup::LinkToNothing)
        after << QStringLiteral("target.bin");
    after.sort();
    QCOMPARE(listing(dir.path()), after);
}

void TestOutputFile::pieces_data()
{
    // The output gathers 64 KiB before it writes: sizes on both sides of that, in pieces that
    // fill it exactly, cross it and outgrow it.
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("piece");
    const int buffer = 64 * 1024;
    QTest::newRow("nothing") << 0 << 0;
    QTest::newRow("one byte") << 1 << 0;
    QTest::newRow("one short of the buffer") << buffer - 1 << 0;
    QTest::newRow("the buffer exactly") << buffer << 0;
    QTest::newRow("one past the buffer") << buffer + 1 << 0;
    QTest::newRow("one past in two pieces") << buffer + 1 << buffer;
    QTest::newRow("pieces that cross the buffer") << 3 * buffer + 17 << 4097;
    QTest::newRow("a piece past the buffer after a small one") << 2 * buffer << buffer + 7;
    QTest::newRow("single bytes") << buffer + 5 << 1;
}

void TestOutputFile::pieces()
{
    QFETCH(int, size);
    QFETCH(int, piece);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.bin"));
    const QByteArray bytes = payload(size);
    OutputFile file(out);
    QVERIFY(file.open());
    QVERIFY(writeInPieces(file, bytes, piece));
    QVERIFY(file.commit());
    QCOMPARE(readFile(out).size(), bytes.size());
    QVERIFY(readFile(out) == bytes);
}

void TestOutputFile::sameAsInput_data()
{
    QTest::addColumn<QString>("output"); // as named, in a folder that holds in.csv
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("refused");

    QTest::newRow("same name") << "in.csv"
                               << "in.csv" << true;
    QTest::newRow("another spelling of the path") << "sub/../in.csv"
                                                  << "./in.csv" << true;
    QTest::newRow("symbolic link") << "link.csv"
                                   << "in.csv" << true;
    QTest::newRow("input through the link") << "in.csv"
                                            << "link.csv" << true;
    QTest::newRow("hard link") << "hard.csv"
                               << "in.csv" << true;
    QTest::newRow("through a linked folder") << "linked/in.csv"
                                             << "in.csv" << true;
    QTest::newRow("a copy is another file") << "copy.csv"
                                            << "in.csv" << false;
    QTest::newRow("a new name") << "out.csv"
                                << "in.csv" << false;
}

void TestOutputFile::sameAsInput()
{
    QFETCH(QString, output);
    QFETCH(QString, input);
    QFETCH(bool, refused);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    writeFile(QStringLiteral("in.csv"), "Prolet\n50\n");
    writeFile(QStringLiteral("copy.csv"), "Prolet\n50\n");
    QDir().mkdir(QStringLiteral("sub"));
    QVERIFY(QFile::link(QStringLiteral("in.csv"), QStringLiteral("link.csv")));
    QVERIFY(::link("in.csv", "hard.csv") == 0);
    QVERIFY(QFile::link(QStringLiteral("."), QStringLiteral("linked")));
    const QStringList before = listing(dir.path());

    OutputFile file(output, { QStringLiteral("other.csv"), input });
    QCOMPARE(file.open(), !refused);
    if (refused) {
        QCOMPARE(file.failure(),
            (OutputFailure {
                OutputFailure::Kind::SameAsInput, 0, OutputTarget::RegularFile, input }));
        QCOMPARE(file.errorString(), QStringLiteral("это тот же файл, что и входной ") + input);
    } else {
        QVERIFY(file.write("results") == 7);
        QVERIFY(file.commit());
    }
    QCOMPARE(readFile(QStringLiteral("in.csv")), QByteArray("Prolet\n50\n"));
    QCOMPARE(nodeKind(QStringLiteral("link.csv")), QStringLiteral("link"));
    if (refused)
        QCOMPARE(listing(dir.path()), before);
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
}

void TestOutputFile::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<OutputFailure::Kind>("failure");
    QTest::addColumn<int>("error");

    QTest::newRow("cancelled") << "cancel" << kNone << 0;
    QTest::newRow("closed without a commit") << "close" << kNone << 0;
    QTest::newRow("destroyed without a commit") << "destroy" << kNone << 0;
    QTest::newRow("file-size limit") << "limit" << kSystem << EFBIG;
    // The temporary file has its name by then: the failed rename must take it away.
    QTest::newRow("file replaced by a folder before the commit") << "folder" << kSystem << EISDIR;
    QTest::newRow("file not writable") << "read-only file" << kSystem << EACCES;
    QTest::newRow("folder not writable") << "read-only folder" << kSystem << EACCES;
}

void TestOutputFile::failedWriteKeepsTheOldFile()
{
    QFETCH(QString, how);
    QFETCH(OutputFailure::Kind, failure);
    QFETCH(int, error);
    if (how.startsWith(QLatin1String("read-only")) && ::geteuid() == 0)
        QSKIP("the superuser writes where permissions say no");
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    writeFile(out, "old");
    if (how == QLatin1String("read-only file"))
        QFile::setPermissions(out, QFile::ReadOwner);
    if (how == QLatin1String("read-only folder"))
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QStringList before = listing(dir.path());
    const QByteArray bytes = payload(qsizetype(300) * 1024);
    {
        std::optional<FileSizeLimit> limit;
        if (how == QLatin1String("limit"))
            limit.emplace(100 * 1024);
        OutputFile file(out);
        if (file.open()) {
            const bool written = writeInPieces(file, bytes, 1000);
            QCOMPARE(written, how != QLatin1String("limit"));
            if (how == QLatin1String("cancel"))
                file.cancel();
            else if (how == QLatin1String("close"))
                file.close();
            else if (how == QLatin1String("folder")) {
                QVERIFY(QFile::remove(out));
                QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("out.csv/inside")));
            }
            if (how == QLatin1String("limit") || how == QLatin1String("folder"))
                QVERIFY(!file.commit());
            QCOMPARE(file.isOpen(), how == QLatin1String("destroy"));
        }
        QCOMPARE(file.failure().kind, failure);
        QCOMPARE(file.failure().error, error);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (how != QLatin1String("folder"))
        QCOMPARE(readFile(out), QByteArray("old"));
    QCOMPARE(listing(dir.path()), before);
}

void TestOutputFile::failureTexts_data()
{
    QTest::addColumn<OutputFailure>("failure");
    QTest::addColumn<QString>("text");
    const auto target = OutputTarget::RegularFile;
    QTest::newRow("none") << OutputFailure {} << "";
    QTest::newRow("same as input") << OutputFailure { OutputFailure::Kind::SameAsInput, 0, target,
        "s.csv" } << "это тот же файл, что и входной s.csv";
    QTest::newRow("folder") << OutputFailure { kNotWritable, 0, OutputTarget::Folder, {} }
                            << "это папка, а не файл";
    QTest::newRow("socket") << OutputFailure { kNotWritable, 0, OutputTarget::Socket, {} }
                            << "это сокет, а не файл";
    QTest::newRow("block device") << OutputFailure { kNotWritable, 0, OutputTarget::BlockDevice,
        {} } << "это блочное устройство, а не файл";
    QTest::newRow("other node") << OutputFailure { kNotWritable, 0, OutputTarget::Other, {} }
                                << "это не файл, не FIFO и не символьное устройство";
    QTest::newRow("disk full") << OutputFailure { kSystem, ENOSPC, target, {} }
                               << "на диске нет места";
    QTest::newRow("file too large")
        << OutputFailure { kSystem, EFBIG, target, {} } << "файл слишком велик";
    QTest::newRow("quota") << OutputFailure { kSystem, EDQUOT, target, {} }
                           << "превышена дисковая квота";
    QTest::newRow("permission") << OutputFailure { kSystem, EACCES, target, {} }
                                << "нет прав доступа";
    QTest::newRow("read-only file system")
        << OutputFailure { kSystem, EROFS, target, {} } << "файловая система только для чтения";
    QTest::newRow("no folder") << OutputFailure { kSystem, ENOENT, target, {} }
                               << "нет такого файла или папки";
    QTest::newRow("input/output") << OutputFailure { kSystem, EIO, target, {} }
                                  << "ошибка ввода-вывода";
}

void TestOutputFile::failureTexts()
{
    QFETCH(OutputFailure, failure);
    QFETCH(QString, text);
    QCOMPARE(outputFailureText(failure), text);
}

QTEST_GUILESS_MAIN(TestOutputFile)
#include "test_outputfile.moc"
