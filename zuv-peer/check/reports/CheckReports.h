#pragma once

#include "check/CheckRunner.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <vector>

// How the checker tells what it found: on the console, and as JSON, JUnit XML and HTML reports.
namespace Check::Reports {

// What a run checked and how, for the first lines of every report, so that a regrade can show it
// checked the same thing. Empty parts are left out.
struct RunRecord
{
    QString version; // zuv-peer's
    quint64 seed = 0;
    QString sandbox;      // how the unit was boxed and limited, or that it was not
    QString clock;        // lock-step: what the times mean
    QJsonObject limits;   // the limits in force
    QString submission;   // the path given
    QJsonArray files;     // the submission's files: [{"path", "sha256"}]
    QJsonArray scenarios; // [{"file", "sha256"}]
    QJsonObject prepare;  // --prepare: {"command", "status", "output", "errors", ...}

    QJsonObject toJson() const;
    // "sandbox: ...", "limits: ...", "prepare: ..."; empty for a plain check.
    QStringList lines() const;
};

// The counts over a run's reports.
struct Totals
{
    int passed = 0;
    int failed = 0;
    int notRun = 0;
    int points = 0;
    int maximum = 0;
    int inconclusive = 0;
};
Totals totals(const std::vector<ScenarioReport>& reports);

// "pass", "fail" or "not-run", and ✓, ✗ or -.
QString verdictName(CheckResult::Verdict verdict);
QString verdictMark(CheckResult::Verdict verdict);
// "✓ expect lightBacklight=true: after 120 ms" or "✗ blinks lightIndicatorLeft: 3.02 Hz, expected 1.50 Hz ± 5
// % (scenarios/indicators.yaml:12)": a failed check names its scenario's `file` and its line.
QString consoleLine(const CheckResult& check, const QString& file = {});
// "12 passed, 1 failed, 2 not run; 12 of 15 points".
QString summary(const std::vector<ScenarioReport>& reports);

// {"checked": {...}, "scenarios": [{"name", "file", "points", "max_points", "checks": [...]}],
// "passed", "failed"}.
QByteArray json(const std::vector<ScenarioReport>& reports, const RunRecord& record = {});
// One testsuite per scenario, one testcase per check; a failure carries its message.
QByteArray junit(const std::vector<ScenarioReport>& reports, const RunRecord& record = {});
// One self-contained page: per scenario the timeline of every value that changed, drawn as
// waveforms, each check marked where it was decided, failures first.
QByteArray html(const std::vector<ScenarioReport>& reports, const RunRecord& record = {});

// Writes `contents` to `path` whole or not at all; a link at `path` is replaced, never followed.
// Returns an empty text or what went wrong.
QString write(const QString& path, const QByteArray& contents);

} // namespace Check::Reports
