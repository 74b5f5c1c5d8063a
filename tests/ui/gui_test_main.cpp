// main() of the window test suites: one QApplication on the offscreen
// platform (unless the environment names another), with the Chinese
// name, look and translations the program sets, around all GoogleTest cases.
//
// The offscreen platform's screen is a desktop's: QINGHE_TEST_SCREEN gives
// its area for windows as "WIDTHxHEIGHT" or "WIDTHxHEIGHT@SCALE" in the
// window's pixels, 1920x1080 at scale 1 when unset. A scale is given to the
// platform as the screen's dots per inch (96 per unit), as an X11 desktop
// gives it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cmath>
#include <cstdio>

#include "ui/application.h"

namespace {

// Writes the platform's configuration; false when the screen is malformed.
bool configureScreen(QTemporaryFile& config) {
    const QString screen = qEnvironmentVariable("QINGHE_TEST_SCREEN", QStringLiteral("1920x1080"));
    const auto match =
        QRegularExpression(QStringLiteral(R"(^(\d+)x(\d+)(?:@([\d.]+))?$)")).match(screen);
    if (!match.hasMatch()) {
        std::fprintf(stderr, "QINGHE_TEST_SCREEN: '%s' is not WIDTHxHEIGHT[@SCALE]\n",
                     qPrintable(screen));
        return false;
    }
    const double scale = match.captured(3).isEmpty() ? 1.0 : match.captured(3).toDouble();
    const auto pixels = [scale](const QString& n) { return std::lround(n.toDouble() * scale); };
    if (!config.open()) return false;
    config.write(QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, )"
                                R"("width": %1, "height": %2, "logicalDpi": %3, )"
                                R"("logicalBaseDpi": 96}]})")
                     .arg(pixels(match.captured(1)))
                     .arg(pixels(match.captured(2)))
                     .arg(std::lround(96 * scale))
                     .toUtf8());
    config.close();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryFile config;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        if (!configureScreen(config)) return 2;
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    }
    QApplication application(argc, argv);
    qinghe::ui::setUpApplication(application);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
