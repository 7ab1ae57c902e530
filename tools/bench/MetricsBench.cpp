// The metrics of eight supplies: a scrape of /metrics on localhost (the
// server on its own thread, the client a plain blocking socket), the
// exposition built from the snapshots, and a snapshot's refresh on the
// controllers' thread.
#include "metrics/MetricsExposition.h"
#include "metrics/MetricsServer.h"
#include "station/Bench.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kSupplies = 8;

std::vector<SupplySnapshot> busySnapshots()
{
    std::vector<SupplySnapshot> snapshots(kSupplies);
    for (std::size_t i = 0; i < kSupplies; ++i) {
        SupplySnapshot& s = snapshots[i];
        s.port = "/dev/ttyUSB" + std::to_string(i);
        s.state.identified = true;
        s.state.model = "Tolvik";
        s.state.linkUp = true;
        s.state.reading = Measurement{12.345 + static_cast<double>(i), 1.234, true, true, {}};
        s.state.outputOn = true;
        s.state.voltageSetpoint = 12.6;
        s.state.currentSetpoint = 3.15;
        s.polls = 123456;
        s.coulombs = 4567.891;
        s.joules = 56789.012;
        s.state.program = ProgramEngine::State::Running;
        s.state.programStep = 4;
    }
    return snapshots;
}

std::vector<SupplyMetrics::Parts> partsOf(Bench& bench)
{
    std::vector<SupplyMetrics::Parts> parts;
    for (std::size_t i = 0; i < bench.size(); ++i) {
        SupplyStation& station = bench.station(i);
        parts.push_back({station.outlook(), station.readings(), [&station] { return station.portName(); }});
    }
    return parts;
}

class HttpClient {
public:
    explicit HttpClient(quint16 port)
        : socket_(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int on = 1;
        ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        connected_ = ::connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;
    ~HttpClient() { ::close(socket_); }

    // The body of one GET on the kept-alive connection; empty when it fails.
    std::string get() const
    {
        const std::string request = "GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        if (!connected_ || ::send(socket_, request.data(), request.size(), MSG_NOSIGNAL) < 0) {
            return {};
        }
        std::string answer;
        std::size_t end = std::string::npos;
        std::size_t length = 0;
        std::array<char, 65536> chunk{};
        while (end == std::string::npos || answer.size() < end + length) {
            const ssize_t got = ::recv(socket_, chunk.data(), chunk.size(), 0);
            if (got <= 0) {
                return {};
            }
            answer.append(chunk.data(), static_cast<std::size_t>(got));
            if (end == std::string::npos && (end = answer.find("\r\n\r\n")) != std::string::npos) {
                end += 4;
                const std::size_t field = answer.find("Content-Length: ");
                length = field < end ? std::stoul(answer.substr(field + 16)) : 0;
            }
        }
        return answer.substr(end);
    }

private:
    int socket_;
    bool connected_ = false;
};

void Scrape(benchmark::State& state)
{
    Bench bench(std::vector<std::string>(kSupplies, "Auto"));
    MetricsServer server(partsOf(bench));
    if (!server.listen(ListenAddress(QHostAddress(QHostAddress::LocalHost), 0)).isEmpty()) {
        state.SkipWithError("cannot listen");
        return;
    }
    const std::vector<SupplySnapshot> snapshots = busySnapshots();
    for (std::size_t i = 0; i < kSupplies; ++i) {
        server.board().store(i, snapshots[i]);
    }
    const HttpClient client(server.port());
    std::vector<double> latencies;
    std::size_t bytes = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        const auto sent = std::chrono::steady_clock::now();
        bytes = client.get().size();
        latencies.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count());
        state.SetIterationTime(latencies.back());
        if (bytes == 0) {
            state.SkipWithError("no answer");
            break;
        }
    }
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        state.counters["median_ms"] = 1000 * latencies[latencies.size() / 2];
        state.counters["max_ms"] = 1000 * latencies.back();
        state.counters["bytes"] = static_cast<double>(bytes);
    }
}

void BuildExposition(benchmark::State& state)
{
    const std::vector<SupplySnapshot> snapshots = busySnapshots();
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        benchmark::DoNotOptimize(MetricsExposition::format(snapshots, 1, TENDREL_VERSION));
    }
}

// What each of the controller's signals costs its thread: the snapshot read and stored.
void RefreshSnapshot(benchmark::State& state)
{
    Bench bench(std::vector<std::string>(1, "Auto"));
    MetricsBoard board(1);
    SupplyMetrics metrics(partsOf(bench).front(), board, 0);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        metrics.refresh();
    }
}

} // namespace

BENCHMARK(Scrape)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BuildExposition)->Unit(benchmark::kMicrosecond);
BENCHMARK(RefreshSnapshot)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
