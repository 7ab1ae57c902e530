#include "RunOptions.h"
#include "SeedSession.h"

#include <QCoreApplication>

#include <iostream>

// The seeded random invariant run: see docs/invariant-run.md.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const RunOptions options = RunOptions::read(argc, argv);
    SeedSession session(options, std::cout);
    bool passed = true;
    if (options.actionsFile) {
        passed = session.runList(*options.actionsFile);
    } else {
        for (const std::uint64_t seed : options.seeds) {
            passed = session.runSeed(seed) && passed;
        }
    }
    std::cout << "invariant run: " << session.actions() << " actions in " << session.seconds() << " s ("
              << (session.seconds() > 0 ? static_cast<double>(session.actions()) / session.seconds() : 0.0)
              << " actions/s): " << (passed ? "PASSED" : "FAILED") << std::endl;
    return passed ? 0 : 1;
}
