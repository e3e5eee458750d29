// The window tests need one QApplication for the whole run; this main makes
// it before the tests start (also when CTest only lists them).

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

// Leaks inside the system's font and display libraries are theirs, not the
// program's.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\nleak:libglib\n";
}

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
