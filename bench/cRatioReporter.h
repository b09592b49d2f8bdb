#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// The usual console report, then a table that sets each benchmark beside the one it is
// measured against in the same run: a reference it must beat, or a floor it cannot go
// below. Measured together, the ratio holds on a busy machine even when the times do not.
class cRatioReporter : public benchmark::ConsoleReporter {
public:
    // subject should be at least goal times faster than reference; goal 0: no goal yet.
    void AgainstReference(const std::string& subject, const std::string& reference, double goal);
    // subject costs this many floors, which shows how much room is left above the floor;
    // it should cost at most most_floors of them (0: no goal yet).
    void AgainstFloor(const std::string& subject, const std::string& floor, double most_floors = 0);
    // A line printed above the table, such as the machine it was measured on.
    void Heading(const std::string& line) { headings.push_back(line); }

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // False when a goal was missed; comparisons left out by a filter count as met.
    bool GoalsMet() const { return goals_met; }

private:
    struct Comparison {
        std::string subject, other;
        bool floor;
        double goal;
    };
    std::vector<std::string> headings;
    std::vector<Comparison> comparisons;
    std::map<std::string, double> seconds;   // per iteration, by benchmark name
    std::map<std::string, bool> from_median; // a median of repetitions beats any one run
    bool goals_met = true;
};
