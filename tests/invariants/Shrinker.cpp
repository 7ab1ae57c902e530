#include "Shrinker.h"

#include <algorithm>

Shrinker::Shrinker(Test test, std::chrono::seconds budget)
    : test_(std::move(test))
    , deadline_(std::chrono::steady_clock::now() + budget)
{
}

bool Shrinker::outOfTime() const
{
    return std::chrono::steady_clock::now() >= deadline_;
}

bool Shrinker::fails(const std::vector<Action>& actions)
{
    ++tries_;
    return test_(actions);
}

std::vector<std::vector<Action>> Shrinker::split(const std::vector<Action>& actions, std::size_t parts)
{
    std::vector<std::vector<Action>> chunks;
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts; ++i) {
        const std::size_t end = start + (actions.size() - start) / (parts - i);
        chunks.emplace_back(
            actions.begin() + static_cast<std::ptrdiff_t>(start), actions.begin() + static_cast<std::ptrdiff_t>(end));
        start = end;
    }
    return chunks;
}

std::vector<Action> Shrinker::without(const std::vector<std::vector<Action>>& chunks, std::size_t left)
{
    std::vector<Action> rest;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        if (i != left) {
            rest.insert(rest.end(), chunks[i].begin(), chunks[i].end());
        }
    }
    return rest;
}

// One round: a chunk that fails alone, else a complement that fails, else finer chunks.
bool Shrinker::reduce(std::vector<Action>& actions, std::size_t& parts)
{
    const auto chunks = split(actions, parts);
    for (const auto& chunk : chunks) {
        if (outOfTime()) {
            return false;
        }
        if (fails(chunk)) {
            actions = chunk;
            parts = 2;
            return true;
        }
    }
    for (std::size_t i = 0; parts > 2 && i < chunks.size(); ++i) {
        if (outOfTime()) {
            return false;
        }
        if (auto rest = without(chunks, i); fails(rest)) {
            actions = std::move(rest);
            parts = std::max<std::size_t>(parts - 1, 2);
            return true;
        }
    }
    if (parts >= actions.size()) {
        finished_ = true;
        return false;
    }
    parts = std::min(parts * 2, actions.size());
    return true;
}

// A failure mostly needs the last few actions before it: tails of growing
// length are short to try, and the first that fails is where chunks start.
std::vector<Action> Shrinker::shortestTail(std::vector<Action> failing)
{
    for (std::size_t length = 4; length < failing.size() && !outOfTime(); length *= 2) {
        std::vector<Action> tail(failing.end() - static_cast<std::ptrdiff_t>(length), failing.end());
        if (fails(tail)) {
            return tail;
        }
    }
    return failing;
}

std::vector<Action> Shrinker::shrink(std::vector<Action> failing)
{
    // Some failures need no action at all: the first reading shows them.
    if (!failing.empty() && fails({})) {
        finished_ = true;
        return {};
    }
    failing = shortestTail(std::move(failing));
    std::size_t parts = 2;
    while (failing.size() >= 2 && reduce(failing, parts)) { }
    finished_ = finished_ || failing.size() < 2;
    return failing;
}
