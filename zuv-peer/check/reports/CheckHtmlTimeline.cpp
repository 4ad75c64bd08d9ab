// The timeline of the checker's HTML report: the values that changed as waveforms, in one SVG.

#include "check/reports/CheckHtmlTimeline.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace Check::Reports {

namespace {

// The drawing's geometry, in SVG units (pixels at full size).
constexpr double labelWidth = 280;
constexpr double plotWidth = 1000;
constexpr double rightMargin = 30;
constexpr double rowHeight = 28;
constexpr double traceHeight = 16;
constexpr double markLevelHeight = 18; // one line of check numbers above the waveforms
constexpr int markLevels = 3;
constexpr double markWidth = 20;
constexpr double axisHeight = 30;
constexpr double busBevel = 3;
constexpr double busCharWidth = 6.8; // of the bus's 11 px monospace digits
// Changes closer than this to the one before merge into a band: a truth value's where its edges
// would blur into a solid comb, a bus's where its segments would be too narrow to tell apart.
constexpr double boolGap = 2.0;
constexpr double busGap = 4.0;

// A coordinate, to a tenth.
QString n(double value)
{
    return QString::number(std::round(value * 10.0) / 10.0 + 0.0, 'g', 10);
}

struct Row
{
    int index = 0;
    std::vector<Change> changes;
    bool byChecker = false;
    bool byPeer = false;
};

// Changes one after another of which each is closer than the gap to the one before.
struct Run
{
    std::size_t first;
    std::size_t last;
};

struct Mark
{
    std::size_t check;
    double x;
    int level;
};

class Timeline
{
public:
    explicit Timeline(const ScenarioReport& report) : report(report), span(spanOf(report)) {}

    QString svg();

private:
    static Micros spanOf(const ScenarioReport& report);
    double x(Micros at) const
    {
        return labelWidth + plotWidth * double(std::clamp<Micros>(at, 0, span)) / double(span);
    }
    std::vector<Run> runsOf(const std::vector<Change>& changes, double gap) const;
    void label(const Row& row, double top);
    QString band(const QString& name, const std::vector<Change>& changes, const Run& run, double top) const;
    void truthTrace(const QString& name, const Row& row, double top);
    void busTrace(const QString& name, const Row& row, double top);
    void busSegment(const QString& name, double from, double to, int value, Micros since, Micros until,
                    double top);
    void axis(double top, double bottom);
    std::vector<Mark> marks() const;
    void drawMark(const Mark& mark, double top, double bottom);

