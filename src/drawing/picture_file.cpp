#include "drawing/picture_file.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QSvgGenerator>
#include <cstdio>
#include <functional>

#include "drawing/calendar_painter.h"
#include "drawing/chart_painter.h"
#include "drawing/picture_look.h"

namespace qinghe::drawing {
namespace {

// Fonts need a Gui application; a process without one gets its own on the
// offscreen platform, for the rest of its life. Such a process (qinghe-cli)
// says its own failures; Qt's notes about the desktop it lacks are dropped.
void ensureApplication() {
    if (QCoreApplication::instance()) return;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    static int argc = 3;
    static char name[] = "qinghe-cli", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication application(argc, argv);
}

using Painting = std::function<void(QPainter&, QSizeF)>;

std::string pictureBytes(const Painting& paint, const QString& title, int width, int height,
                         PictureFormat format, double pixelRatio) {
    ensureApplication();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QSizeF size(width, height);
    if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setTitle(title);
        QPainter painter(&svg);
        paint(painter, size);
    } else {
        QImage image(QSize(width, height) * pixelRatio, QImage::Format_RGB32);
        image.setDevicePixelRatio(pixelRatio);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            paint(painter, size);
        }
        image.save(&buffer, "PNG");
    }
    return bytes.toStdString();
}

}  // namespace

std::optional<PictureFormat> pictureFormatOf(std::string_view fileName) {
    const QString name =
        QString::fromUtf8(fileName.data(), static_cast<qsizetype>(fileName.size()));
    if (name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) return PictureFormat::Png;
    if (name.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) return PictureFormat::Svg;
    return std::nullopt;
}

std::string yearChartPicture(const pictures::YearChart& chart, int width, int height,
                             PictureFormat format, double pixelRatio) {
    return pictureBytes([&chart](QPainter& p, QSizeF size) { paintYearChart(p, chart, size); },
                        qText(chart.title), width, height, format, pixelRatio);
}

std::string monthCalendarPicture(const pictures::MonthCalendar& calendar, int width, int height,
                                 PictureFormat format, double pixelRatio) {
    return pictureBytes(
        [&calendar](QPainter& p, QSizeF size) { paintMonthCalendar(p, calendar, size); },
        qText(calendar.title), width, height, format, pixelRatio);
}

}  // namespace qinghe::drawing
