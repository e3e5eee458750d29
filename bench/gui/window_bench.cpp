// How long the main window takes from construction (settings, memo and
// schedule loaded from files of the usual size) until it is shown, offscreen.
// The whole-process figures come from su_run.sh beside this file.

#include "gui/Dialogs.h"
#include "gui/TForm1.h"
#include "platform/FixedDesktop.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>

namespace {

class SilentDialogs : public gui::Dialogs {
public:
    void Message(const QString&, const QString&) override { }
    bool Question(const QString&, const QString&) override { return false; }
    void Error(const QString&, const QString&) override { }
    std::optional<QColor> PickColour(const QColor&) override { return std::nullopt; }
};

void BM_WindowShown(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    {
        std::ofstream memo(folder / "memo.txt", std::ios::binary);
        for (int i = 0; i < 20; ++i) {
            memo << "memo line " << i << " with some text to wrap around the editor's width\r\n";
        }
        std::ofstream schedule(folder / "schedule.txt", std::ios::binary);
        for (int i = 0; i < 20; ++i) {
            schedule << "\"\",\"" << (i % 12 + 1) << "/" << (i % 28 + 1) << "\",\"entry " << i << "\"\r\n";
        }
    }
    SilentDialogs dialogs;
    platform::FixedDesktop desktop;
    for (auto _ : state) {
        gui::FormEnvironment environment;
        environment.programPath = folder / "corkpane";
        environment.workingFolder = folder;
        environment.dialogs = &dialogs;
        environment.desktop = &desktop;
        gui::TForm1 window(std::move(environment));
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