    const ScenarioReport& report;
    const Micros span;
    QString out;
};

Micros Timeline::spanOf(const ScenarioReport& report)
{
    Micros span = report.duration;
    for (const Change& change : report.changes)
        span = std::max(span, change.at);
    for (const CheckResult& check : report.results)
        span = std::max(span, check.at);
    return span > 0 ? span : 1'000'000;
}

std::vector<Run> Timeline::runsOf(const std::vector<Change>& changes, double gap) const
{
    std::vector<Run> runs;
    for (std::size_t index = 0; index < changes.size(); ++index) {
        if (!runs.empty() && x(changes[index].at) - x(changes[runs.back().last].at) < gap)
            runs.back().last = index;
        else
            runs.push_back({index, index});
    }
    return runs;
}

QString sourceOf(const Row& row)
{
    return row.byChecker && row.byPeer ? QStringLiteral("both")
           : row.byChecker             ? QStringLiteral("sent")
                                       : QStringLiteral("peer");
}

void Timeline::label(const Row& row, double top)
{
    const QString source = sourceOf(row);
    const QString who = row.byChecker && row.byPeer ? QStringLiteral("set by the checker and by the peer")
                        : row.byChecker             ? QStringLiteral("set by the checker (sent to the unit)")
                                                    : QStringLiteral("set by the peer (the unit's answer)");
    const double middle = top + rowHeight / 2;
    out += QStringLiteral("<rect class=\"tag %1\" x=\"8\" y=\"%2\" width=\"38\" height=\"16\" rx=\"3\"/>"
                          "<text class=\"tagtext\" x=\"27\" y=\"%3\">%1</text>")
               .arg(source, n(middle - 8), n(middle + 4));
    out += QStringLiteral(
               "<text class=\"name %1\" x=\"%2\" y=\"%3\">%4<title>%4: %5, %6 changes</title></text>\n")
               .arg(source, n(labelWidth - 12), n(middle + 4),
                    htmlText(QString::fromLatin1(StateValues::table[row.index].name)), who)
               .arg(row.changes.size());
}

QString Timeline::band(const QString& name, const std::vector<Change>& changes, const Run& run,
                       double top) const
{
    const double from = x(changes[run.first].at);
    const double to = x(changes[run.last].at);
    return QStringLiteral("<rect class=\"band\" x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\">"
                          "<title>%5: %6 changes from %7 to %8</title></rect>")
        .arg(n(from), n(top), n(std::max(1.0, to - from)), n(traceHeight), name)
        .arg(run.last - run.first + 1)
        .arg(secondsText(changes[run.first].at), secondsText(changes[run.last].at));
}

void Timeline::truthTrace(const QString& name, const Row& row, double top)
{
    const double high = top + (rowHeight - traceHeight) / 2;
    const double low = high + traceHeight;
    const auto y = [&](int value) { return n(value ? high : low); };
    const std::vector<Change>& changes = row.changes;
    // The trace, and the same outline closed along the low line: the shading of the lit times.
    QString trace = QStringLiteral("M%1 %2").arg(n(x(0)), y(changes.front().value ? 0 : 1));
    QString lit = trace;
    QString bands;
    for (const Run& run : runsOf(changes, boolGap)) {
        const Change& last = changes[run.last];
        if (run.first == run.last) {
            const QString edge = QStringLiteral("H%1V%2").arg(n(x(last.at)), y(last.value));
            trace += edge;
            lit += edge;
            continue;
        }
        const QString from = n(x(changes[run.first].at));
        const QString to = n(x(last.at));
        trace += QStringLiteral("H%1M%2 %3").arg(from, to, y(last.value));
        lit += QStringLiteral("H%1V%2H%3V%4").arg(from, n(low), to, y(last.value));
        bands += band(name, changes, run, high);
    }
    const QString end = QStringLiteral("H%1").arg(n(x(span)));
    out += QStringLiteral("<path class=\"lit\" d=\"%1%2V%3H%4Z\"/><path class=\"trace\" d=\"%5%2\"/>%6\n")
               .arg(lit, end, n(low), n(x(0)), trace, bands);
}

void Timeline::busSegment(const QString& name, double from, double to, int value, Micros since, Micros until,
                          double top)
{
    const double width = to - from;
    if (width < 0.5)
        return;
    const double bevel = std::min(busBevel, width / 2);
    const double middle = top + traceHeight / 2;
    const QString text = QString::number(value);
    out += QStringLiteral("<g><title>%1 = %2 from %3 to %4</title>"
                          "<path class=\"bus\" d=\"M%5 %6L%7 %8H%9L%10 %6L%9 %11H%7Z\"/>")
               .arg(name, text, secondsText(since), secondsText(until), n(from), n(middle), n(from + bevel),
                    n(top), n(to - bevel))
               .arg(n(to), n(top + traceHeight));
    if (width >= text.size() * busCharWidth + 2 * busBevel + 4)
        out += QStringLiteral("<text class=\"busvalue\" x=\"%1\" y=\"%2\">%3</text>")
                   .arg(n((from + to) / 2), n(middle + 4), text);
    out += QStringLiteral("</g>");
}

void Timeline::busTrace(const QString& name, const Row& row, double top)
{
    const double high = top + (rowHeight - traceHeight) / 2;
    const std::vector<Change>& changes = row.changes;
    // Whole numbers start at 0, as the state does.
    double from = x(0);
    int value = 0;
    Micros since = 0;
    for (const Run& run : runsOf(changes, busGap)) {
        const Change& first = changes[run.first];
        busSegment(name, from, x(first.at), value, since, first.at, high);
        if (run.first != run.last)
            out += band(name, changes, run, high);
        from = x(changes[run.last].at);
        value = changes[run.last].value;
        since = changes[run.last].at;
    }
    busSegment(name, from, x(span), value, since, span, high);
    out += QLatin1Char('\n');
}

void Timeline::axis(double top, double bottom)
{
    // About ten ticks, 1, 2 or 5 times a power of ten seconds apart.
    const double seconds = double(span) / 1e6;
    const double raw = seconds / 10.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= raw)
            break;
    }
    const int decimals = std::max(0, -int(std::floor(std::log10(step) + 1e-9)));
    out += QStringLiteral("<line class=\"axis\" x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\"/>\n")
               .arg(n(labelWidth), n(bottom), n(labelWidth + plotWidth));
    for (int tick = 0; tick * step <= seconds * (1 + 1e-9); ++tick) {
        const double at = labelWidth + plotWidth * (tick * step) / seconds;
        out += QStringLiteral("<line class=\"grid\" x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\"/>"
                              "<text class=\"tick\" x=\"%1\" y=\"%4\">%5 s</text>\n")
                   .arg(n(at), n(top), n(bottom + 5), n(bottom + 19),
                        QString::number(tick * step, 'f', decimals));
    }
    // Where the scenario ended, when something came after it.
    if (report.duration > 0 && x(span) - x(report.duration) >= 4) {
        const double end = x(report.duration);
        out += QStringLiteral("<line class=\"end\" x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\"/>"
                              "<text class=\"endtext\" x=\"%4\" y=\"%5\">end</text>\n")
                   .arg(n(end), n(top), n(bottom), n(end + 3), n(top + 10));
    }
}

