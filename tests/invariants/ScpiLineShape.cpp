#include "ScpiLineShape.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

bool startsWith(const std::string& text, const char* head)
{
    return text.rfind(head, 0) == 0;
}

} // namespace

std::vector<ScpiLineShape::Piece> ScpiLineShape::of(const std::string& line)
{
    std::vector<Piece> pieces;
    std::istringstream commands(line);
    for (std::string command; std::getline(commands, command, ';');) {
        std::string upper;
        for (const char c : command) {
            upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        }
        upper.erase(0, upper.find_first_not_of(" :"));
        add(pieces, upper);
    }
    return pieces;
}

void ScpiLineShape::add(std::vector<Piece>& pieces, const std::string& command)
{
    if (startsWith(command, "VOLT ") || startsWith(command, "CURR ")) {
        pieces.push_back(Piece::Setpoint);
    } else if (startsWith(command, "APPL ")) {
        pieces.push_back(Piece::Setpoint);
        if (command.find(',') != std::string::npos) {
            pieces.push_back(Piece::Setpoint);
        }
    } else if (command == "OUTP ON" || command == "OUTP 1") {
        pieces.push_back(Piece::On);
    } else if (command == "OUTP OFF" || command == "OUTP 0" || command == "*RST") {
        pieces.push_back(Piece::Off);
    } else {
        pieces.push_back(Piece::Other);
    }
}

ScpiLineShape::Piece ScpiLineShape::switchBefore(const std::vector<Piece>& pieces, std::size_t setpoint)
{
    Piece last = Piece::Other;
    std::size_t seen = 0;
    for (const Piece piece : pieces) {
        if (piece == Piece::Setpoint && seen++ == setpoint) {
            return last;
        }
        if (piece == Piece::On || piece == Piece::Off) {
            last = piece;
        }
    }
    return Piece::Other;
}

bool ScpiLineShape::asksOn(const std::string& line)
{
    const std::vector<Piece> pieces = of(line);
    return std::find(pieces.begin(), pieces.end(), Piece::On) != pieces.end();
}
