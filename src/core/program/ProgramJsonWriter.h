#pragma once

#include "program/Program.h"

#include <QByteArray>

// A program as its JSON document: the keys a step leaves out are those it
// keeps as they were, and each step of the list is on a line of its own.
class ProgramJsonWriter {
public:
    static QByteArray write(const Program& program);
};