std::vector<Mark> Timeline::marks() const
{
    std::vector<Mark> marks;
    for (std::size_t index = 0; index < report.results.size(); ++index) {
        if (report.results[index].at >= 0 && report.results[index].verdict != CheckResult::Verdict::NotRun)
            marks.push_back({index, x(report.results[index].at), 0});
    }
    std::stable_sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) { return a.x < b.x; });
    // Numbers that would overlap go a line higher; with every line taken, where there is most room.
    double lastOnLevel[markLevels];
    std::fill(std::begin(lastOnLevel), std::end(lastOnLevel), -1e9);
    for (Mark& mark : marks) {
        int level = 0;
        while (level < markLevels && mark.x - lastOnLevel[level] < markWidth + 2)
            ++level;
        if (level == markLevels)
            level = int(std::min_element(std::begin(lastOnLevel), std::end(lastOnLevel)) -
                        std::begin(lastOnLevel));
        mark.level = level;
        lastOnLevel[level] = mark.x;
    }
    return marks;
}

void Timeline::drawMark(const Mark& mark, double top, double bottom)
{
    const CheckResult& check = report.results[mark.check];
    const bool pass = check.verdict == CheckResult::Verdict::Pass;
    const QString number = QString::number(mark.check + 1);
    const double labelTop = top - (mark.level + 1) * markLevelHeight;
    out += QStringLiteral("<g class=\"mark %1\"><title>#%2 %3 %4: %5 (decided at %6)</title>"
                          "<line class=\"hit\" x1=\"%7\" y1=\"%8\" x2=\"%7\" y2=\"%9\"/>"
                          "<line x1=\"%7\" y1=\"%8\" x2=\"%7\" y2=\"%9\"/>")
               .arg(pass ? QStringLiteral("pass") : QStringLiteral("fail"), number,
                    pass ? QStringLiteral("✓") : QStringLiteral("✗"), htmlText(check.name),
                    htmlText(pass ? check.measured
                                  : check.measured + QStringLiteral(", expected ") + check.expected),
                    secondsText(check.at), n(mark.x), n(labelTop + 14), n(bottom));
    out +=
        QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"15\" rx=\"3\"/>"
                       "<text x=\"%4\" y=\"%5\">%6</text></g>\n")
            .arg(n(mark.x - markWidth / 2), n(labelTop), n(markWidth), n(mark.x), n(labelTop + 11.5), number);
}

