#include "GuiApplication.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace tool {

void EnsureGuiApplication()
{
    if (QGuiApplication::instance() != nullptr)
        return;
    static int argc = 1;
    static char name[] = "corkpane-tool";
    static char* argv[] = { name, nullptr };
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt's notes (a missing runtime folder and the like) are not the
    // program's messages; only its failures reach standard error.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

} // namespace tool
