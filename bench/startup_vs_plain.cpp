// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of Kelsa against a plain Qt Widgets window, both as whole processes: the wall time
// and the peak resident memory of `kelsa --screenshot FILE.png` with the ten sample workbooks,
// and of a plain window of the same size that shows a picture of Kelsa's main window and saves
// its screenshot the same way (so both encode the same PNG).
//
//   bench_startup_vs_plain [runs] [--program KELSA]...
//
// runs each program `runs` times (default 31), taking turns; --program starts another build of
// Kelsa in place of the one beside this program, and given more than once, each build in turn,
// to compare builds against the same floor under the same load.
// Reported: wall time, processor time (user and system, the process and its children: the
// figure that other work on a shared machine disturbs least) and peak resident memory.
//
// The plain window is this program started with --plain PICTURE OUT.png. Both run on the
// offscreen platform in the folder of the staged data, as ./run --screenshot starts Kelsa.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{

// The baseline: a window that shows the picture and saves its grab as kelsa --screenshot does,
// shown without going on a screen.
int plainWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QPixmap picture(QString::fromLocal8Bit(argv[2]));
    QLabel window;
    window.setPixmap(picture);
    window.resize(picture.size());
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return window.grab().save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}

QString unescapeField(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] != QLatin1Char('\\') || k + 1 == text.size()) {
            out += text[k];
            continue;
        }
        const QChar next = text[++k];
        out += next == QLatin1Char('n') ? QChar(QLatin1Char('\n'))
            : next == QLatin1Char('t')  ? QChar(QLatin1Char('\t'))
                                        : next;
    }
    return out;
}

void applyFont(QWidget &widget, const QString &field)
{
    if (field == QLatin1String("-"))
        return;
    const QStringList parts = field.split(QLatin1Char('|'));
    QFont font(parts.value(0));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(parts.value(1).toDouble());
    font.setBold(parts.value(2) == QLatin1String("1"));
    widget.setFont(font);
}

void applyPalette(QWidget &widget, const QString &field)
{
    if (field == QLatin1String("-"))
        return;
    const QStringList colours = field.split(QLatin1Char(','));
    QPalette palette = widget.palette();
    const QPalette::ColorRole roles[] = { QPalette::Window, QPalette::WindowText, QPalette::Base,
        QPalette::Text, QPalette::Button, QPalette::ButtonText };
    for (int k = 0; k < 6 && k < colours.size(); ++k)
        palette.setColor(roles[k], QColor::fromString(colours[k]));
    widget.setPalette(palette);
}

// Makes one control of the outline (see window_outline.cpp) with its standard Qt class.
QWidget *makeControl(const QStringList &f, QWidget *parent)
{
    const QString kind = f[2];
    const QString flags = f[8];
    const QString text = unescapeField(f[13]);
    const auto alignment = Qt::Alignment(f[9].toInt());
    QWidget *widget = nullptr;
    if (kind == QLatin1String("QLineEdit")) {
        auto *edit = new QLineEdit(text, parent);
        edit->setReadOnly(flags.contains(QLatin1Char('r')));
        edit->setAlignment(alignment);
        widget = edit;
    } else if (kind == QLatin1String("QLabel")) {
        auto *label = new QLabel(parent);
        if (flags.contains(QLatin1Char('t')))
            label->setTextFormat(Qt::PlainText);
        label->setText(text);
        label->setAlignment(alignment);
        label->setFrameStyle(f[10].toInt());
        label->setWordWrap(flags.contains(QLatin1Char('w')));
        widget = label;
    } else if (kind == QLatin1String("QPushButton")) {
        widget = new QPushButton(text, parent);
    } else if (kind == QLatin1String("QRadioButton")) {
        auto *option = new QRadioButton(text, parent);
        option->setChecked(flags.contains(QLatin1Char('c')));
        widget = option;
    } else if (kind == QLatin1String("QGroupBox")) {
        widget = new QGroupBox(text, parent);
    } else if (kind == QLatin1String("QComboBox")) {
        auto *combo = new QComboBox(parent);
        combo->addItems(unescapeField(f[15]).split(QChar(0x1f)));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
        widget = combo;
    } else if (kind == QLatin1String("QScrollArea")) {
        auto *area = new QScrollArea(parent);
        if (flags.contains(QLatin1Char('n')))
            area->setFrameShape(QFrame::NoFrame);
        widget = area;
    } else if (kind == QLatin1String("QStatusBar")) {
        auto *bar = new QStatusBar(parent);
        bar->setSizeGripEnabled(false);
        widget = bar;
    } else if (kind == QLatin1String("QMenuBar")) {
        widget = new QMenuBar(parent);
    } else {
        widget = new QWidget(parent);
    }
    widget->setObjectName(f[3]);
    const QRect place(f[4].toInt(), f[5].toInt(), f[6].toInt(), f[7].toInt());
    if (flags.contains(QLatin1Char('x')))
        widget->setFixedSize(place.size());
    widget->setGeometry(place);
    applyFont(*widget, f[11]);
    applyPalette(*widget, f[12]);
    widget->setAutoFillBackground(flags.contains(QLatin1Char('f')));
    widget->setEnabled(!flags.contains(QLatin1Char('d')));
    if (flags.contains(QLatin1Char('h')))
        widget->hide();
    if (!f[14].isEmpty())
        widget->setToolTip(unescapeField(f[14]));
    return widget;
}