QString Timeline::svg()
{
    std::vector<Row> rows;
    for (const Change& change : report.changes) {
        if (change.index < 0 || change.index >= StateValues::count)
            continue;
        auto row =
            std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.index == change.index; });
        if (row == rows.end())
            row = rows.insert(rows.end(), Row{change.index, {}, false, false});
        row->changes.push_back(change);
        (change.fromPeer ? row->byPeer : row->byChecker) = true;
    }
    const std::vector<Mark> checkMarks = marks();
    if (rows.empty() && checkMarks.empty())
        return {};
    // In the table's order: the cockpit first, then module by module.
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.index < b.index; });
    for (Row& row : rows)
        std::stable_sort(row.changes.begin(), row.changes.end(),
                         [](const Change& a, const Change& b) { return a.at < b.at; });

    int levels = 0;
    for (const Mark& mark : checkMarks)
        levels = std::max(levels, mark.level + 1);
    const double top = 6 + levels * markLevelHeight + 4;
    const double bottom = top + rows.size() * rowHeight;
    const double width = labelWidth + plotWidth + rightMargin;
    const double height = bottom + axisHeight;
    out +=
        QStringLiteral(
            "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"timeline\" viewBox=\"0 0 %1 %2\" "
            "width=\"%1\" height=\"%2\" role=\"img\" aria-label=\"Timeline of the values that changed\">\n")
            .arg(n(width), n(height));
    for (std::size_t index = 0; index < rows.size(); index += 2)
        out += QStringLiteral("<rect class=\"stripe\" x=\"0\" y=\"%1\" width=\"%2\" height=\"%3\"/>")
                   .arg(n(top + index * rowHeight), n(width), n(rowHeight));
    out += QLatin1Char('\n');
    axis(top, bottom);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const Row& row = rows[index];
        const double rowTop = top + index * rowHeight;
        const QString name = htmlText(QString::fromLatin1(StateValues::table[row.index].name));
        out += QStringLiteral("<g class=\"row %1\" data-value=\"%2\">\n").arg(sourceOf(row), name);
        label(row, rowTop);
        if (StateValues::table[row.index].kind == StateValues::Kind::Bool)
            truthTrace(name, row, rowTop);
        else
            busTrace(name, row, rowTop);
        out += QStringLiteral("</g>\n");
    }
    // Failures last, so that a pass decided at the same time does not hide them.
    for (const bool failures : {false, true}) {
        for (const Mark& mark : checkMarks) {
            if ((report.results[mark.check].verdict == CheckResult::Verdict::Fail) == failures)
                drawMark(mark, top, bottom);
        }
    }
    out += QStringLiteral("</svg>\n");
    return out;
}

} // namespace

QString htmlText(const QString& text)
{
    static const QRegularExpression colours(QStringLiteral("\x1b\\[[0-9;?]*[ -/]*[@-~]"));
    static const QRegularExpression controls(QStringLiteral("[\\x00-\\x08\\x0b\\x0c\\x0e-\\x1f\\x7f]"));
    QString plain = text;
    plain.remove(colours);
    plain.remove(controls);
    return plain.toHtmlEscaped();
}

QString secondsText(Micros micros)
{
    if (micros < 0)
        return QStringLiteral("–");
    return QStringLiteral("%1 s").arg(double(micros) / 1e6, 0, 'f', 3);
}

QString timelineSvg(const ScenarioReport& report)
{
    return Timeline(report).svg();
}

} // namespace Check::Reports
