#include "bench/Bench.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace Bench {
namespace {
std::vector<Figure>& figures() {
    static std::vector<Figure> all;
    return all;
}
} // namespace

bool add(Figure figure) {
    figures().push_back(std::move(figure));
    return true;
}

} // namespace Bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = std::max(1, std::atoi(qgetenv("PELORA_BENCH_RUNS").isEmpty()
                                               ? "5"
                                               : qgetenv("PELORA_BENCH_RUNS").constData()));
    std::printf("%-10s  %-60s  %14s  %s\n", "group", "figure", "median", "unit");
    // PELORA_BENCH_GROUP=desktop, say: that group's figures only.
    const QByteArray group = qgetenv("PELORA_BENCH_GROUP");
    for (const Bench::Figure& figure : Bench::figures()) {
        if (!group.isEmpty() && figure.group != group.toStdString())
            continue;
        std::vector<double> samples;
        for (int i = 0; i < runs; ++i)
            samples.push_back(figure.sample());
        std::sort(samples.begin(), samples.end());
        std::printf("%-10s  %-60s  %14.3f  %s\n", figure.group.c_str(), figure.label.c_str(),
                    samples[samples.size() / 2], figure.unit.c_str());
        std::fflush(stdout);
    }
    return 0;
}
