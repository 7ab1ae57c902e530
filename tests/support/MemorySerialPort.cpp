#include "MemorySerialPort.h"

std::vector<MemorySerialPort::Bytes> MemorySerialPort::Line::writesCopy()
{
    const std::lock_guard lock(mutex);
    return writes;
}

std::vector<std::string> MemorySerialPort::Line::opensCopy()
{
    const std::lock_guard lock(mutex);
    return opens;
}

MemorySerialPort::MemorySerialPort(std::shared_ptr<Line> line)
    : line_(std::move(line))
{
}

bool MemorySerialPort::open(const std::string& name)
{
    const std::lock_guard lock(line_->mutex);
    if (!line_->openable.empty() && line_->openable.count(name) == 0) {
        line_->failedOpens.push_back(name);
        return false;
    }
    line_->opens.push_back(name);
    line_->input.clear();
    line_->onTheWay.clear();
    return true;
}

void MemorySerialPort::close()
{
    const std::lock_guard lock(line_->mutex);
    ++line_->closes;
}

void MemorySerialPort::write(const std::uint8_t* data, std::size_t count)
{
    const Bytes bytes(data, data + count);
    std::function<void(const Bytes&)> afterWrite;
    {
        const std::lock_guard lock(line_->mutex);
        line_->writes.push_back(bytes);
        if (bytes == Bytes{100}) {
            Bytes answer;
            if (line_->answerer) {
                answer = line_->answerer();
            } else if (!line_->answers.empty()) {
                answer = line_->answers.front();
                line_->answers.pop_front();
            }
            line_->onTheWay.emplace_back(std::chrono::steady_clock::now() + line_->answerDelay, std::move(answer));
        }
        afterWrite = line_->afterWrite;
    }
    if (afterWrite) {
        afterWrite(bytes);
    }
}

void MemorySerialPort::receiveArrived()
{
    const auto now = std::chrono::steady_clock::now();
    while (!line_->onTheWay.empty() && line_->onTheWay.front().first <= now) {
        const Bytes& answer = line_->onTheWay.front().second;
        line_->input.insert(line_->input.end(), answer.begin(), answer.end());
        line_->onTheWay.pop_front();
    }
}

std::size_t MemorySerialPort::read(std::uint8_t* data, std::size_t count)
{
    const std::lock_guard lock(line_->mutex);
    receiveArrived();
    std::size_t got = 0;
    while (got < count && !line_->input.empty()) {
        data[got++] = line_->input.front();
        line_->input.pop_front();
    }
    return got;
}

std::size_t MemorySerialPort::waiting()
{
    const std::lock_guard lock(line_->mutex);
    receiveArrived();
    return line_->input.size();
}

void MemorySerialPort::discardInput()
{
    const std::lock_guard lock(line_->mutex);
    receiveArrived();
    line_->discarded += static_cast<int>(line_->input.size());
    line_->input.clear();
}

SerialPortFactory MemorySerialPort::factory(std::shared_ptr<Line> line)
{
    return [line] { return std::make_unique<MemorySerialPort>(line); };
}
