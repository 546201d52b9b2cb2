#pragma once

#include <string>
#include <vector>

// The values one figure took over several runs.
class Runs
{
public:
    void Add(double value) { m_values.push_back(value); }
    double Median() const;
    double Lowest() const;
    double Highest() const;
    int Count() const { return int(m_values.size()); }
    const std::vector<double> &Values() const { return m_values; }

private:
    std::vector<double> m_values;
};

// The bound a figure must keep; a figure without one is shown for reference.
struct Target
{
    enum Kind {
        None,
        AtMost,
        AtLeast,
    };
    Kind kind = None;
    double value = 0;

    bool IsMetBy(double measured) const;
};

// Prints figures with the median and the spread of their runs, each beside
// its target and whether the median meets it. As a Markdown table the output
// goes straight into the README.
class BenchmarkReport
{
public:
    BenchmarkReport(int argc, char *argv[]);

    // The title, then when and on what machine the run took place.
    void Heading(const std::string &title) const;
    // How the figures below were measured.
    void Note(const std::string &text) const;
    void Figure(const std::string &what, const Runs &runs, const std::string &unit, Target target = {});
    // Zero when every target was met.
    int ExitCode() const { return m_missed ? 1 : 0; }

private:
    bool m_markdown = false;
    bool m_missed = false;
};
