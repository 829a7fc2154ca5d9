// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/help/helpwindow.h"

#include "gui/widgets/appearance.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace kelsa
{

namespace
{

QToolButton *toolButton(const QString &text, const QString &tip, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

// The search field: Enter finds the next place, Shift+Enter the one before.
class SearchField : public QLineEdit
{
public:
    SearchField(std::function<void(bool backward)> next, QWidget *parent)
        : QLineEdit(parent)
        , m_next(std::move(next))
    {
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_next(event->modifiers() & Qt::ShiftModifier);
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    std::function<void(bool backward)> m_next;
};

} // namespace

HelpWindow::HelpWindow(const QString &pagePath, UrlOpener openUrl, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Kelsa — справка"));
    setWindowIcon(programIcon());

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Every link comes to openLink(): one within the page moves there, any other leaves Kelsa.
    m_browser->setOpenLinks(false);

    auto *back = toolButton(QStringLiteral("◀ Назад"), QStringLiteral("Назад (Alt+Влево)"), this);
    auto *forward
        = toolButton(QStringLiteral("Вперед ▶"), QStringLiteral("Вперед (Alt+Вправо)"), this);
    auto *home
        = toolButton(QStringLiteral("Содержание"), QStringLiteral("В начало страницы"), this);
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);

    m_search = new SearchField([this](bool backward) { find(m_search->text(), backward); }, this);
    m_search->setObjectName(QStringLiteral("helpSearch"));
    m_search->setPlaceholderText(QStringLiteral("Найти на странице (Ctrl+F)"));
    m_search->setClearButtonEnabled(true);
    m_search->setToolTip(QStringLiteral("Enter — следующее место, Shift+Enter — предыдущее"));
    m_notFound = new QLabel(QStringLiteral("Не найдено"), this);
    m_notFound->setObjectName(QStringLiteral("helpNotFound"));
    m_notFound->hide();

    auto *bar = new QHBoxLayout;
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addWidget(home);
    bar->addStretch(1);
    bar->addWidget(m_notFound);
    bar->addWidget(m_search, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(m_browser, 1);

    connect(back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, m_browser, &QTextBrowser::home);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::openLink);
    connect(m_search, &QLineEdit::textEdited, this, &HelpWindow::searchEdited);
    auto *findShortcut = new QShortcut(QKeySequence::Find, this);
    connect(findShortcut, &QShortcut::activated, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });

    m_browser->setSource(QUrl::fromLocalFile(pagePath));
    m_browser->setFocus(); // the keys scroll the page; Ctrl+F goes to the search field

    // Wide enough for the page's tables, never larger than the screen.
    QSize size(960, 820);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
}

bool HelpWindow::find(const QString &text, bool backward)
{
    if (text.isEmpty()) {
        QTextCursor cursor = m_browser->textCursor();
        cursor.clearSelection();
        m_browser->setTextCursor(cursor);
        showFound(true);
        return true;
    }
    const QTextDocument::FindFlags flags
        = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = m_browser->find(text, flags);
    if (!found) {
        // Round the end of the page to its other end.
        QTextCursor cursor = m_browser->textCursor();
        cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        m_browser->setTextCursor(cursor);
        found = m_browser->find(text, flags);
    }
    showFound(found);
    return found;
}

// As the text grows the place found stays, and grows with it, while it still matches.
void HelpWindow::searchEdited(const QString &text)
{
    QTextCursor cursor = m_browser->textCursor();
    cursor.setPosition(cursor.selectionStart());
    m_browser->setTextCursor(cursor);
    find(text);
}

void HelpWindow::showFound(bool found)
{
    m_notFound->setVisible(!found);
    QPalette palette = m_search->palette();
    palette.setColor(QPalette::Base,
        found ? QGuiApplication::palette().color(QPalette::Base) : QColor(255, 220, 220));
    m_search->setPalette(palette);
}

void HelpWindow::openLink(const QUrl &url)
{
    const QUrl page = m_browser->source();
    const QUrl target = page.resolved(url);
    if (target.adjusted(QUrl::RemoveFragment) == page.adjusted(QUrl::RemoveFragment))
        m_browser->setSource(target);
    else
        m_openUrl(target);
}

} // namespace kelsa