// The same controls as Kelsa's main window, from its outline, made with Qt alone: no models, no
// connections, no reading of workbooks; shown and saved as the plain window is.
int controlsWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QMenuBar *menuBar = nullptr;
    std::vector<QMenu *> menus; // by depth, the menu the next action goes to
    std::vector<QWidget *> parents; // by depth, the control the next deeper one goes into
    QSize size;
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f[0] == QLatin1String("T") && f.size() >= 6) {
            size = QSize(f[1].toInt(), f[2].toInt());
            window.setWindowTitle(unescapeField(f[3]));
            applyFont(window, f[4]);
            applyPalette(window, f[5]);
            window.setAutoFillBackground(true);
        } else if (f[0] == QLatin1String("M") && f.size() >= 3 && menuBar) {
            const int depth = f[1].toInt();
            menus.resize(std::size_t(depth) + 1);
            menus[std::size_t(depth)] = depth == 0
                ? menuBar->addMenu(unescapeField(f[2]))
                : menus[std::size_t(depth) - 1]->addMenu(unescapeField(f[2]));
        } else if (f[0] == QLatin1String("A") && f.size() >= 5 && !menus.empty()) {
            QAction *action = menus[std::size_t(f[1].toInt())]->addAction(unescapeField(f[2]));
            action->setShortcut(QKeySequence(f[3]));
            action->setCheckable(f[4].contains(QLatin1Char('k')));
            action->setChecked(f[4].contains(QLatin1Char('c')));
        } else if (f[0] == QLatin1String("S") && f.size() >= 2 && !menus.empty()) {
            menus[std::size_t(f[1].toInt())]->addSeparator();
        } else if (f[0] == QLatin1String("W") && f.size() >= 16) {
            const std::size_t depth = std::size_t(f[1].toInt());
            QWidget *parent = depth == 0 ? &window : parents.at(depth - 1);
            auto *area = qobject_cast<QScrollArea *>(parent);
            auto *bar = qobject_cast<QStatusBar *>(parent);
            QWidget *control = makeControl(f, area || bar ? nullptr : parent);
            if (area) {
                area->setWidget(control);
            } else if (bar) {
                if (f[8].contains(QLatin1Char('p')))
                    bar->addPermanentWidget(control);
                else
                    bar->addWidget(control, f[8].contains(QLatin1Char('s')) ? 1 : 0);
            } else if (depth == 0) {
                if (auto *madeMenuBar = qobject_cast<QMenuBar *>(control))
                    layout->setMenuBar(menuBar = madeMenuBar);
                else
                    layout->addWidget(control);
            }
            parents.resize(depth + 1);
            parents[depth] = control;
        }
    }
    window.resize(size);
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // As kelsa --screenshot takes its picture: the closed menus not laid out.
    for (QMenu *menu : window.findChildren<QMenu *>())
        menu->setAttribute(Qt::WA_PendingResizeEvent, false);
    const bool saved = window.grab().save(QString::fromLocal8Bit(argv[3]), "PNG");
    for (const QEvent::Type type : { QEvent::PolishRequest, QEvent::UpdateLater,
             QEvent::LayoutRequest, QEvent::UpdateRequest })
        QCoreApplication::removePostedEvents(nullptr, type);
    return saved ? 0 : 1;
}

double nowMs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Sample {
    double ms = 0;
    double cpuMs = 0; // user and system time of the process and its children
    double peakMb = 0;
};

