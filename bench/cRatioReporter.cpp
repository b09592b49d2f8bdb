#include "cRatioReporter.h"

#include <cstdio>
#include <ostream>

void cRatioReporter::AgainstReference(const std::string& subject, const std::string& reference,
                                      double goal)
{
    comparisons.push_back({subject, reference, false, goal});
}

void cRatioReporter::AgainstFloor(const std::string& subject, const std::string& floor,
                                  double most_floors)
{
    comparisons.push_back({subject, floor, true, most_floors});
}

void cRatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred)
            continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median)
            continue;
        const std::string name = run.run_name.str();
        if (from_median[name] && !median)
            continue;
        seconds[name] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        from_median[name] = median;
    }
}

namespace {
std::string Readable(double seconds)
{
    char text[32];
    if (seconds >= 1e-3)
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    return text;
}
} // namespace

void cRatioReporter::Finalize()
{
    std::ostream& out = GetOutputStream();
    out << "\n";
    for (const std::string& heading : headings)
        out << heading << "\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-26s %10s   %-28s %10s %14s  %s\n", "benchmark", "time",
                  "against", "its time", "ratio", "goal");
    out << line;
    for (const Comparison& c : comparisons) {
        if (!seconds.count(c.subject) || !seconds.count(c.other))
            continue;
        const double subject = seconds[c.subject], other = seconds[c.other];
        char ratio[32], goal[48] = "";
        if (c.floor) {
            const double floors = subject / other;
            std::snprintf(ratio, sizeof ratio, "%.2f floors", floors);
            if (c.goal > 0) {
                const bool met = floors <= c.goal;
                goals_met = goals_met && met;
                std::snprintf(goal, sizeof goal, "<= %g floors: %s", c.goal,
                              met ? "met" : "MISSED");
            }
        } else {
            const double speedup = other / subject;
            std::snprintf(ratio, sizeof ratio, "%.1fx faster", speedup);
            if (c.goal > 0) {
                const bool met = speedup >= c.goal;
                goals_met = goals_met && met;
                std::snprintf(goal, sizeof goal, ">= %gx: %s", c.goal, met ? "met" : "MISSED");
            }
        }
        std::snprintf(line, sizeof line, "%-26s %10s   %-28s %10s %14s  %s\n", c.subject.c_str(),
                      Readable(subject).c_str(), c.other.c_str(), Readable(other).c_str(), ratio,
                      goal);
        out << line;
    }
    out.flush();
}
