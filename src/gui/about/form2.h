// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/widgets/services.h"

#include <QWidget>

class QLabel;

namespace kelsa
{

// What the About window needs from outside; members left empty take the real thing.
struct Form2Services {
    FileLocator files;
    UrlOpener openUrl; // default: QDesktopServices::openUrl
};

// The web site and the contact address shown and opened by the About window. They are set
// when Kelsa is built (KELSA_HOMEPAGE, KELSA_CONTACT_EMAIL).
QString homepageAddress();
QString contactAddress();

// The version of the program, "1.0.0".
QString programVersion();

// The address as the About window shows it: two backslashes in place of the two slashes after
// the scheme ("https:\\kelsa.example.org/").
QString shownWebAddress(const QString &address);

} // namespace kelsa

// The About window: the program's picture, the author credit, the web-site and e-mail links, and
// the help page. Links and help open in the programs the desktop associates with them; when
// there is none, or the help page is missing, a click simply has no effect.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(QWidget *parent = nullptr);
    explicit Form2(kelsa::Form2Services services, QWidget *parent = nullptr);

    void Command1_Click(); // "Помощь": the help page
    void Command2_Click(); // "OK"
    void Label2_Click(); // the web site
    void Label3_Click(); // a new mail to the shown address

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    kelsa::Form2Services m_services;
    QLabel *m_web = nullptr;
    QLabel *m_mail = nullptr;
};
