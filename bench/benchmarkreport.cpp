#include "benchmarkreport.h"

#include <QDateTime>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, value >= 100 ? "%.0f" : "%.2f", value);
    return text;
}

// The processor's name as the kernel reports it.
std::string MachineName()
{
    QFile cpuInfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuInfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cpuInfo.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return line.mid(line.indexOf(':') + 1).trimmed().toStdString();
        }
    }
    return "an unknown processor";
}

std::string TargetText(const Target &target, const std::string &unit)
{
    char bound[32];
    std::snprintf(bound, sizeof bound, "%g", target.value);
    switch (target.kind) {
    case Target::AtMost:
        return "at most " + std::string(bound) + ' ' + unit;
    case Target::AtLeast:
        return "at least " + std::string(bound) + ' ' + unit;
    case Target::None:
        break;
    }
    return {};
}

// How busy the machine was when the run began: the processes waiting for a
// core, averaged over the last minute.
std::string LoadAverage()
{
    QFile loadAverage(QStringLiteral("/proc/loadavg"));
    if (!loadAverage.open(QIODevice::ReadOnly))
        return "unknown";
    return loadAverage.readAll().split(' ').value(0).toStdString();
}

} // namespace

double Runs::Median() const
{
    std::vector<double> sorted = m_values;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Runs::Lowest() const
{
    return *std::min_element(m_values.begin(), m_values.end());
}

double Runs::Highest() const
{
    return *std::max_element(m_values.begin(), m_values.end());
}

bool Target::IsMetBy(double measured) const
{
    switch (kind) {
    case AtMost:
        return measured <= value;
    case AtLeast:
        return measured >= value;
    case None:
        break;
    }
    return true;
}

BenchmarkReport::BenchmarkReport(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        m_markdown = m_markdown || std::strcmp(argv[i], "--markdown") == 0;
}

void BenchmarkReport::Heading(const std::string &title) const
{
    const std::string when = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    const std::string where =
        MachineName() + ", " + std::to_string(QThread::idealThreadCount()) + " cores, load average " + LoadAverage();
    if (m_markdown) {
        std::printf("%s, measured on %s on %s.\n\n", title.c_str(), when.c_str(), where.c_str());
        std::printf("| what | median | spread (runs) | target | |\n|---|---|---|---|---|\n");
    } else {
        std::printf("%s\nmeasured on %s on %s\n", title.c_str(), when.c_str(), where.c_str());
    }
}

void BenchmarkReport::Note(const std::string &text) const
{
    if (!m_markdown)
        std::printf("  %s\n", text.c_str());
}

void BenchmarkReport::Figure(const std::string &what, const Runs &runs, const std::string &unit, Target target)
{
    const double median = runs.Median();
    const bool met = target.IsMetBy(median);
    m_missed = m_missed || !met;
    const std::string value = Number(median) + ' ' + unit;
    const std::string spread =
        Number(runs.Lowest()) + "-" + Number(runs.Highest()) + " (" + std::to_string(runs.Count()) + ")";
    const std::string verdict = target.kind == Target::None ? "" : met ? "met" : "MISSED";
    if (m_markdown)
        std::printf("| %s | %s | %s | %s | %s |\n", what.c_str(), value.c_str(), spread.c_str(),
                    TargetText(target, unit).c_str(), verdict.c_str());
    else
        std::printf("%-48s %12s  %-20s %-22s %s\n", what.c_str(), value.c_str(), spread.c_str(),
                    TargetText(target, unit).c_str(), verdict.c_str());
}
