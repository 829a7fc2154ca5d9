// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstring>

namespace kelsa
{

namespace
{

struct OwnText {
    const char *context;
    const char *source;
    const char *russian; // UTF-8
};

// Texts of Qt 6 that qtbase_ru leaves in English or words wrongly, by Qt's context and source
// text; a disambiguation does not matter for these.
constexpr OwnText kOwnTexts[] = {
    // The type column of a file dialog's detailed view.
    { "QAbstractFileIconProvider", "Folder", "Папка" },
    { "QAbstractFileIconProvider", "Drive", "Диск" },
    { "QAbstractFileIconProvider", "File", "Файл" },
    { "QAbstractFileIconProvider", "Shortcut", "Ссылка" },
    { "QAbstractFileIconProvider", "Unknown", "Неизвестно" },
    // The catalogue calls two pages side by side «титульные страницы».
    { "QPrintPreviewDialog", "Show facing pages", "Показать развороты" },
    // «Отклонить» reads as refusing the question; the button leaves the work unsaved.
    { "QPlatformTheme", "Discard", "Не сохранять" },
};

// Kelsa's own texts, asked before Qt's catalogue (the translator installed last is asked first).
class OwnTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (!context || !sourceText)
            return {};
        for (const OwnText &text : kOwnTexts)
            if (std::strcmp(context, text.context) == 0
                && std::strcmp(sourceText, text.source) == 0)
                return QString::fromUtf8(text.russian);
        return {};
    }

    bool isEmpty() const override { return false; }
};

} // namespace

bool installRussianTranslations(QCoreApplication &app)
{
    // Loaded by its file name, not by the system's language: a computer set to English gets
    // the Russian texts too. The catalogue is mapped, not read, so this costs well under a
    // millisecond of start-up.
    auto *qt = new QTranslator(&app);
    const bool found
        = qt->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || qt->load(QStringLiteral("qtbase_ru"),
            QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
    if (found)
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    QCoreApplication::installTranslator(new OwnTexts(&app));
    return found;
}

} // namespace kelsa
