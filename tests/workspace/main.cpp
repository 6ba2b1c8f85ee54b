// Runs the window tests headless, with the per-user settings (window
// placement) in a temporary folder so no real user's configuration is touched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
// The offscreen platform reports what it cannot do for every window; that
// says nothing about the program.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("This plugin does not support"))) return;
    if (message.contains(QLatin1String("XDG_RUNTIME_DIR"))) return;
    qt_message_output(type, context, message);
}
}  // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietHandler);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    setenv("LANG", "C.UTF-8", 1);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orbika"));
    QApplication::setApplicationName(QStringLiteral("Tovra"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
