// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/about/form2.h"

#include "gui/widgets/appearance.h"
#include "gui/widgets/cursorfile.h"
#include "gui/widgets/framebox.h"
#include "gui/widgets/wrapbutton.h"

#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>

#include <utility>

using namespace kelsa;

namespace kelsa
{

QString homepageAddress()
{
    return QStringLiteral(KELSA_HOMEPAGE);
}

QString contactAddress()
{
    return QStringLiteral(KELSA_CONTACT_EMAIL);
}

QString programVersion()
{
    return QStringLiteral(KELSA_VERSION);
}

QString shownWebAddress(const QString &address)
{
    QString shown = address;
    const int scheme = shown.indexOf(QLatin1String("://"));
    if (scheme > 0)
        shown.replace(scheme + 1, 2, QStringLiteral("\\\\"));
    return shown;
}

} // namespace kelsa

namespace
{

QWidget *separator(const char *name, int x1, int x2, int y, QWidget *parent)
{
    auto *line = new QWidget(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(px(x1), px(y), px(x2 - x1), 1);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    return line;
}

QFont italicFont(qreal points, bool bold)
{
    QFont font = uiFont(bold);
    font.setPointSizeF(points);
    font.setItalic(true);
    return font;
}

// A link label keeps its place but grows to show its whole address, which is set at build time
// and may be longer than the space the window was drawn with. centreX < 0 keeps the left edge.
void fitLink(QLabel *label, int maxRight, int centreX = -1)
{
    const int width = label->fontMetrics().horizontalAdvance(label->text()) + 4;
    QRect r = label->geometry();
    if (width <= r.width())
        return;
    r.setWidth(width);
    if (centreX >= 0)
        r.moveLeft(centreX - width / 2);
    if (r.right() > maxRight)
        r.moveRight(maxRight);
    r.setLeft(qMax(r.left(), 2));
    label->setGeometry(r);
}

} // namespace

Form2::Form2(QWidget *parent)
    : Form2(Form2Services {}, parent)
{
}

Form2::Form2(Form2Services services, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_services(std::move(services))
{
    if (!m_services.openUrl)
        m_services.openUrl = desktopUrlOpener();

    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    setWindowIcon(programIcon());
    setFont(uiFont());
    resize(px(4425), px(2865));
    // The version is told where it disturbs none of the window's own texts: hovering anywhere in
    // the window shows it.
    setToolTip(QStringLiteral("Kelsa, версия %1").arg(programVersion()));

    auto *frame = new FrameBox(QString(), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(px(120), px(0), px(4215), px(1935));
    QPalette grey = frame->palette();
    grey.setColor(QPalette::Window, panelGrey);
    frame->setPalette(grey);
    frame->setAutoFillBackground(true);

    auto *picture = new QLabel(frame);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setGeometry(px(120), px(240), px(615), px(615));
    picture->setPixmap(programIcon().pixmap(32, 32));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *author = new QLabel(QStringLiteral("автор: команда Kelsa"), frame);
    author->setObjectName(QStringLiteral("Label1"));
    author->setGeometry(px(1080), px(240), px(2895), px(495));
    author->setFont(italicFont(9.75, true));
    author->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    author->setWordWrap(true);

    separator("Line1", 120, 4080, 960, frame);

    m_web = new QLabel(shownWebAddress(homepageAddress()), frame);
    m_web->setObjectName(QStringLiteral("Label2"));
    m_web->setGeometry(px(1080), px(1080), px(2055), px(255));
    m_web->setFont(italicFont(8.25, false));
    fitLink(m_web, frame->width() - 4);

    separator("Line2", 840, 3240, 1440, frame);

    m_mail = new QLabel(contactAddress(), frame);
    m_mail->setObjectName(QStringLiteral("Label3"));
    m_mail->setGeometry(px(1560), px(1560), px(1095), px(255));
    m_mail->setFont(italicFont(8.25, false));
    fitLink(m_mail, frame->width() - 4, px(1560 + 1095 / 2));

    auto *help = new WrapButton(QStringLiteral("Помощь"), this);
    help->setObjectName(QStringLiteral("Command1"));
    help->setGeometry(px(2760), px(2160), px(1455), px(495));
    help->setFont(uiFont(true));
    auto *ok = new WrapButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command2"));
    ok->setGeometry(px(120), px(2160), px(1455), px(495));
    ok->setFont(uiFont(true));
    setTabOrder(help, ok);

    connect(help, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(ok, &QPushButton::clicked, this, &Form2::Command2_Click);
    m_web->installEventFilter(this);
    m_mail->installEventFilter(this);

    // The link labels point with the program's hand, as the look-up fields do.
    const QCursor hand = lookupCursor(m_services.files.locate(QStringLiteral("32761.CUR")));
    m_web->setCursor(hand);
    m_mail->setCursor(hand);
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_web)
            Label2_Click();
        else if (watched == m_mail)
            Label3_Click();
    }
    return QWidget::eventFilter(watched, event);
}

void Form2::Command1_Click()
{
    // Nothing to open when the help page is neither beside the program nor installed.
    const QString path = m_services.files.locate(QStringLiteral("help.htm"));
    if (QFileInfo(path).isFile())
        m_services.openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void Form2::Command2_Click()
{
    close();
}

void Form2::Label2_Click()
{
    m_services.openUrl(QUrl(homepageAddress()));
}

void Form2::Label3_Click()
{
    // The address is taken from the label, so the mail goes where the window says it goes.
    m_services.openUrl(
        QUrl(QStringLiteral("mailto:") + m_mail->text() + QStringLiteral("?Subject=")));
}
