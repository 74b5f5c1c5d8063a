#include "delta_t.h"

#include <erfa.h>

namespace solarterms {
namespace {

constexpr double kTtMinusTai = 32.184;  // seconds, by definition
constexpr int kFirstLeapSecondYear = 1972;
// Last year whose UTC offset is fixed by a published leap second (ERFA's
// table ends with the leap second of 2016-12-31).
constexpr int kLastLeapSecondYear = 2025;

double decimalYear(int year, int month, int day, double dayFraction) {
    double jd0 = 0.0, jdYear = 0.0, jdDay = 0.0;
    eraCal2jd(year, 1, 1, &jd0, &jdYear);
    eraCal2jd(year, month, day, &jd0, &jdDay);
    double yearLength = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 366.0 : 365.0;
    return year + (jdDay - jdYear + dayFraction) / yearLength;
}

// Espenak-Meeus Delta T (seconds) at decimal year y, for 1860 <= y < 2150.
double espenakMeeus(double y) {
    if (y < 1900.0) {
        double t = y - 1860.0;
        return 7.62 + t * (0.5737 +
                           t * (-0.251754 + t * (0.01680668 + t * (-0.0004473624 + t / 233174.0))));
    }
    if (y < 1920.0) {
        double t = y - 1900.0;
        return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - t * 0.000197)));
    }
    if (y < 1941.0) {
        double t = y - 1920.0;
        return 21.20 + t * (0.84493 + t * (-0.076100 + t * 0.0020936));
    }
    if (y < 1961.0) {
        double t = y - 1950.0;
        return 29.07 + t * (0.407 + t * (-1.0 / 233.0 + t / 2547.0));
    }
    if (y < 1986.0) {
        double t = y - 1975.0;
        return 45.45 + t * (1.067 + t * (-1.0 / 260.0 - t / 718.0));
    }
    if (y < 2005.0) {
        double t = y - 2000.0;
        return 63.86 + t * (0.3345 + t * (-0.060374 +
                                          t * (0.0017275 + t * (0.000651814 + t * 0.00002373599))));
    }
    if (y < 2050.0) {
        double t = y - 2000.0;
        return 62.92 + t * (0.32217 + t * 0.005589);
    }
    double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
}

double leapSecondOffset(int year, int month, int day, double dayFraction) {
    double taiMinusUtc = 0.0;
    eraDat(year, month, day, dayFraction, &taiMinusUtc);
    return kTtMinusTai + taiMinusUtc;
}

}  // namespace

double ttMinusUtc(int year, int month, int day, double dayFraction) {
    if (year >= kFirstLeapSecondYear && year <= kLastLeapSecondYear) {
        return leapSecondOffset(year, month, day, dayFraction);
    }
    double y = decimalYear(year, month, day, dayFraction);
    if (year < kFirstLeapSecondYear) return espenakMeeus(y);
    double joint = static_cast<double>(kLastLeapSecondYear + 1);
    return espenakMeeus(y) - espenakMeeus(joint) +
           leapSecondOffset(kLastLeapSecondYear, 12, 31, 1.0);
}

}  // namespace solarterms
