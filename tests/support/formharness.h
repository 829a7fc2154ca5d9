// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the GUI tests of the main window share: a window whose messages and questions are
// recorded instead of shown, and a watchdog that fails the test when a real modal dialog would
// block it.

// Included the way outside projects that link kelsa_gui include it.
#include "mainwindow/form1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace kelsa::test
{

struct RecordedMessage {
    QString title;
    QString text;
};

// Closes and reports any modal dialog that appears while it lives: GUI tests must never wait
// for a click nobody makes.
class ModalWatchdog
{
public:
    ModalWatchdog()
    {
        m_timer.setInterval(50);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                ++m_unexpected;
                modal->close();
            }
        });
        m_timer.start();
    }
    int unexpected() const { return m_unexpected; }

private:
    QTimer m_timer;
    int m_unexpected = 0;
};

// A main window built with recording services. Unless told otherwise its tables are the samples
// the build stages, and the folder it remembers lives only as long as the harness.
struct FormHarness {
    explicit FormHarness(Form1Services services = {})
    {
        if (services.tablesFolder.path.isEmpty() && !services.folderMemory.recall)
            services.tablesFolder = { kelsa::installedDataFolder(), true, {} };
        if (!services.folderMemory.recall) {
            services.folderMemory.recall = [this] { return rememberedFolder; };
            services.folderMemory.remember
                = [this](const QString &folder) { rememberedFolder = folder; };
        }
        if (!services.askUnsaved)
            services.askUnsaved = [this](QWidget *, const QString &documentName) {
                questions.push_back(documentName);
                return unsavedAnswer;
            };
        services.showMessage = [this](const QString &title, const QString &text) {
            messages.push_back({ title, text });
            if (onMessage)
                onMessage();
        };
        form = std::make_unique<Form1>(std::move(services));
    }

    QLineEdit *field(const char *name) const { return find<QLineEdit>(name); }
    QLabel *label(const char *name) const { return find<QLabel>(name); }
    QRadioButton *option(const char *name) const { return find<QRadioButton>(name); }
    QWidget *widget(const char *name) const { return find<QWidget>(name); }

    template <typename T> T *find(const char *name) const
    {
        T *found = form->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no %s named %s", T::staticMetaObject.className(), name);
        return found;
    }

    void click(const char *name) const { QTest::mouseClick(widget(name), Qt::LeftButton); }
    void select(const char *name) const
    {
        QTest::mouseClick(option(name), Qt::LeftButton, {}, QPoint(6, 8));
    }

    // Shown within the window, whether or not the window itself is on screen.
    bool shown(const char *name) const { return widget(name)->isVisibleTo(form.get()); }

    std::unique_ptr<Form1> form;
    std::vector<RecordedMessage> messages;
    // Questions about unsaved work, by the document's name (empty for a calculation never
    // saved), answered with unsavedAnswer; unless the services passed in answer them.
    QStringList questions;
    UnsavedChanges unsavedAnswer = UnsavedChanges::Cancel;
    std::function<void()> onMessage; // called as each message is shown, to look at the window then
    QString rememberedFolder; // what the window remembered for the next start
};

} // namespace kelsa::test
