// The console report of a benchmark run that also keeps the rate of two benchmarks (ours and the
// peer's, told apart by a part of their names) for the ratio the program prints at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace bench {

class CRatioReporter : public benchmark::ConsoleReporter {
public:
    // `counter`: "items_per_second" or "bytes_per_second".
    CRatioReporter(std::string counter, std::string ours, std::string peer)
        : m_counter(std::move(counter)), m_ours(std::move(ours)), m_peer(std::move(peer))
    {
    }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            const double rate = r.counters.count(m_counter) ? double(r.counters.at(m_counter)) : 0;
            if (r.benchmark_name().find(m_ours) != std::string::npos)
                ours = rate;
            else if (r.benchmark_name().find(m_peer) != std::string::npos)
                peer = rate;
        }
    }

    double ours = 0, peer = 0;

private:
    std::string m_counter, m_ours, m_peer;
};

} // namespace bench
