// The difference TT - UTC, in seconds, for turning a dynamical moment into
// civil time.
//
// From 1972 until the last leap second ERFA knows of, UTC is defined by its
// leap seconds and TT - UTC = 32.184 s + (TAI - UTC) exactly. Outside that
// span UTC is taken as Universal Time and the difference is Delta T = TT - UT
// from the polynomial expressions of Espenak and Meeus ("Five Millennium
// Canon of Solar Eclipses", NASA TP-2006-214141), with the decimal year taken
// at the moment itself instead of at the middle of its month. After the leap
// seconds end, the polynomial is shifted so that it joins the last exact
// value without a jump.
#pragma once

namespace solarterms {

// TT - UTC in seconds at the civil date year-month-day and fraction of day.
double ttMinusUtc(int year, int month, int day, double dayFraction);

}  // namespace solarterms
