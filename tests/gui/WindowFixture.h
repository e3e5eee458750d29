#pragma once

// A window in a temporary folder: the settings and memo files, and the
// schedule file "beside the executable", all live there.

#include "FakeDialogs.h"
#include "app/Clock.h"
#include "gui/TForm1.h"
#include "platform/CommandRunner.h"
#include "platform/FixedDesktop.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>

class WindowFixture : public testing::Test {
protected:
    std::filesystem::path Folder() const { return dir_.path().toStdString(); }

    std::unique_ptr<gui::TForm1> MakeWindow(std::vector<std::string> arguments = {})
    {
        gui::FormEnvironment environment;
        environment.arguments = std::move(arguments);
        environment.programPath = Folder() / "corkpane";
        environment.workingFolder = Folder();
        environment.dialogs = &dialogs_;
        environment.desktop = &desktop_;
        environment.clock = app::FixedDateClock(kToday);
        environment.commandRunner = commandRunner_;
        environment.startFolder = startFolder_;
        environment.supportPage = supportPage_;
        environment.filesLockWait = filesLockWait_;
        environment.logonNetworkWaitMs = logonNetworkWaitMs_;
        return std::make_unique<gui::TForm1>(std::move(environment));
    }

    void WriteFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Folder() / name, std::ios::binary) << bytes;
    }
    std::string ReadFile(const std::string& name) const
    {
        std::ifstream in(Folder() / name, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Folder() / name); }

    template <typename T> static T* Find(gui::TForm1& window, const char* name)
    {
        T* widget = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // A Wednesday.
    static constexpr std::chrono::year_month_day kToday { std::chrono::year { 2026 },
        std::chrono::month { 12 }, std::chrono::day { 9 } };

    QTemporaryDir dir_;
    FakeDialogs dialogs_;
    // systemctl for the redraw timer; null runs real processes.
    platform::CommandRunner* commandRunner_ = nullptr;
    std::filesystem::path startFolder_;
    // Where the about page links to; empty for the program's default.
    std::string supportPage_;
    // How long a start waits for another run on the folder.
    std::chrono::milliseconds filesLockWait_ = app::kRunLockWait;
    // The logon run tries to reach the mail server once unless a test
    // gives it time.
    int logonNetworkWaitMs_ = 0;
    // A small desktop that records what is installed, never the real one.
    platform::FixedDesktop desktop_ = [] {
        platform::FixedDesktop desktop;
        desktop.state.screen = { 320, 240 };
        return desktop;
    }();
};