// Starts the program with its arguments, output to /dev/null, and waits for it.
bool runOnce(const std::vector<std::string> &command, Sample &sample)
{
    std::vector<char *> args;
    args.reserve(command.size() + 1);
    for (const std::string &arg : command)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const double start = nowMs();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        return false;
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    sample.ms = nowMs() - start;
    sample.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    sample.peakMb = usage.ru_maxrss / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Medians {
    double ms = 0;
    double cpuMs = 0;
    double mb = 0;
};

Medians report(const char *name, const std::vector<Sample> &samples)
{
    std::vector<double> times, cpu, peaks;
    for (const Sample &sample : samples) {
        times.push_back(sample.ms);
        cpu.push_back(sample.cpuMs);
        peaks.push_back(sample.peakMb);
    }
    const Medians medians { median(times), median(cpu), median(peaks) };
    std::printf("  %-30s %7.1f ms (%5.1f..%5.1f) %7.1f ms %5.1f MB\n", name, medians.ms,
        *std::min_element(times.begin(), times.end()),
        *std::max_element(times.begin(), times.end()), medians.cpuMs, medians.mb);
    return medians;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && std::string(argv[1]) == "--plain")
        return plainWindow(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--controls")
        return controlsWindow(argc, argv);

    int runs = 31;
    std::vector<std::string> programs; // the kelsa builds to start, in turn
    for (int k = 1; k < argc; ++k) {
        if (std::string(argv[k]) == "--program" && k + 1 < argc)
            programs.emplace_back(argv[++k]);
        else
            runs = std::max(1, std::atoi(argv[k]));
    }
    char *resolved = realpath("/proc/self/exe", nullptr);
    if (!resolved)
        return 1;
    const std::string self = resolved;
    std::free(resolved);
    const std::string bin = self.substr(0, self.rfind('/'));
    if (programs.empty())
        programs.push_back(bin + "/kelsa");
    const std::string dataDir = bin + "/" + KELSA_DATA_FROM_BIN;
    if (chdir(dataDir.c_str()) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", dataDir.c_str());
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char scratch[] = "/tmp/kelsa-bench-XXXXXX";
    if (!mkdtemp(scratch))
        return 1;
    if (!getenv("XDG_RUNTIME_DIR"))
        setenv("XDG_RUNTIME_DIR", scratch, 1);
    const std::string kelsaShot = std::string(scratch) + "/kelsa.png";
    const std::string plainShot = std::string(scratch) + "/plain.png";
    // The plain window shows the picture the first build takes in the warming round: the same
    // size and content as Kelsa's window as it is now.
    const std::string picture = std::string(scratch) + "/picture.png";
    // The second floor makes the same controls as Kelsa's window with Qt alone, from the
    // outline bench_window_outline writes of the window as it is.
    const std::string outline = std::string(scratch) + "/outline.txt";
    const std::string controlsShot = std::string(scratch) + "/controls.png";
    {
        Sample ignored;
        if (!runOnce({ bin + "/bench_window_outline", outline }, ignored)) {
            std::fprintf(stderr, "bench_window_outline failed\n");
            return 1;
        }
    }

    // Each round starts every build once and the plain window once, so that all meet the same
    // load of the machine.
    std::vector<std::vector<Sample>> kelsaRuns(programs.size());
    std::vector<Sample> plainRuns;
    std::vector<Sample> controlsRuns;
    for (int k = 0; k < runs + 1; ++k) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            Sample sample;
            if (!runOnce({ programs[p], "--screenshot", kelsaShot }, sample)) {
                std::fprintf(stderr, "run %d of %s failed\n", k, programs[p].c_str());
                return 1;
            }
            if (k > 0) // the first round warms the disk cache
                kelsaRuns[p].push_back(sample);
            else if (p == 0 && rename(kelsaShot.c_str(), picture.c_str()) != 0) {
                std::fprintf(stderr, "cannot keep the picture of %s\n", programs[p].c_str());
                return 1;
            }
        }
        Sample sample;
        if (!runOnce({ self, "--plain", picture, plainShot }, sample)) {
            std::fprintf(stderr, "run %d of the plain window failed\n", k);
            return 1;
        }
        if (k > 0)
            plainRuns.push_back(sample);
        if (!runOnce({ self, "--controls", outline, controlsShot }, sample)) {
            std::fprintf(stderr, "run %d of the window of plain controls failed\n", k);
            return 1;
        }
        if (k > 0)
            controlsRuns.push_back(sample);
    }
    unlink(kelsaShot.c_str());
    unlink(plainShot.c_str());
    unlink(controlsShot.c_str());
    unlink(outline.c_str());
    unlink(picture.c_str());
    rmdir(scratch);

    std::printf("Start-up to a saved screenshot, %d runs each, offscreen (medians):\n", runs);
    std::printf("  %-30s %7s %-16s %9s %8s\n", "", "wall", " (min..max)", "processor", "peak");
    const Medians plain = report("plain window with its picture", plainRuns);
    const Medians controls = report("Kelsa's controls, Qt alone", controlsRuns);
    std::printf("  ratio of the controls to the picture: wall time %.2f, processor time %.2f, "
                "peak memory %.2f\n",
        controls.ms / plain.ms, controls.cpuMs / plain.cpuMs, controls.mb / plain.mb);
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const std::string name = programs.size() == 1 ? "kelsa --screenshot" : programs[p];
        const Medians ours = report(name.c_str(), kelsaRuns[p]);
        std::printf(
            "  ratio to the picture: wall time %.2f, processor time %.2f, peak memory %.2f\n",
            ours.ms / plain.ms, ours.cpuMs / plain.cpuMs, ours.mb / plain.mb);
        std::printf("  ratio to the controls: wall time %.2f, processor time %.2f, "
                    "peak memory %.2f\n",
            ours.ms / controls.ms, ours.cpuMs / controls.cpuMs, ours.mb / controls.mb);
    }
    return 0;
}
