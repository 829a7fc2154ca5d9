// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the outline of Kelsa's main window as start-up shows it, so that
// bench_startup_vs_plain can build the same controls with Qt alone and tell what of Kelsa's
// start-up is Qt's price of those controls and what is Kelsa's own:
//
//   bench_window_outline OUTLINE.txt      (in the folder of the sample workbooks)
//
// One line per thing, fields separated by tabs (texts escaped by escapeField()):
//   T  width height title font palette                    the window
//   M  depth title                                          a menu (depth 0: of the menu bar)
//   A  depth text shortcut flags                            an action of the menu above it
//   S  depth                                                a separator
//   W  depth class name x y w h flags alignment frame font palette text toolTip items
// A W line's depth counts from the window's own children (0). Its class is the nearest
// standard Qt class a plain program can make (a control that paints itself is given its base:
// a button that draws arrows is a QPushButton). flags: c checked, r read-only, d disabled,
// h hidden, f fills its background, w word wrap, t plain text, x fixed size, n no frame,
// p permanent and s stretched (of the status bar). font: family|points|bold, or "-";
// palette: the colours of six roles as #aarrggbb, or "-" where the control keeps its parent's.
// Only what the window made is written: the insides of line edits, combo boxes, scroll areas
// and the status bar's size grip are Qt's, and a plain program gets them by making the control.
#include "gui/mainwindow/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTextStream>

#include <cstdio>

