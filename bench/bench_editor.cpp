// The editor's load, save, window and memory against their floors: the bare
// system calls for one 6-byte entry, an empty window and an empty program.
// --rss-form / --rss-empty: show that window, print the peak resident kB, end.
#include "regions/evolutiontable.h"
#include "shell/controls.h"
#include "shell/form1.h"
#include "shell/platform.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString g_rom;
std::unique_ptr<Form1> g_form;
QtMessageHandler g_qtMessages = nullptr;
const std::int32_t Entry25 = EvolutionBlock::offset(25);

long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').constFirst().toLong();
    return -1;
}

// One open, 6-byte pread or pwrite, close: the least a load or save can cost.
ssize_t entryIo(bool write, std::int32_t offset, char *six)
{
    const int fd = ::open(QFile::encodeName(g_rom).constData(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        qFatal("cannot open %s", qPrintable(g_rom));
    const ssize_t done = write ? ::pwrite(fd, six, 6, offset) : ::pread(fd, six, 6, offset);
    ::close(fd);
    return done;
}

template <bool Write>
void entryFloor(benchmark::State &state)
{
    char entry[6] = {4, 0, 16, 0, 26, 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(entryIo(Write, Entry25, entry));
}

// Rows 25 and 26 in turn, so that every selection loads.
void loadEditor(benchmark::State &state)
{
    int row = 25;
    for (auto _ : state) {
        g_form->List1->setListIndex(row);
        row = row == 25 ? 26 : 25;
    }
}

void saveEditor(benchmark::State &state)
{
    g_form->List1->setListIndex(25);
    for (auto _ : state)
        g_form->Command->click();
}

// An empty main window with the editor's client size: the same backing store
// to fill and show, nothing in it.
class EmptyWindow : public QMainWindow {
public:
    EmptyWindow()
    {
        auto *client = new QWidget(this);
        client->setFixedSize(724, 576);
        setCentralWidget(client);
    }
};

template <class Window>
void showWindow(benchmark::State &state)
{
    for (auto _ : state) {
        Window window;
        window.show();
        QCoreApplication::processEvents();
    }
}

// Real time a run (microseconds) of every benchmark; the median when repeated.
class Collector : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
                times[run.run_name.str()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

// Lowest peak of three runs of this program with the option.
double childPeakKb(const char *option)
{
    long best = 0;
    for (int i = 0; i < 3; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(option)});
        if (!child.waitForFinished(60000) || child.exitCode() != 0)
            qFatal("%s failed", option);
        const long kb = child.readAllStandardOutput().trimmed().toLong();
        best = best == 0 ? kb : std::min(best, kb);
    }
    return double(best);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QByteArray option = argc == 2 ? argv[1] : "";
    if (option == "--rss-form" || option == "--rss-empty") {
        std::unique_ptr<QMainWindow> window(option == "--rss-form" ? static_cast<QMainWindow *>(new Form1) : new EmptyWindow);
        window->show();
        QCoreApplication::processEvents();
        std::printf("%ld\n", peakResidentKb());
        return 0;
    }

    // The offscreen platform warns on every fixed-size window; other messages pass.
    g_qtMessages = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (!text.contains(QLatin1String("propagateSizeHints")))
            g_qtMessages(type, context, text);
    });
    Platform::setMessageHandler([](const QString &text, const QString &title) {
        qFatal("unexpected message box \"%s\": %s", qPrintable(title), qPrintable(text));
    });
    QTemporaryDir dir;
    g_rom = dir.filePath(QStringLiteral("game.nds"));
    QFile rom(g_rom);
    if (!rom.open(QIODevice::WriteOnly) || !rom.resize(64 << 20))
        qFatal("cannot make the test ROM");
    rom.close();
    // Species 25 and 26: level method (the level picker shows), level, target.
    char entries[2][6] = {{4, 0, 16, 0, 26, 0}, {4, 0, 36, 0, 27, 0}};
    if (entryIo(true, Entry25, entries[0]) != 6 || entryIo(true, EvolutionBlock::offset(26), entries[1]) != 6)
        qFatal("cannot write the test entries");
    Platform::setFileChooser([](const Platform::FileRequest &) { return Platform::FileAnswer{true, g_rom, 1}; });
    g_form = std::make_unique<Form1>();
    g_form->show();
    g_form->Open1->trigger();
    g_form->Option1->click();
    QCoreApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    for (const auto &[name, run] : std::initializer_list<std::pair<const char *, void (*)(benchmark::State &)>>{
             {"load/editor", loadEditor}, {"load/floor", entryFloor<false>},
             {"save/editor", saveEditor}, {"save/floor", entryFloor<true>},
             {"window/editor", showWindow<Form1>}, {"window/empty", showWindow<EmptyWindow>}})
        benchmark::RegisterBenchmark(name, run)->Unit(benchmark::kMicrosecond);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    g_form.reset();

    struct Line { const char *what; double value, floor, target; const char *unit; };
    auto &t = collector.times;
    const Line lines[] = {
        {"load", t["load/editor"], t["load/floor"], 20, "us"},
        {"save", t["save/editor"], t["save/floor"], 10, "us"},
        {"window", t["window/editor"], t["window/empty"], 2, "us"},
        {"memory", childPeakKb("--rss-form"), childPeakKb("--rss-empty"), 1.5, "kB"},
    };
    bool allMet = true;
    std::printf("\n%-8s %14s %14s %8s %8s  %s\n", "", "measured", "floor", "ratio", "target", "result");
    for (const Line &l : lines) {
        const double ratio = l.floor > 0 ? l.value / l.floor : 0;
        const bool met = l.value > 0 && l.floor > 0 && ratio < l.target;
        allMet = allMet && met;
        std::printf("%-8s %11.1f %s %11.1f %s %7.2fx %7.1fx  %s\n", l.what, l.value, l.unit, l.floor, l.unit,
                    ratio, l.target, met ? "PASS" : "MISS");
    }
    std::printf("%s\n", allMet ? "all targets met" : "some targets missed");
    return 0;
}
