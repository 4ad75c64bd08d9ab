#pragma once

#include "check/CheckRunner.h"

#include <QString>

// The pieces of the checker's HTML report.
namespace Check::Reports {

// `text` made safe as HTML and XML content and as a double-quoted attribute: markup characters
// escaped, control characters (other than line breaks and tabs) and terminal colour sequences
// left out.
QString htmlText(const QString& text);

// "1.234 s", or "–" for a time that was never reached (below 0).
QString secondsText(Micros micros);

// The scenario's timeline as one inline SVG drawn like a logic analyser: a row per value that
// changed (a truth value as a high/low trace, a whole number as a bus with the value written in
// each segment), labelled with who set it, a time axis in seconds, and a line where each check was
// decided, numbered by its place in `report.results` from 1. Changes closer than two pixels (four
// on a bus) merge into a band. Empty when there is nothing to draw.
QString timelineSvg(const ScenarioReport& report);

} // namespace Check::Reports
