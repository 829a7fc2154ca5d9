// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/outputfile.h"

#include <cerrno>
#include <cstring>

namespace kelsa
{

namespace
{

QString targetText(OutputTarget target)
{
    switch (target) {
    case OutputTarget::Folder:
        return QStringLiteral("это папка, а не файл");
    case OutputTarget::Socket:
        return QStringLiteral("это сокет, а не файл");
    case OutputTarget::BlockDevice:
        return QStringLiteral("это блочное устройство, а не файл");
    case OutputTarget::Unknown:
    case OutputTarget::NewFile:
    case OutputTarget::RegularFile:
    case OutputTarget::Stream:
    case OutputTarget::StandardOutput:
    case OutputTarget::Other:
        break;
    }
    return QStringLiteral("это не файл, не FIFO и не символьное устройство");
}

} // namespace

// The system's reasons in the same Russian words on every computer, whatever its language: the
// usual ones from a table, any other by its number and as the C library words it.
QString systemErrorText(int error)
{
    struct Reason {
        int error;
        const char *text; // UTF-8
    };
    static constexpr Reason kReasons[] = {
        { ENOSPC, "на диске нет места" },
        { EFBIG, "файл слишком велик" },
#ifdef EDQUOT
        { EDQUOT, "превышена дисковая квота" },
#endif
        { EACCES, "нет прав доступа" },
        { EPERM, "операция не разрешена" },
        { EROFS, "файловая система только для чтения" },
        { ENOENT, "нет такого файла или папки" },
        { ENOTDIR, "часть пути не является папкой" },
        { EISDIR, "это папка" },
        { ENAMETOOLONG, "слишком длинное имя файла" },
        { ELOOP, "слишком много уровней символических ссылок" },
        { EIO, "ошибка ввода-вывода" },
        { EPIPE, "читающая программа закрыла канал" },
        { ENXIO, "нет такого устройства или адреса" },
        { ENODEV, "нет такого устройства" },
        { ETXTBSY, "файл занят" },
        { EBUSY, "устройство или ресурс заняты" },
        { EMFILE, "слишком много открытых файлов" },
        { ENFILE, "слишком много открытых файлов в системе" },
        { EINVAL, "недопустимый аргумент" },
        { EBADF, "файл не открыт для записи" },
    };
    for (const Reason &reason : kReasons)
        if (reason.error == error)
            return QString::fromUtf8(reason.text);
    return QStringLiteral("ошибка системы %1 (%2)")
        .arg(QString::number(error), QString::fromLocal8Bit(std::strerror(error)));
}

QString outputFailureText(const OutputFailure &failure)
{
    switch (failure.kind) {
    case OutputFailure::Kind::None:
        return {};
    case OutputFailure::Kind::SameAsInput:
        return QStringLiteral("это тот же файл, что и входной %1").arg(failure.input);
    case OutputFailure::Kind::NotWritable:
        return targetText(failure.target);
    case OutputFailure::Kind::System:
        return systemErrorText(failure.error);
    }
    return {};
}

} // namespace kelsa
