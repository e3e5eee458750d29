// The main of test programs that draw text or read pictures through Qt: the
// program creates its QGuiApplication (offscreen: drawing into an image
// needs no display) before the tests run.

#include <QGuiApplication>
#include <cstdlib>
#include <gtest/gtest.h>

// Leaks inside the system's font libraries are theirs, not the program's.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\nleak:libglib\n";
}

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
