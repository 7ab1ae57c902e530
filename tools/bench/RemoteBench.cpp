// Round trips of remote-control commands on localhost, the server on its own
// thread against a supply in memory, the client a plain blocking socket.
#include "FakeInstrument.h"
#include "remote/ScpiLineReader.h"
#include "remote/ScpiServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <benchmark/benchmark.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace {

// The server and its instrument on a thread of their own.
class ServerThread {
public:
    ServerThread()
        : thread_(QThread::create([this] { serve(); }))
    {
        thread_->start();
        port_ = listening_.get_future().get();
    }
    ServerThread(const ServerThread&) = delete;
    ServerThread& operator=(const ServerThread&) = delete;
    ~ServerThread()
    {
        thread_->quit();
        thread_->wait();
    }

    quint16 port() const { return port_; }

private:
    void serve()
    {
        FakeInstrument supply;
        ScpiServer server(supply, TENDREL_VERSION);
        const bool listening = server.listen(ListenAddress(QHostAddress(QHostAddress::LocalHost), 0));
        listening_.set_value(listening ? server.serverPort() : 0);
        QEventLoop loop;
        loop.exec();
    }

    std::promise<quint16> listening_;
    std::unique_ptr<QThread> thread_;
    quint16 port_ = 0;
};

class BlockingClient {
public:
    explicit BlockingClient(quint16 port)
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
    BlockingClient(const BlockingClient&) = delete;
    BlockingClient& operator=(const BlockingClient&) = delete;
    ~BlockingClient() { ::close(socket_); }

    // The answer without its newline; empty when the server is gone.
    std::string ask(const std::string& line) const
    {
        const std::string request = line + "\n";
        if (!connected_ || ::send(socket_, request.data(), request.size(), MSG_NOSIGNAL) < 0) {
            return {};
        }
        std::string answer;
        char c = 0;
        while (::recv(socket_, &c, 1, 0) == 1 && c != '\n') {
            answer.push_back(c);
        }
        return answer;
    }

private:
    int socket_;
    bool connected_ = false;
};

void roundTrips(benchmark::State& state, const std::string& line, const std::string& expected)
{
    ServerThread server;
    BlockingClient client(server.port());
    std::vector<double> latencies;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        const auto sent = std::chrono::steady_clock::now();
        const std::string answer = client.ask(line);
        latencies.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count());
        state.SetIterationTime(latencies.back());
        if (answer != expected) {
            state.SkipWithError("wrong answer");
            break;
        }
    }
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        state.counters["median_ms"] = 1000 * latencies[latencies.size() / 2];
        state.counters["max_ms"] = 1000 * latencies.back();
    }
}

void MeasureQueryRoundTrip(benchmark::State& state)
{
    roundTrips(state, "MEAS:VOLT?", "12.000");
}

// The answer comes after the setpoint has been handed to the instrument.
void SetpointRoundTrip(benchmark::State& state)
{
    roundTrips(state, "VOLT 5;*OPC?", "1");
}

// Cutting a client's bytes into lines, side by side: short commands, and a
// program file sent as one block.
void CutShortLines(benchmark::State& state)
{
    std::string bytes;
    while (bytes.size() < 1 << 20) {
        bytes += "SOUR1:VOLT 5.25;:MEAS:VOLT?\n";
    }
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        ScpiLineReader reader(ScpiServer::kMaxLineLength, ScpiServer::kMaxBlockLength);
        benchmark::DoNotOptimize(reader.feed(bytes));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void CutOneBlock(benchmark::State& state)
{
    const std::string data((1 << 20) - 100, '\n');
    const std::string bytes = "PROG:LOAD #7" + std::to_string(data.size()) + data + "\n";
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        ScpiLineReader reader(ScpiServer::kMaxLineLength, ScpiServer::kMaxBlockLength);
        benchmark::DoNotOptimize(reader.feed(bytes));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

} // namespace

BENCHMARK(CutShortLines)->Unit(benchmark::kMillisecond);
BENCHMARK(CutOneBlock)->Unit(benchmark::kMillisecond);
BENCHMARK(MeasureQueryRoundTrip)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(SetpointRoundTrip)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
