// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/widgets/services.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QUrl;

namespace kelsa
{

// The help page in a window of Kelsa's own («Справка → Помощь», F1): the page in a text
// browser (helpBrowser) whose links within the page move to their place, with back, forward
// and contents buttons, and a search field (helpSearch) that selects the text as it is typed;
// Enter finds the next place, Shift+Enter the one before, going round the end of the page. A
// link out of the page (the web, mail) goes to the program the desktop opens it with.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    HelpWindow(const QString &pagePath, UrlOpener openUrl, QWidget *parent = nullptr);

    // Selects the next place of `text` after the selection (before it when `backward`), from
    // the other end of the page when there is none left; false when the page holds none.
    // The search ignores letter case.
    bool find(const QString &text, bool backward = false);

private:
    void openLink(const QUrl &url);
    void searchEdited(const QString &text);
    void showFound(bool found);

    UrlOpener m_openUrl;
    QTextBrowser *m_browser = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_notFound = nullptr;
};

} // namespace kelsa
