// What the window tests and benchmarks set up before the application starts:
// the offscreen platform, quiet about what it cannot do, and the per-user
// settings (window placement) in a folder of their own.
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

namespace tov::test {

inline void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // The offscreen platform reports for every window what it cannot do;
    // that says nothing about the program.
    if (message.contains(QLatin1String("This plugin does not support"))) return;
    if (message.contains(QLatin1String("XDG_RUNTIME_DIR"))) return;
    qt_message_output(type, context, message);
}

// Call first in main(); keep the returned folder alive for the whole run.
inline QTemporaryDir* prepareHeadless()
{
    qInstallMessageHandler(quietHandler);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    auto* config = new QTemporaryDir;
    setenv("XDG_CONFIG_HOME", config->path().toLocal8Bit().constData(), 1);
    return config;
}

}  // namespace tov::test
