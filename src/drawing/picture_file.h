// The journal's pictures as the bytes of a file: PNG or SVG, painted by the
// same code as the window's page (calendar_painter.h, chart_painter.h), with
// no display needed. Without a Qt application in the process (qinghe-cli),
// the first call starts one on Qt's offscreen platform, which draws fonts as
// any other does; the window's own application serves as it is.
//
// This header needs no Qt, so that qinghe-cli, which includes no Qt, can
// call it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pictures/month_calendar.h"
#include "pictures/year_chart.h"

namespace qinghe::drawing {

enum class PictureFormat { Png, Svg };

// The format a file name asks for by its extension, ".png" or ".svg" in any
// letter case; nullopt for any other name.
std::optional<PictureFormat> pictureFormatOf(std::string_view fileName);

// The size, in logical pixels, of a picture written by qinghe-cli.
inline constexpr int kChartFileWidth = 960;
inline constexpr int kChartFileHeight = 600;

// The file's bytes of a picture of width x height logical pixels: a PNG of
// `pixelRatio` device pixels each way per logical pixel, or an SVG (whose
// texts stay text, so that the month names can be read and searched).
std::string yearChartPicture(const pictures::YearChart& chart, int width, int height,
                             PictureFormat format, double pixelRatio = 1.0);
std::string monthCalendarPicture(const pictures::MonthCalendar& calendar, int width, int height,
                                 PictureFormat format, double pixelRatio = 1.0);

}  // namespace qinghe::drawing
