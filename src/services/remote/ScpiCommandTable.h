#pragma once

#include "remote/RemoteInstrument.h"
#include "remote/ScpiPattern.h"
#include "remote/ScpiSession.h"

#include <string>
#include <vector>

// Every command the remote server knows: its pattern, long and short forms
// and optional nodes, and the session's handler that runs it. The program
// and protection commands come after the rest.
class ScpiCommandTable {
public:
    // The handler of the first command the mnemonics match; none when no
    // command has them.
    static ScpiSession::Handler lookUp(const std::vector<std::string>& mnemonics, bool query);

private:
    struct Entry {
        ScpiPattern pattern;
        ScpiSession::Handler handler;
    };

    static const std::vector<Entry>& entries();
    static std::vector<Entry> joined(std::vector<Entry> entries);
    static std::vector<Entry> programEntries();
    // VOLTage, CURRent and POWer share their PROTection commands.
    template <RemoteInstrument::Guard guard>
    static void addProtection(std::vector<Entry>& entries, const std::string& quantity);
};