namespace
{

QString escapeField(QString text)
{
    return text.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\t'), QLatin1String("\\t"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

QString fontField(const QWidget *widget)
{
    if (!widget->testAttribute(Qt::WA_SetFont))
        return QStringLiteral("-");
    const QFont font = widget->font();
    return QStringLiteral("%1|%2|%3")
        .arg(font.family())
        .arg(font.pointSizeF())
        .arg(font.bold() ? 1 : 0);
}

QString paletteField(const QWidget *widget)
{
    if (!widget->testAttribute(Qt::WA_SetPalette))
        return QStringLiteral("-");
    QStringList colours;
    for (const QPalette::ColorRole role : { QPalette::Window, QPalette::WindowText, QPalette::Base,
             QPalette::Text, QPalette::Button, QPalette::ButtonText })
        colours << widget->palette().color(role).name(QColor::HexArgb);
    return colours.join(QLatin1Char(','));
}

// The class a plain program makes for a control of the window.
QString standardClass(const QWidget *widget)
{
    if (qobject_cast<const QRadioButton *>(widget))
        return QStringLiteral("QRadioButton");
    if (qobject_cast<const QAbstractButton *>(widget))
        return QStringLiteral("QPushButton");
    for (const char *name : { "QLineEdit", "QLabel", "QGroupBox", "QComboBox", "QScrollArea",
             "QStatusBar", "QMenuBar" })
        if (widget->inherits(name))
            return QLatin1String(name);
    return QStringLiteral("QWidget");
}

class OutlineWriter
{
public:
    explicit OutlineWriter(QTextStream &out)
        : m_out(out)
    {
    }

    void window(const QWidget &form)
    {
        m_out << "T\t" << form.width() << '\t' << form.height() << '\t'
              << escapeField(form.windowTitle()) << '\t' << fontField(&form) << '\t'
              << paletteField(&form) << '\n';
        children(form, 0);
    }

private:
    void children(const QWidget &parent, int depth)
    {
        for (QObject *child : parent.children()) {
            auto *widget = qobject_cast<QWidget *>(child);
            if (!widget || widget->isWindow() || widget->inherits("QSizeGrip"))
                continue;
            control(*widget, depth);
        }
    }

    void control(const QWidget &widget, int depth)
    {
        const QString kind = standardClass(&widget);
        QString flags;
        QString text;
        QString items;
        int alignment = 0;
        int frame = 0;
        if (const auto *button = qobject_cast<const QAbstractButton *>(&widget)) {
            text = button->text();
            if (button->isChecked())
                flags += QLatin1Char('c');
        } else if (const auto *edit = qobject_cast<const QLineEdit *>(&widget)) {
            text = edit->text();
            alignment = int(edit->alignment());
            if (edit->isReadOnly())
                flags += QLatin1Char('r');
        } else if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
            text = label->text();
            alignment = int(label->alignment());
            frame = label->frameStyle();
            if (label->wordWrap())
                flags += QLatin1Char('w');
            if (label->textFormat() == Qt::PlainText)
                flags += QLatin1Char('t');
        } else if (const auto *box = qobject_cast<const QGroupBox *>(&widget)) {
            text = box->title();
        } else if (const auto *combo = qobject_cast<const QComboBox *>(&widget)) {
            QStringList texts;
            for (int k = 0; k < combo->count(); ++k)
                texts << combo->itemText(k);
            items = texts.join(QChar(0x1f));
        } else if (const auto *area = qobject_cast<const QScrollArea *>(&widget)) {
            if (area->frameShape() == QFrame::NoFrame)
                flags += QLatin1Char('n');
        }
        if (!widget.isEnabled())
            flags += QLatin1Char('d');
        if (widget.isHidden())
            flags += QLatin1Char('h');
        if (widget.autoFillBackground())
            flags += QLatin1Char('f');
        if (widget.minimumSize() == widget.maximumSize())
            flags += QLatin1Char('x');
        if (const auto *bar = qobject_cast<const QStatusBar *>(widget.parentWidget())) {
            if (qobject_cast<const QComboBox *>(&widget))
                flags += QLatin1Char('p');
            else if (widget.geometry().right() > bar->width() / 2)
                flags += QLatin1Char('s');
        }
        const QRect place = widget.geometry();
        m_out << "W\t" << depth << '\t' << kind << '\t' << widget.objectName() << '\t' << place.x()
              << '\t' << place.y() << '\t' << place.width() << '\t' << place.height() << '\t'
              << (flags.isEmpty() ? QStringLiteral("-") : flags) << '\t' << alignment << '\t'
              << frame << '\t' << fontField(&widget) << '\t' << paletteField(&widget) << '\t'
              << escapeField(text) << '\t' << escapeField(widget.toolTip()) << '\t'
              << escapeField(items) << '\n';
        if (const auto *bar = qobject_cast<const QMenuBar *>(&widget)) {
            for (QAction *action : bar->actions())
                if (action->menu())
                    menu(*action->menu(), 0);
            return;
        }
        if (const auto *area = qobject_cast<const QScrollArea *>(&widget)) {
            if (area->widget())
                control(*area->widget(), depth + 1);
            return;
        }
        if (kind == QLatin1String("QLineEdit") || kind == QLatin1String("QComboBox"))
            return;
        children(widget, depth + 1);
    }

    void menu(const QMenu &menu, int depth)
    {
        m_out << "M\t" << depth << '\t' << escapeField(menu.title()) << '\n';
        for (QAction *action : menu.actions()) {
            if (action->isSeparator())
                m_out << "S\t" << depth << '\n';
            else if (action->menu())
                this->menu(*action->menu(), depth + 1);
            else
                m_out << "A\t" << depth << '\t' << escapeField(action->text()) << '\t'
                      << action->shortcut().toString() << '\t'
                      << (action->isCheckable() ? (action->isChecked() ? "kc" : "k") : "-") << '\n';
        }
    }

    QTextStream &m_out;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_window_outline OUTLINE.txt\n");
        return 2;
    }
    QApplication app(argc, argv);
    kelsa::Form1Services services;
    services.showMessage = [](const QString &title, const QString &text) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    };
    Form1 form(services);
    // As kelsa --screenshot shows it: shown as far as the window can tell, never on a screen.
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    QTextStream out(&file);
    OutlineWriter(out).window(form);
    out.flush();
    return file.error() == QFile::NoError ? 0 : 1;
}
