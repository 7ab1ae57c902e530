#pragma once

#include <string>
#include <vector>

// What the commands of an SCPI line do to the supply, in their order: each
// setpoint sent (APPLy sends two), each switch of the output, the rest.
class ScpiLineShape {
public:
    enum class Piece { Setpoint, On, Off, Other };

    static std::vector<Piece> of(const std::string& line);
    // The output switch last asked for before the setpoint with that number (from 0).
    static Piece switchBefore(const std::vector<Piece>& pieces, std::size_t setpoint);
    static bool asksOn(const std::string& line);

private:
    static void add(std::vector<Piece>& pieces, const std::string& command);
};
